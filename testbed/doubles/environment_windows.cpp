#include "testbed/doubles/registry_emulation.h"

#include <windows.h>

namespace registry {

std::optional<std::string> ProcessEnvironmentVariable(const std::string& name) {
  // The Win32 environment block, not the C runtime's copy: names compare without regard to case.
  std::string value(256, '\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const ::DWORD got = GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<::DWORD>(value.size()));
    if (got == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (got < value.size()) {
      value.resize(got);
      return value;
    }
    value.resize(got);  // got counts the terminator when the buffer was too small
  }
}

}  // namespace registry
