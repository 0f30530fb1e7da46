#include "tests/registry/backends.h"

namespace registry::testing {
namespace {

class EmulationBackend final : public Backend {
 public:
  RegistryApi& api() override { return emulation_; }
  RegistryEmulation* emulation() override { return &emulation_; }
  std::string ComputerName() override { return emulation_.ComputerName(); }

 private:
  RegistryEmulation emulation_;
};

}  // namespace

std::unique_ptr<Backend> MakeEmulationBackend() { return std::make_unique<EmulationBackend>(); }

}  // namespace registry::testing
