#pragma once
// Owner of one open registry key handle: closes it through the backend that opened it, exactly
// once, on every way out.
#include "common/unique_any.h"
#include "registry/registry_api.h"

namespace registry {

// Predefined roots are never closed: an empty path or a connection to the own computer hands back
// the root itself. The result of the close is of no use here.
inline void CloseKey(RegistryApi* api, RegKey key) noexcept {
  if (!IsPredefinedKey(key)) api->RegCloseKey(key);
}

// Converts to true when a key was opened: an open that handed back a predefined root counts too.
using KeyHandle = common::UniqueAny<RegKey, &CloseKey>;

// Takes ownership of `key` when `status` says that it was opened.
inline KeyHandle AdoptKey(RegistryApi& api, RegStatus status, RegKey key) {
  return KeyHandle(&api, status == kErrorSuccess ? key : 0);
}

}  // namespace registry
