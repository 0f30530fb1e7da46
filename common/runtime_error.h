#pragma once
// The runtime error that conversions, overflows, collections and automation calls raise:
// a number and a description, as the user sees them in the unexpected-error report.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace common {

// A runtime error that this code raises itself: its number and its standard description.
struct ErrorCode {
  std::int32_t number;
  const wchar_t* description;
};

// Every one of them, in one place.
inline constexpr ErrorCode kErrInvalidCall{5, L"Invalid procedure call or argument"};
inline constexpr ErrorCode kErrOverflow{6, L"Overflow"};
inline constexpr ErrorCode kErrOutOfMemory{7, L"Out of memory"};
inline constexpr ErrorCode kErrSubscriptOutOfRange{9, L"Subscript out of range"};
inline constexpr ErrorCode kErrTypeMismatch{13, L"Type mismatch"};
inline constexpr ErrorCode kErrInternal{51, L"Internal error"};
inline constexpr ErrorCode kErrObjectNotSet{91, L"Object variable or With block variable not set"};
inline constexpr ErrorCode kErrInvalidUseOfNull{94, L"Invalid use of Null"};
inline constexpr ErrorCode kErrObjectRequired{424, L"Object required"};
inline constexpr ErrorCode kErrAutomation{440, L"Automation error"};
inline constexpr ErrorCode kErrNoSuchMember{438, L"Object doesn't support this property or method"};
inline constexpr ErrorCode kErrKeyAlreadyPresent{457,
                                                 L"This key is already associated with an element of this collection"};
inline constexpr ErrorCode kErrApplicationDefined{1004, L"Application-defined or object-defined error"};

class RuntimeError : public std::exception {
 public:
  RuntimeError(std::int32_t number, std::wstring description);
  explicit RuntimeError(const ErrorCode& code) : RuntimeError(code.number, code.description) {}

  std::int32_t number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  // Narrow rendering for std::exception users (diagnostics only; non-ASCII becomes '?').
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  std::wstring description_;
  std::string what_;
};

}  // namespace common
