#pragma once
// The registry backends that the registry suites run on: the emulation everywhere, and advapi32
// as well on Windows (under Wine in CI).
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "registry/registry_api.h"
#include "testbed/doubles/registry_emulation.h"

namespace registry::testing {

class Backend {
 public:
  virtual ~Backend() = default;
  virtual RegistryApi& api() = 0;
  // The emulation itself, for checks only it can make; null for the platform's registry.
  virtual RegistryEmulation* emulation() { return nullptr; }
  // The name under which this computer's registry answers RegConnectRegistryA.
  virtual std::string ComputerName() = 0;
};

struct BackendFactory {
  std::string name;
  std::function<std::unique_ptr<Backend>()> make;
};
inline void PrintTo(const BackendFactory& backend, std::ostream* out) { *out << backend.name; }

std::vector<BackendFactory> AllBackends();
std::unique_ptr<Backend> MakeEmulationBackend();

// Sets a variable of this process's environment where ExpandEnvironmentStringsA reads it.
void SetProcessVariable(const std::string& name, const std::string& value);
void UnsetProcessVariable(const std::string& name);
int ProcessId();

}  // namespace registry::testing
