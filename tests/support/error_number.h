#pragma once
// Runs `call` and returns the number of the runtime error it raised, or 0 when it raised none.
#include <cstdint>

#include "common/runtime_error.h"

namespace testing_support {

template <typename Call>
std::int32_t ErrorNumberOf(Call&& call) {
  try {
    call();
  } catch (const common::RuntimeError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace testing_support
