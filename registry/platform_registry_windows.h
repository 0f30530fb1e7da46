#pragma once
// The platform's registry functions: advapi32. Only Windows has them; elsewhere the registry
// emulation of the test doubles (testbed/doubles/) is handed to winreg instead.
#include "registry/registry_api.h"

namespace registry {

// advapi32 as it is, one object for the process.
RegistryApi& PlatformRegistry();

}  // namespace registry
