#include "registry/counting_registry.h"

namespace registry {

std::size_t CountingRegistry::Calls(const std::string& function) const {
  auto it = calls_.find(function);
  return it == calls_.end() ? 0 : it->second;
}

std::size_t CountingRegistry::TotalCalls() const {
  std::size_t total = 0;
  for (const auto& [name, count] : calls_) total += count;
  return total;
}

void CountingRegistry::Reset() {
  calls_.clear();
  open_.clear();
  stray_closes_ = 0;
  last_machine_.clear();
}

void CountingRegistry::Opened(RegStatus rc, const RegKey* handle) {
  // An open of the empty path, and a connection to the own computer, hand back the predefined
  // root itself, which nobody closes.
  if (rc == ERROR_SUCCESS && handle && *handle != 0 && !IsPredefinedKey(*handle)) open_.insert(*handle);
}

RegStatus CountingRegistry::RegOpenKeyExA(RegKey hKey, const char* lpSubKey, DWORD ulOptions, DWORD samDesired,
                                          RegKey* phkResult) {
  Count("RegOpenKeyExA");
  const RegStatus rc = inner_.RegOpenKeyExA(hKey, lpSubKey, ulOptions, samDesired, phkResult);
  Opened(rc, phkResult);
  return rc;
}

RegStatus CountingRegistry::RegCloseKey(RegKey hKey) {
  Count("RegCloseKey");
  auto it = open_.find(hKey);
  if (it == open_.end()) {
    ++stray_closes_;
  } else {
    open_.erase(it);
  }
  return inner_.RegCloseKey(hKey);
}

RegStatus CountingRegistry::RegQueryValueExA(RegKey hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                                             std::uint8_t* lpData, DWORD* lpcbData) {
  Count("RegQueryValueExA");
  return inner_.RegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}

RegStatus CountingRegistry::RegSetValueExA(RegKey hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                                           const std::uint8_t* lpData, DWORD cbData) {
  Count("RegSetValueExA");
  return inner_.RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}

RegStatus CountingRegistry::RegCreateKeyExA(RegKey hKey, const char* lpSubKey, DWORD Reserved, char* lpClass,
                                            DWORD dwOptions, DWORD samDesired,
                                            const SecurityAttributes* lpSecurityAttributes, RegKey* phkResult,
                                            DWORD* lpdwDisposition) {
  Count("RegCreateKeyExA");
  const RegStatus rc = inner_.RegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired,
                                              lpSecurityAttributes, phkResult, lpdwDisposition);
  Opened(rc, phkResult);
  return rc;
}

RegStatus CountingRegistry::RegDeleteKeyA(RegKey hKey, const char* lpSubKey) {
  Count("RegDeleteKeyA");
  return inner_.RegDeleteKeyA(hKey, lpSubKey);
}

RegStatus CountingRegistry::RegDeleteValueA(RegKey hKey, const char* lpValueName) {
  Count("RegDeleteValueA");
  return inner_.RegDeleteValueA(hKey, lpValueName);
}

RegStatus CountingRegistry::RegEnumKeyExA(RegKey hKey, DWORD dwIndex, char* lpName, DWORD* lpcchName, DWORD* lpReserved,
                                          char* lpClass, DWORD* lpcchClass, FileTime* lpftLastWriteTime) {
  Count("RegEnumKeyExA");
  return inner_.RegEnumKeyExA(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass, lpftLastWriteTime);
}

RegStatus CountingRegistry::RegEnumValueA(RegKey hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                                          DWORD* lpReserved, DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) {
  Count("RegEnumValueA");
  return inner_.RegEnumValueA(hKey, dwIndex, lpValueName, lpcchValueName, lpReserved, lpType, lpData, lpcbData);
}

RegStatus CountingRegistry::RegConnectRegistryA(const char* lpMachineName, RegKey hKey, RegKey* phkResult) {
  Count("RegConnectRegistryA");
  last_machine_ = lpMachineName ? lpMachineName : "";
  const RegStatus rc = inner_.RegConnectRegistryA(lpMachineName, hKey, phkResult);
  Opened(rc, phkResult);
  return rc;
}

DWORD CountingRegistry::ExpandEnvironmentStringsA(const char* lpSrc, char* lpDst, DWORD nSize) {
  Count("ExpandEnvironmentStringsA");
  return inner_.ExpandEnvironmentStringsA(lpSrc, lpDst, nSize);
}

}  // namespace registry
