#pragma once
// A checked 16-bit signed integer. The import run counts lines, fields and items, and the
// registry class counts bytes and positions, in 16 bits: stepping past 32,767 (or below
// -32,768) raises the runtime error "Overflow" instead of wrapping.
#include <cstdint>
#include <limits>

#include "common/runtime_error.h"

namespace common {

class Int16 {
 public:
  constexpr Int16() = default;
  constexpr Int16(std::int16_t value) : value_(value) {}  // NOLINT(google-explicit-constructor)

  // Narrows a wider value; raises Overflow when it does not fit.
  static Int16 From(std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
      throw OverflowError();
    }
    return Int16(static_cast<std::int16_t>(value));
  }

  constexpr std::int16_t value() const { return value_; }
  constexpr operator std::int16_t() const { return value_; }  // NOLINT(google-explicit-constructor)

  Int16& operator++() { return *this += 1; }
  Int16& operator+=(std::int64_t step) {
    *this = From(static_cast<std::int64_t>(value_) + step);
    return *this;
  }

 private:
  std::int16_t value_ = 0;
};

}  // namespace common
