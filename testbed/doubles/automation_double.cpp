#include "testbed/doubles/automation_double.h"

#include <utility>

namespace modMain::testing {

ObjectId AutomationDouble::NewObject(std::wstring kind) {
  live_.emplace(next_id_, std::move(kind));
  return next_id_++;
}

const std::wstring* AutomationDouble::KindOf(ObjectId object) const {
  const auto it = live_.find(object);
  return it == live_.end() ? nullptr : &it->second;
}

std::optional<std::wstring> AutomationDouble::TakeBack(ObjectId object) noexcept {
  const auto it = live_.find(object);
  if (it == live_.end()) {
    ++bad_releases;
    return std::nullopt;
  }
  std::optional<std::wstring> kind(std::move(it->second));
  live_.erase(it);
  return kind;
}

}  // namespace modMain::testing
