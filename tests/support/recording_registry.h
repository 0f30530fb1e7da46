#pragma once
// A pass-through over any registry backend that records every call with all its arguments, in
// order. Tests read the record in two ways: as text, one line a call, to pin exactly what a method
// hands to the platform (key path, access mask, options, reserved values, class, security record,
// value type, data, buffer capacities, computer name, index); and as counts derived from it: calls
// per function, handles opened and not closed, closes of handles that were not open. Whichever
// backend is underneath, the text is the same, because handles are named, not numbered:
//   HKCR HKCU HKLM HKU HKPD HKCC HKDD   the predefined roots;
//   #1, #2, ...                         handles handed out by recorded calls, in order;
//   x1, x2, ...                         handles the caller brought from elsewhere, in order;
//   0                                   no handle.
// Pointers are written as null, "buf" (a buffer the platform fills), "out" (a place for a result)
// or &N (an in/out count, or a reserved value, with the N it holds at the call). Access masks are
// hexadecimal; everything else is decimal. Tests may derive from it to bend answers.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_api.h"

namespace registry {

struct RecordedCall {
  std::string function;   // "RegOpenKeyExA", ...
  std::string arguments;  // as text, in the platform's order
  RegKey handle = 0;      // the handle argument, if the function takes one
  RegStatus result = kErrorSuccess;
  RegKey handed_out = 0;  // a handle this call opened, which its caller has to close

  std::string Text() const { return function + "(" + arguments + ")"; }
};

class RecordingRegistry : public RegistryApi {
 public:
  explicit RecordingRegistry(RegistryApi& inner) : inner_(inner) {}

  const std::vector<RecordedCall>& Record() const { return record_; }
  // Every recorded call as text, in order.
  std::vector<std::string> Texts() const;
  // Calls made, by function name ("RegQueryValueExA", ...), and in all.
  std::size_t Calls(std::string_view function) const;
  std::size_t TotalCalls() const { return record_.size(); }
  // Handles handed out by recorded calls and not closed since.
  std::size_t OpenHandles() const;
  // Closes of a handle that was not open here: a predefined root, a stale or foreign handle.
  std::size_t StrayCloses() const;
  // Forgets the record and the handle names; the next handle handed out is #1 again.
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
  // Appends a call whose arguments are described before the inner call runs, so that in/out
  // counts show what was passed, not what came back.
  std::size_t Begin(const char* function, RegKey handle, std::string arguments);
  RegStatus End(std::size_t call, RegStatus result);
  // Notes the handle a successful open, create or connect handed out. A predefined root, 0, or
  // the very handle the call was given (an empty path, a connection to the own computer) is no
  // new handle: nobody has to close it.
  RegStatus HandedOut(std::size_t call, RegStatus result, const RegKey* handle);
  std::string Name(RegKey key);

  RegistryApi& inner_;
  std::vector<RecordedCall> record_;
  std::map<RegKey, std::string> names_;
  int handed_out_count_ = 0;
  int foreign_count_ = 0;
};

}  // namespace registry
