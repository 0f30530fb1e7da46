#include "testbed/doubles/registry_emulation.h"

namespace registry {

RegistryApi& PlatformRegistry() {
  // Without a platform registry, the process has one emulated registry for its lifetime.
  static RegistryEmulation emulation;
  return emulation;
}

}  // namespace registry
