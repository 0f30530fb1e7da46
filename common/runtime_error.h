#pragma once
// The runtime error that conversions, overflows, collections and automation calls raise:
// a number and a description, as the user sees them in the unexpected-error report.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace common {

enum ErrorNumber : std::int32_t {
  kErrOverflow = 6,
  kErrTypeMismatch = 13,
  kErrKeyAlreadyPresent = 457,
};

class RuntimeError : public std::exception {
 public:
  RuntimeError(std::int32_t number, std::wstring description);

  std::int32_t number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  // Narrow rendering for std::exception users (diagnostics only; non-ASCII becomes '?').
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  std::wstring description_;
  std::string what_;
};

RuntimeError OverflowError();
RuntimeError TypeMismatchError();

}  // namespace common
