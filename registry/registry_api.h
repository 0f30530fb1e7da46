#pragma once
// The ANSI registry functions that `winreg` calls, as one interface. The product's backend is
// advapi32 on Windows; the tests also run `winreg` on an in-memory emulation of these functions, a
// double in testbed/doubles/ (everywhere, and beside advapi32 under Wine). Each function keeps its
// platform name, parameter order and result codes; only the handle and integer types are portable.
#include <cstdint>

namespace registry {

// A key handle. Predefined root keys are 32-bit codes sign-extended to pointer width, exactly as
// Windows defines HKEY_CURRENT_USER and the others on 64-bit systems.
using RegKey = std::intptr_t;
using RegStatus = std::int32_t;  // LONG
using DWORD = std::uint32_t;

constexpr RegKey RootKey(std::int32_t code) { return static_cast<RegKey>(code); }
// Whether a handle value is one of the predefined root keys (which are never closed).
constexpr bool IsPredefinedKey(RegKey key) {
  return key >= RootKey(static_cast<std::int32_t>(0x80000000u)) &&
         key <= RootKey(static_cast<std::int32_t>(0x80000006u));
}

inline constexpr RegKey kHkeyClassesRoot = RootKey(static_cast<std::int32_t>(0x80000000u));
inline constexpr RegKey kHkeyCurrentUser = RootKey(static_cast<std::int32_t>(0x80000001u));
inline constexpr RegKey kHkeyLocalMachine = RootKey(static_cast<std::int32_t>(0x80000002u));
inline constexpr RegKey kHkeyUsers = RootKey(static_cast<std::int32_t>(0x80000003u));
inline constexpr RegKey kHkeyPerformanceData = RootKey(static_cast<std::int32_t>(0x80000004u));
inline constexpr RegKey kHkeyCurrentConfig = RootKey(static_cast<std::int32_t>(0x80000005u));
inline constexpr RegKey kHkeyDynData = RootKey(static_cast<std::int32_t>(0x80000006u));

// The platform's values under names of their own, so that this header and <windows.h> go
// together in any order (the SDK defines its names as macros). Each comment gives the platform's
// name, which its documentation uses.
//
// Result codes.
inline constexpr RegStatus kErrorSuccess = 0;            // ERROR_SUCCESS
inline constexpr RegStatus kErrorFileNotFound = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr RegStatus kErrorAccessDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr RegStatus kErrorInvalidHandle = 6;      // ERROR_INVALID_HANDLE
inline constexpr RegStatus kErrorBadNetpath = 53;        // ERROR_BAD_NETPATH
inline constexpr RegStatus kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
inline constexpr RegStatus kErrorBadPathname = 161;      // ERROR_BAD_PATHNAME
inline constexpr RegStatus kErrorMoreData = 234;         // ERROR_MORE_DATA
inline constexpr RegStatus kErrorNoMoreItems = 259;      // ERROR_NO_MORE_ITEMS
inline constexpr RegStatus kErrorKeyDeleted = 1018;      // ERROR_KEY_DELETED

// Access masks and options.
inline constexpr DWORD kKeyQueryValue = 0x0001;        // KEY_QUERY_VALUE
inline constexpr DWORD kKeySetValue = 0x0002;          // KEY_SET_VALUE
inline constexpr DWORD kKeyCreateSubKey = 0x0004;      // KEY_CREATE_SUB_KEY
inline constexpr DWORD kKeyEnumerateSubKeys = 0x0008;  // KEY_ENUMERATE_SUB_KEYS
inline constexpr DWORD kKeyRead = 0x20019;             // KEY_READ
inline constexpr DWORD kKeyWrite = 0x20006;            // KEY_WRITE
inline constexpr DWORD kKeyAllAccess = 0xF003F;        // KEY_ALL_ACCESS
inline constexpr DWORD kRegOptionNonVolatile = 0;      // REG_OPTION_NON_VOLATILE

// Value types.
inline constexpr DWORD kRegNone = 0;      // REG_NONE
inline constexpr DWORD kRegSz = 1;        // REG_SZ
inline constexpr DWORD kRegExpandSz = 2;  // REG_EXPAND_SZ
inline constexpr DWORD kRegBinary = 3;    // REG_BINARY
inline constexpr DWORD kRegDword = 4;     // REG_DWORD
inline constexpr DWORD kRegMultiSz = 7;   // REG_MULTI_SZ
inline constexpr DWORD kRegQword = 11;    // REG_QWORD

// The key-creation security attributes as the class stores them: three 32-bit fields.
struct SecurityAttributes {
  std::uint32_t nLength = 0;
  std::uint32_t lpSecurityDescriptor = 0;
  std::uint32_t bInheritHandle = 0;
};

struct FileTime {
  std::uint32_t dwLowDateTime = 0;
  std::uint32_t dwHighDateTime = 0;
};

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  virtual RegStatus RegOpenKeyExA(RegKey hKey, const char* lpSubKey, DWORD ulOptions, DWORD samDesired,
                                  RegKey* phkResult) = 0;
  virtual RegStatus RegCloseKey(RegKey hKey) = 0;
  virtual RegStatus RegQueryValueExA(RegKey hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                                     std::uint8_t* lpData, DWORD* lpcbData) = 0;
  virtual RegStatus RegSetValueExA(RegKey hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                                   const std::uint8_t* lpData, DWORD cbData) = 0;
  virtual RegStatus RegCreateKeyExA(RegKey hKey, const char* lpSubKey, DWORD Reserved, char* lpClass, DWORD dwOptions,
                                    DWORD samDesired, const SecurityAttributes* lpSecurityAttributes, RegKey* phkResult,
                                    DWORD* lpdwDisposition) = 0;
  virtual RegStatus RegDeleteKeyA(RegKey hKey, const char* lpSubKey) = 0;
  virtual RegStatus RegDeleteValueA(RegKey hKey, const char* lpValueName) = 0;
  virtual RegStatus RegEnumKeyExA(RegKey hKey, DWORD dwIndex, char* lpName, DWORD* lpcchName, DWORD* lpReserved,
                                  char* lpClass, DWORD* lpcchClass, FileTime* lpftLastWriteTime) = 0;
  virtual RegStatus RegEnumValueA(RegKey hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                                  DWORD* lpReserved, DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) = 0;
  virtual RegStatus RegConnectRegistryA(const char* lpMachineName, RegKey hKey, RegKey* phkResult) = 0;
  // Not a registry function, but the registry class expands REG_EXPAND_SZ data through it, so the
  // emulation can stand in for the environment too. Returns the characters needed, terminator included.
  virtual DWORD ExpandEnvironmentStringsA(const char* lpSrc, char* lpDst, DWORD nSize) = 0;
};

}  // namespace registry
