#pragma once
// The ANSI registry functions that `winreg` calls, as one interface with two backends: advapi32 on
// Windows and an in-memory emulation (everywhere, and selectable on Windows for tests). Each
// function keeps its platform name, parameter order and result codes; only the handle and integer
// types are portable.
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

// Result codes.
inline constexpr RegStatus ERROR_SUCCESS = 0;
inline constexpr RegStatus ERROR_FILE_NOT_FOUND = 2;
inline constexpr RegStatus ERROR_ACCESS_DENIED = 5;
inline constexpr RegStatus ERROR_INVALID_HANDLE = 6;
inline constexpr RegStatus ERROR_BAD_NETPATH = 53;
inline constexpr RegStatus ERROR_INVALID_PARAMETER = 87;
inline constexpr RegStatus ERROR_BAD_PATHNAME = 161;
inline constexpr RegStatus ERROR_MORE_DATA = 234;
inline constexpr RegStatus ERROR_NO_MORE_ITEMS = 259;
inline constexpr RegStatus ERROR_KEY_DELETED = 1018;

// Access masks and options.
inline constexpr DWORD KEY_QUERY_VALUE = 0x0001;
inline constexpr DWORD KEY_SET_VALUE = 0x0002;
inline constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD KEY_WRITE = 0x20006;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

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

// The backend that `winreg` uses unless it is given another: advapi32 on Windows, a process-wide
// emulation elsewhere.
RegistryApi& PlatformRegistry();

}  // namespace registry
