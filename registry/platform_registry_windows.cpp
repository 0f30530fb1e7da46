#include <windows.h>

#include "registry/platform_registry_windows.h"

namespace registry {
namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

// advapi32 as it is. DWORD is unsigned long on Windows and std::uint32_t here: the same 32 bits,
// copied through locals rather than cast, so that every out parameter is written only when the
// platform wrote it.
class Advapi32Registry final : public RegistryApi {
 public:
  RegStatus RegOpenKeyExA(RegKey hKey, const char* lpSubKey, DWORD ulOptions, DWORD samDesired,
                          RegKey* phkResult) override {
    HKEY result = phkResult ? ToHkey(*phkResult) : nullptr;
    const LONG rc = ::RegOpenKeyExA(ToHkey(hKey), lpSubKey, ulOptions, samDesired, phkResult ? &result : nullptr);
    if (phkResult) *phkResult = FromHkey(result);
    return rc;
  }

  RegStatus RegCloseKey(RegKey hKey) override { return ::RegCloseKey(ToHkey(hKey)); }

  RegStatus RegQueryValueExA(RegKey hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                             std::uint8_t* lpData, DWORD* lpcbData) override {
    ::DWORD type = lpType ? *lpType : 0;
    ::DWORD size = lpcbData ? *lpcbData : 0;
    const LONG rc = ::RegQueryValueExA(ToHkey(hKey), lpValueName, reinterpret_cast<LPDWORD>(lpReserved),
                                       lpType ? &type : nullptr, lpData, lpcbData ? &size : nullptr);
    if (lpType) *lpType = type;
    if (lpcbData) *lpcbData = size;
    return rc;
  }

  RegStatus RegSetValueExA(RegKey hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                           const std::uint8_t* lpData, DWORD cbData) override {
    return ::RegSetValueExA(ToHkey(hKey), lpValueName, Reserved, dwType, lpData, cbData);
  }

  RegStatus RegCreateKeyExA(RegKey hKey, const char* lpSubKey, DWORD Reserved, char* lpClass, DWORD dwOptions,
                            DWORD samDesired, const SecurityAttributes* lpSecurityAttributes, RegKey* phkResult,
                            DWORD* lpdwDisposition) override {
    // The class keeps its attributes as three 32-bit fields; the platform's record holds a pointer.
    SECURITY_ATTRIBUTES attributes{};
    if (lpSecurityAttributes) {
      attributes.nLength = lpSecurityAttributes->nLength;
      attributes.lpSecurityDescriptor =
          reinterpret_cast<void*>(static_cast<std::uintptr_t>(lpSecurityAttributes->lpSecurityDescriptor));
      attributes.bInheritHandle = static_cast<BOOL>(lpSecurityAttributes->bInheritHandle);
    }
    HKEY result = phkResult ? ToHkey(*phkResult) : nullptr;
    ::DWORD disposition = lpdwDisposition ? *lpdwDisposition : 0;
    const LONG rc = ::RegCreateKeyExA(ToHkey(hKey), lpSubKey, Reserved, lpClass, dwOptions, samDesired,
                                      lpSecurityAttributes ? &attributes : nullptr, phkResult ? &result : nullptr,
                                      lpdwDisposition ? &disposition : nullptr);
    if (phkResult) *phkResult = FromHkey(result);
    if (lpdwDisposition) *lpdwDisposition = disposition;
    return rc;
  }

  RegStatus RegDeleteKeyA(RegKey hKey, const char* lpSubKey) override {
    return ::RegDeleteKeyA(ToHkey(hKey), lpSubKey);
  }

  RegStatus RegDeleteValueA(RegKey hKey, const char* lpValueName) override {
    return ::RegDeleteValueA(ToHkey(hKey), lpValueName);
  }

  RegStatus RegEnumKeyExA(RegKey hKey, DWORD dwIndex, char* lpName, DWORD* lpcchName, DWORD* lpReserved, char* lpClass,
                          DWORD* lpcchClass, FileTime* lpftLastWriteTime) override {
    ::DWORD name_size = lpcchName ? *lpcchName : 0;
    ::DWORD class_size = lpcchClass ? *lpcchClass : 0;
    FILETIME time{};
    const LONG rc = ::RegEnumKeyExA(ToHkey(hKey), dwIndex, lpName, lpcchName ? &name_size : nullptr,
                                    reinterpret_cast<LPDWORD>(lpReserved), lpClass, lpcchClass ? &class_size : nullptr,
                                    lpftLastWriteTime ? &time : nullptr);
    if (lpcchName) *lpcchName = name_size;
    if (lpcchClass) *lpcchClass = class_size;
    if (lpftLastWriteTime) *lpftLastWriteTime = FileTime{time.dwLowDateTime, time.dwHighDateTime};
    return rc;
  }

  RegStatus RegEnumValueA(RegKey hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                          DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) override {
    ::DWORD name_size = lpcchValueName ? *lpcchValueName : 0;
    ::DWORD type = lpType ? *lpType : 0;
    ::DWORD data_size = lpcbData ? *lpcbData : 0;
    const LONG rc = ::RegEnumValueA(ToHkey(hKey), dwIndex, lpValueName, lpcchValueName ? &name_size : nullptr,
                                    reinterpret_cast<LPDWORD>(lpReserved), lpType ? &type : nullptr, lpData,
                                    lpcbData ? &data_size : nullptr);
    if (lpcchValueName) *lpcchValueName = name_size;
    if (lpType) *lpType = type;
    if (lpcbData) *lpcbData = data_size;
    return rc;
  }

  RegStatus RegConnectRegistryA(const char* lpMachineName, RegKey hKey, RegKey* phkResult) override {
    HKEY result = phkResult ? ToHkey(*phkResult) : nullptr;
    const LONG rc = ::RegConnectRegistryA(lpMachineName, ToHkey(hKey), phkResult ? &result : nullptr);
    if (phkResult) *phkResult = FromHkey(result);
    return rc;
  }

  DWORD ExpandEnvironmentStringsA(const char* lpSrc, char* lpDst, DWORD nSize) override {
    return ::ExpandEnvironmentStringsA(lpSrc, lpDst, nSize);
  }
};

}  // namespace

RegistryApi& PlatformRegistry() {
  static Advapi32Registry advapi32;
  return advapi32;
}

}  // namespace registry
