#include "common/collection.h"

#include "common/runtime_error.h"
#include "common/text.h"

namespace common {

void Collection::Add(Variant item, const std::wstring& key) {
  if (!by_key_.emplace(TextUpper(key), items_.size()).second) {
    throw RuntimeError(kErrKeyAlreadyPresent);
  }
  items_.push_back(std::move(item));
}

void Collection::Add(Variant item) { items_.push_back(std::move(item)); }

const Variant& Collection::Item(std::int32_t index) const {
  if (index < 1 || index > Count()) throw RuntimeError(kErrSubscriptOutOfRange);
  return items_[static_cast<std::size_t>(index - 1)];
}

const Variant& Collection::Item(const std::wstring& key) const {
  auto it = by_key_.find(TextUpper(key));
  if (it == by_key_.end()) throw RuntimeError(kErrInvalidCall);
  return items_[it->second];
}

bool Collection::Contains(const std::wstring& key) const { return by_key_.count(TextUpper(key)) != 0; }

}  // namespace common
