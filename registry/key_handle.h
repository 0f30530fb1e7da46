#pragma once
// Owner of one registry key handle, and the one way to open a key: the platform's result code and
// the key it handed out come back together.
#include "common/unique_any.h"
#include "registry/registry_api.h"

namespace registry {

// Closes `key` through the backend that opened it. A key held without a backend is borrowed: it
// belongs to someone else and is never closed here. Predefined roots are never closed either: an
// empty path or a connection to the own computer hands back the root itself. The result of the
// close is of no use here.
inline void CloseKey(RegistryApi* api, RegKey key) noexcept {
  if (api != nullptr && !IsPredefinedKey(key)) api->RegCloseKey(key);
}

// Owns a key handle and closes it exactly once, on every way out; or borrows one (its origin is
// null) and leaves it open. Converts to true when it holds a handle, owned or borrowed.
using KeyHandle = common::UniqueAny<RegKey, &CloseKey>;

// What an open, a create or a connection gives, in the shape of WinReg's RegExpected: the
// platform's result code and the key, which holds nothing unless the code is ERROR_SUCCESS.
struct KeyResult {
  KeyHandle key;
  RegStatus status = kErrorSuccess;

  bool ok() const noexcept { return status == kErrorSuccess; }
};

// Takes the key that a call on `given` handed out with `status`. The platform may hand back
// `given` itself (an empty path under a root, a connection to the own computer): that handle is
// the caller's own, or a predefined root, and is borrowed. Any other handle is owned.
inline KeyResult AdoptKey(RegistryApi& api, RegStatus status, RegKey key, RegKey given) {
  if (status != kErrorSuccess) return {KeyHandle(&api, 0), status};
  return {KeyHandle(key == given ? nullptr : &api, key), status};
}

// RegOpenKeyExA(parent, path, options, access) through `api`, with the key it handed out.
inline KeyResult OpenKey(RegistryApi& api, RegKey parent, const char* path, DWORD access, DWORD options = 0) {
  RegKey key = 0;
  const RegStatus status = api.RegOpenKeyExA(parent, path, options, access, &key);
  return AdoptKey(api, status, key, parent);
}

// RegConnectRegistryA(computer, root) through `api`, with the key it handed out.
inline KeyResult ConnectKey(RegistryApi& api, const char* computer, RegKey root) {
  RegKey key = 0;
  const RegStatus status = api.RegConnectRegistryA(computer, root, &key);
  return AdoptKey(api, status, key, root);
}

}  // namespace registry
