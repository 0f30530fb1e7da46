#include "common/runtime_error.h"

namespace common {

RuntimeError::RuntimeError(std::int32_t number, std::wstring description)
    : number_(number), description_(std::move(description)) {
  what_ = "Error " + std::to_string(number_) + ": ";
  for (wchar_t c : description_) what_.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
}

}  // namespace common
