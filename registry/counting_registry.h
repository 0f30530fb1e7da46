#pragma once
// A pass-through over any registry backend that counts the calls made and the handles that were
// opened and not closed. Tests use it to assert the number of platform reads and that a method
// leaves nothing open, whichever backend is underneath. Tests may derive from it to bend answers.
#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "registry/registry_api.h"

namespace registry {

class CountingRegistry : public RegistryApi {
 public:
  explicit CountingRegistry(RegistryApi& inner) : inner_(inner) {}

  // Calls made, by function name ("RegQueryValueExA", ...).
  std::size_t Calls(const std::string& function) const;
  std::size_t TotalCalls() const;
  // Handles this wrapper saw opened (by open, create or connect) and not yet closed.
  std::size_t OpenHandles() const { return open_.size(); }
  // Closes of a handle that was not open here: a predefined root, a stale or foreign handle.
  std::size_t StrayCloses() const { return stray_closes_; }
  // The computer name of the last RegConnectRegistryA call, exactly as passed.
  const std::string& LastMachineName() const { return last_machine_; }
  void Reset();

  RegStatus RegOpenKeyExA(RegKey hKey, const char* lpSubKey, DWORD ulOptions, DWORD samDesired,
                          RegKey* phkResult) override;
  RegStatus RegCloseKey(RegKey hKey) override;
  RegStatus RegQueryValueExA(RegKey hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                             std::uint8_t* lpData, DWORD* lpcbData) override;
  RegStatus RegSetValueExA(RegKey hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                           const std::uint8_t* lpData, DWORD cbData) override;
  RegStatus RegCreateKeyExA(RegKey hKey, const char* lpSubKey, DWORD Reserved, char* lpClass, DWORD dwOptions,
                            DWORD samDesired, const SecurityAttributes* lpSecurityAttributes, RegKey* phkResult,
                            DWORD* lpdwDisposition) override;
  RegStatus RegDeleteKeyA(RegKey hKey, const char* lpSubKey) override;
  RegStatus RegDeleteValueA(RegKey hKey, const char* lpValueName) override;
  RegStatus RegEnumKeyExA(RegKey hKey, DWORD dwIndex, char* lpName, DWORD* lpcchName, DWORD* lpReserved, char* lpClass,
                          DWORD* lpcchClass, FileTime* lpftLastWriteTime) override;
  RegStatus RegEnumValueA(RegKey hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                          DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) override;
  RegStatus RegConnectRegistryA(const char* lpMachineName, RegKey hKey, RegKey* phkResult) override;
  DWORD ExpandEnvironmentStringsA(const char* lpSrc, char* lpDst, DWORD nSize) override;

 private:
  void Count(const char* function) { ++calls_[function]; }
  void Opened(RegStatus rc, const RegKey* handle);

  RegistryApi& inner_;
  std::map<std::string, std::size_t> calls_;
  std::multiset<RegKey> open_;
  std::size_t stray_closes_ = 0;
  std::string last_machine_;
};

}  // namespace registry
