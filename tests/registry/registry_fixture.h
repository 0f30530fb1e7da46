#pragma once
// One fixture for the registry suites: each test works under a scratch key of its own below
// HKEY_CURRENT_USER\Software\KestrovaCartImportTests, on the backend the suite is instantiated
// for, and removes it afterwards. `winreg` objects are given the recording layer, so each test can
// assert the platform calls, and every test ends by checking that no handle stayed open.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/runtime_error.h"
#include "registry/key_handle.h"
#include "registry/registry_access.h"
#include "tests/registry/backends.h"
#include "tests/support/error_number.h"
#include "tests/support/recording_registry.h"

namespace registry::testing {

// HKEY_CURRENT_USER as the winreg methods take a root key: a signed 32-bit number.
inline constexpr std::int32_t kCurrentUser = static_cast<std::int32_t>(0x80000001u);

struct RawValue {
  DWORD type = kRegNone;
  std::string bytes;
};

class RegistryTest : public ::testing::TestWithParam<BackendFactory> {
 protected:
  void SetUp() override;
  void TearDown() override;

  RegistryApi& raw() { return backend_->api(); }
  RecordingRegistry& recorder() { return *recorder_; }
  // The calls recorded so far as text, with the scratch key's path written as $S.
  std::vector<std::string> PlatformCalls() const;
  RegistryEmulation* emulation() { return backend_->emulation(); }
  std::string ComputerName() { return backend_->ComputerName(); }

  // The scratch key's path under HKEY_CURRENT_USER, and "scratch\sub" for a path below it.
  const std::string& Scratch() const { return scratch_; }
  std::string Below(std::string_view sub) const;
  std::wstring ScratchText() const;

  // A winreg object on the counted backend: HKEY_CURRENT_USER, KeyRoot = scratch, Subkey = subkey.
  winreg Addressing(const std::wstring& subkey = L"");

  // Set-up and inspection through the backend directly (not counted). Paths are below the scratch
  // key; "" is the scratch key itself.
  void MakeKey(std::string_view sub);
  // RegCreateKeyExA(parent, path, reserved, key_class, options, KEY_ALL_ACCESS), with the key it
  // handed out; no security attributes, no disposition.
  KeyResult CreateRaw(RegKey parent, const std::string& path, DWORD reserved = 0, DWORD options = 0,
                      char* key_class = nullptr);
  bool KeyPresent(std::string_view sub);
  // Stores `bytes` exactly, terminators included only when given.
  void PutValue(std::string_view sub, const std::string& name, DWORD type, std::string_view bytes);
  std::optional<RawValue> ReadValue(std::string_view sub, const std::string& name);

 private:
  void DeleteTree(RegKey root, const std::string& path);

  std::unique_ptr<Backend> backend_;
  std::unique_ptr<RecordingRegistry> recorder_;
  std::string scratch_;
};

std::string BackendName(const ::testing::TestParamInfo<BackendFactory>& info);

using testing_support::ErrorNumberOf;

}  // namespace registry::testing
