#pragma once
// Checked 16- and 32-bit signed integers. The import run counts lines, fields and items, and the
// registry class counts bytes, positions and listing indexes, in these widths: stepping past the
// largest value (or below the smallest) raises the runtime error "Overflow" instead of wrapping.
#include <cstdint>
#include <limits>

#include "common/runtime_error.h"

namespace common {

template <typename T>
class CheckedInt {
 public:
  constexpr CheckedInt() = default;
  constexpr CheckedInt(T value) : value_(value) {}  // NOLINT(google-explicit-constructor)

  // Narrows a wider value; raises Overflow when it does not fit.
  static CheckedInt From(std::int64_t value) {
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
      throw RuntimeError(kErrOverflow);
    return CheckedInt(static_cast<T>(value));
  }

  constexpr T value() const { return value_; }
  constexpr operator T() const { return value_; }  // NOLINT(google-explicit-constructor)

  CheckedInt& operator++() { return *this += 1; }
  CheckedInt& operator+=(std::int64_t step) {
    *this = From(static_cast<std::int64_t>(value_) + step);
    return *this;
  }

 private:
  T value_ = 0;
};

using Int16 = CheckedInt<std::int16_t>;
using Int32 = CheckedInt<std::int32_t>;

}  // namespace common
