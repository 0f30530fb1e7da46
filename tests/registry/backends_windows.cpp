#include "tests/registry/backends.h"

#include <windows.h>

#include "registry/platform_registry_windows.h"

namespace registry::testing {
namespace {

class Advapi32Backend final : public Backend {
 public:
  RegistryApi& api() override { return PlatformRegistry(); }
  std::string ComputerName() override {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    ::DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
  }
};

}  // namespace

std::vector<BackendFactory> AllBackends() {
  return {{"Emulation", &MakeEmulationBackend},
          {"Advapi32", [] { return std::unique_ptr<Backend>(std::make_unique<Advapi32Backend>()); }}};
}

void SetProcessVariable(const std::string& name, const std::string& value) {
  SetEnvironmentVariableA(name.c_str(), value.c_str());
}
void UnsetProcessVariable(const std::string& name) { SetEnvironmentVariableA(name.c_str(), nullptr); }
int ProcessId() { return static_cast<int>(GetCurrentProcessId()); }

}  // namespace registry::testing
