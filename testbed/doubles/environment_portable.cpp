#include <cstdlib>

#include "testbed/doubles/registry_emulation.h"

namespace registry {

std::optional<std::string> ProcessEnvironmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

}  // namespace registry
