#pragma once
// An ordered collection of variant values, owned by whoever receives it. Items keep the order in
// which they were added; an item may carry a text key, compared without regard to letter case, by
// which it can also be found. The empty text is a key like any other.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/variant.h"

namespace common {

class Collection {
 public:
  // Adds `item` under `key`. Raises RuntimeError 457 when an item with that key (in any letter
  // case) is present already; the collection is then unchanged.
  void Add(Variant item, const std::wstring& key);
  void Add(Variant item);

  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  // The item at `index`, counting from 1; raises RuntimeError 9 "Subscript out of range" outside.
  const Variant& Item(std::int32_t index) const;
  // The item under `key`; raises RuntimeError 5 "Invalid procedure call or argument" when none is.
  const Variant& Item(const std::wstring& key) const;
  bool Contains(const std::wstring& key) const;

  std::vector<Variant>::const_iterator begin() const { return items_.begin(); }
  std::vector<Variant>::const_iterator end() const { return items_.end(); }

 private:
  std::vector<Variant> items_;
  std::map<std::wstring, std::size_t> by_key_;  // upper-cased key -> position
};

}  // namespace common
