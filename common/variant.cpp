#include "common/variant.h"

#include <cfenv>
#include <cmath>
#include <cstdio>

#include "common/locale_number.h"
#include "common/runtime_error.h"

namespace common {

std::wstring DoubleToText(double number) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", number);
  return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

std::wstring ToText(const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::kEmpty:
      return std::wstring();
    case Variant::Kind::kText:
      return value.text();
    case Variant::Kind::kInt32:
      return std::to_wstring(value.int32());
    case Variant::Kind::kDouble:
      return DoubleToText(value.dbl());
    case Variant::Kind::kBoolean:
      return value.boolean() ? L"True" : L"False";
    case Variant::Kind::kOmitted:
    case Variant::Kind::kByteArray:
    case Variant::Kind::kArray:
      break;
  }
  throw RuntimeError(kErrTypeMismatch);
}

double ToDouble(const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::kEmpty:
      return 0.0;
    case Variant::Kind::kInt32:
      return value.int32();
    case Variant::Kind::kDouble:
      return value.dbl();
    case Variant::Kind::kBoolean:
      return value.boolean() ? -1.0 : 0.0;
    case Variant::Kind::kText:
      if (auto number = TextToDouble(value.text())) return *number;
      break;
    case Variant::Kind::kOmitted:
    case Variant::Kind::kByteArray:
    case Variant::Kind::kArray:
      break;
  }
  throw RuntimeError(kErrTypeMismatch);
}

std::int32_t ToInt32(const Variant& value) {
  if (value.kind() == Variant::Kind::kInt32) return value.int32();
  const double number = ToDouble(value);
  // Half to even, whatever rounding mode the caller left behind.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(number);
  std::fesetround(saved);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw RuntimeError(kErrOverflow);  // NaN too
  return static_cast<std::int32_t>(rounded);
}

const ByteArray& ToByteArray(const Variant& value) {
  if (value.kind() != Variant::Kind::kByteArray) throw RuntimeError(kErrTypeMismatch);
  return value.bytes();
}

}  // namespace common
