#pragma once
// The variant value that the registry class returns and the import run passes to the quoting
// application: empty, text, 32-bit integer, double, Boolean, byte array (with its lower bound),
// array of variants, or the mark of an omitted optional argument.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace common {

struct EmptyValue {
  bool operator==(const EmptyValue&) const = default;
};

// The omitted-argument mark: distinct from every value, the empty text and empty included.
struct OmittedValue {
  bool operator==(const OmittedValue&) const = default;
};

struct ByteArray {
  std::int32_t lower_bound = 0;
  std::vector<std::uint8_t> bytes;

  bool operator==(const ByteArray&) const = default;
};

class Variant;
using VariantArray = std::vector<Variant>;  // indexed from 0

class Variant {
 public:
  enum class Kind { kEmpty, kOmitted, kText, kInt32, kDouble, kBoolean, kByteArray, kArray };

  Variant() = default;
  Variant(std::wstring text) : value_(std::move(text)) {}          // NOLINT(google-explicit-constructor)
  Variant(std::wstring_view text) : value_(std::wstring(text)) {}  // NOLINT(google-explicit-constructor)
  Variant(const wchar_t* text) : value_(std::wstring(text)) {}     // NOLINT(google-explicit-constructor)
  Variant(std::int32_t number) : value_(number) {}                 // NOLINT(google-explicit-constructor)
  Variant(double number) : value_(number) {}                       // NOLINT(google-explicit-constructor)
  Variant(bool flag) : value_(flag) {}                             // NOLINT(google-explicit-constructor)
  Variant(ByteArray bytes) : value_(std::move(bytes)) {}           // NOLINT(google-explicit-constructor)
  Variant(VariantArray items) : value_(std::move(items)) {}        // NOLINT(google-explicit-constructor)
  Variant(const char*) = delete;  // text is wide; narrow text must go through the ANSI conversion

  static Variant Omitted() {
    Variant v;
    v.value_ = OmittedValue{};
    return v;
  }

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const { return kind() == Kind::kEmpty; }
  bool IsOmitted() const { return kind() == Kind::kOmitted; }

  // Typed access; each throws std::bad_variant_access when the kind differs.
  const std::wstring& text() const { return std::get<std::wstring>(value_); }
  std::int32_t int32() const { return std::get<std::int32_t>(value_); }
  double dbl() const { return std::get<double>(value_); }
  bool boolean() const { return std::get<bool>(value_); }
  const ByteArray& bytes() const { return std::get<ByteArray>(value_); }
  const VariantArray& items() const { return std::get<VariantArray>(value_); }

  bool operator==(const Variant&) const = default;

 private:
  std::variant<EmptyValue, OmittedValue, std::wstring, std::int32_t, double, bool, ByteArray, VariantArray> value_;
};

// The ordinary conversions of a variant value. They raise RuntimeError: "Type mismatch" (13)
// for a value that has no such form, "Overflow" (6) for a number outside the target's range.

// Text form: text as is, numbers in decimal (doubles with up to 15 significant digits),
// Booleans "True"/"False", empty as the empty text.
std::wstring ToText(const Variant& value);
// 32-bit form: doubles rounded half to even, text that reads as a number, True = -1, empty = 0.
std::int32_t ToInt32(const Variant& value);
// Double form: numbers as they are, text that reads as a number, True = -1, empty = 0.
double ToDouble(const Variant& value);
// Byte array form: only a byte array has one.
const ByteArray& ToByteArray(const Variant& value);

// Decimal text of a double as the conversions above write it ("12.5", "1E+20").
std::wstring DoubleToText(double number);

}  // namespace common
