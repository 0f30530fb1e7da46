#pragma once
// A registry backend whose every answer is drawn from the fuzzer's input: result codes, types,
// reported sizes larger than the buffer, a type or size that changes between two reads, names
// without a terminator, needed sizes of 0, handles that are predefined roots or 0, and the
// caller's own handle handed back by a connection to the own computer. It never writes
// beyond the capacity it is given, as the platform never does; everything else is fair game.
// It tracks the handles it handed out, so the fuzz target can prove that each one is closed once.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <optional>
#include <set>

#include "registry/registry_api.h"

namespace registry::fuzzing {

class HostileRegistry final : public RegistryApi {
 public:
  explicit HostileRegistry(FuzzedDataProvider& input) : input_(input) {}

  std::size_t OpenHandles() const { return open_.size(); }
  // Closes of a predefined root, of 0, or of a handle not (or no longer) open.
  std::size_t BadCloses() const { return bad_closes_; }

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
  RegStatus Status();
  RegStatus StatusOrEnd(RegStatus end);
  DWORD Size(DWORD capacity);
  DWORD Type();
  void Fill(void* buffer, DWORD capacity, DWORD wanted);
  // Hands out a new handle, a root, 0 or, where the platform may, the `given` handle itself.
  RegStatus HandOut(RegKey* result, std::optional<RegKey> given);
  void Touch(const char* text);
  void UseHandle(RegKey key);

  FuzzedDataProvider& input_;
  std::set<RegKey> open_;
  RegKey next_ = 0x1000;
  std::size_t bad_closes_ = 0;
  volatile unsigned char sink_ = 0;
};

}  // namespace registry::fuzzing
