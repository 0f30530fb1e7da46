#pragma once
// An in-memory registry that answers the ANSI registry functions as advapi32 does under Wine 8
// for every call the registry class makes: the same result codes, sizes, untouched buffers on
// ERROR_MORE_DATA, case-insensitive names listed in case-insensitive order, predefined roots,
// invalid and deleted handles, key classes, volatile keys, and the reserved arguments that Wine
// checks. It also stands in for other computers' registries, expands environment strings with the
// process environment, and counts open handles so tests can prove that nothing stays open.
// A double, kept with the other platform doubles: the product's registry library (registry/) holds
// `winreg` and the advapi32 backend only.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "registry/registry_api.h"

namespace registry {

class RegistryEmulation : public RegistryApi {
 public:
  RegistryEmulation();
  ~RegistryEmulation() override;
  RegistryEmulation(const RegistryEmulation&) = delete;
  RegistryEmulation& operator=(const RegistryEmulation&) = delete;

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

  // Handles opened and not yet closed (predefined roots never count).
  std::size_t OpenHandleCount() const;
  // RegCloseKey calls on a predefined root key: always a fault of the caller.
  std::size_t PredefinedCloseCount() const { return predefined_closes_; }

  // The name under which this computer answers RegConnectRegistryA.
  const std::string& ComputerName() const { return computer_name_; }
  // Makes another computer reachable by RegConnectRegistryA; its registry starts empty and is
  // filled through the connection like any other.
  void AddRemoteComputer(const std::string& name);
  // A key that may be opened for reading only: opening it with any write access gives 5, as a key
  // whose access list denies the current user write access does.
  void SetKeyReadOnly(RegKey root, std::string_view path, bool read_only);

  struct Key;
  struct Machine;

 private:
  struct Handle;
  RegStatus Resolve(RegKey hKey, Handle& out) const;
  RegKey NewHandle(std::shared_ptr<Key> key, DWORD access);

  std::shared_ptr<Machine> local_;
  std::map<std::wstring, std::shared_ptr<Machine>> remotes_;  // by folded name
  std::map<RegKey, Handle> handles_;
  RegKey next_handle_ = 0x100;
  std::size_t predefined_closes_ = 0;
  std::string computer_name_ = "THIS-PC";
};

// The process environment, as ExpandEnvironmentStringsA sees it on this platform; nothing when the
// variable is not set.
std::optional<std::string> ProcessEnvironmentVariable(const std::string& name);

}  // namespace registry
