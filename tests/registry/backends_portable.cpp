#include <unistd.h>

#include <cstdlib>

#include "tests/registry/backends.h"

namespace registry::testing {

std::vector<BackendFactory> AllBackends() { return {{"Emulation", &MakeEmulationBackend}}; }

void SetProcessVariable(const std::string& name, const std::string& value) { setenv(name.c_str(), value.c_str(), 1); }
void UnsetProcessVariable(const std::string& name) { unsetenv(name.c_str()); }
int ProcessId() { return static_cast<int>(getpid()); }

}  // namespace registry::testing
