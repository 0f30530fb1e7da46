#pragma once
// Owner of one open registry key handle: closes it exactly once, on every way out.
#include <utility>

#include "registry/registry_api.h"

namespace registry {

class KeyHandle {
 public:
  KeyHandle() = default;
  // Takes ownership of `key` when `status` says it was opened; 0 and predefined roots are never
  // closed (an empty path or a connection to the own computer hands back the root itself).
  KeyHandle(RegistryApi& api, RegStatus status, RegKey key) : api_(&api), key_(status == ERROR_SUCCESS ? key : 0) {}
  ~KeyHandle() { Close(); }

  KeyHandle(KeyHandle&& other) noexcept : api_(other.api_), key_(std::exchange(other.key_, 0)) {}
  KeyHandle& operator=(KeyHandle&& other) noexcept {
    if (this != &other) {
      Close();
      api_ = other.api_;
      key_ = std::exchange(other.key_, 0);
    }
    return *this;
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;

  RegKey get() const { return key_; }
  // Whether a key was opened: an open that handed back a predefined root counts as opened.
  explicit operator bool() const { return key_ != 0; }

 private:
  void Close() {
    if (key_ != 0 && !IsPredefinedKey(key_)) api_->RegCloseKey(key_);  // result is of no use here
    key_ = 0;
  }

  RegistryApi* api_ = nullptr;
  RegKey key_ = 0;
};

}  // namespace registry
