#include "fuzz/hostile_registry.h"

#include <algorithm>
#include <cstring>

namespace registry::fuzzing {

RegStatus HostileRegistry::Status() {
  static constexpr RegStatus kCodes[] = {kErrorSuccess,      kErrorSuccess,    kErrorFileNotFound,
                                         kErrorAccessDenied, kErrorMoreData,   kErrorInvalidHandle,
                                         kErrorNoMoreItems,  kErrorBadNetpath, 1018};
  return input_.PickValueInArray(kCodes);
}

// Once the input is used up, a listing ends and everything else fails: loops always terminate.
RegStatus HostileRegistry::StatusOrEnd(RegStatus end) { return input_.remaining_bytes() == 0 ? end : Status(); }

DWORD HostileRegistry::Size(DWORD capacity) {
  // Larger than the buffer by up to 70,000 bytes: enough to cross every limit the class has (1,024,
  // 4,096, 32,767) without asking it for gigabytes, which no registry value holds.
  switch (input_.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return capacity;
    case 1:
      return 0;
    case 2:
      return input_.ConsumeIntegralInRange<DWORD>(0, capacity);
    default:
      return capacity + input_.ConsumeIntegralInRange<DWORD>(1, 70000);
  }
}

DWORD HostileRegistry::Type() {
  static constexpr DWORD kTypes[] = {kRegNone, kRegSz, kRegExpandSz, kRegBinary, kRegDword,
                                     5,        6,      kRegMultiSz,  kRegQword,  0xFFFFFFFF};
  return input_.PickValueInArray(kTypes);
}

void HostileRegistry::Fill(void* buffer, DWORD capacity, DWORD wanted) {
  if (!buffer) return;
  const std::size_t count = std::min(capacity, wanted);
  const auto bytes = input_.ConsumeBytes<std::uint8_t>(count);
  if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
}

RegStatus HostileRegistry::HandOut(RegKey* result, std::optional<RegKey> given) {
  const RegStatus rc = StatusOrEnd(kErrorFileNotFound);
  if (!result) return rc;
  if (rc != kErrorSuccess) {
    // A failing call may still leave something in the out parameter.
    if (input_.ConsumeBool()) *result = input_.ConsumeIntegral<std::int32_t>();
    return rc;
  }
  switch (input_.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
      *result = kHkeyCurrentUser;
      break;  // an empty path hands back the root itself
    case 1:
      *result = 0;
      break;  // a connection to the own computer with root 0
    case 2:
      if (given) {
        *result = *given;  // a connection to the own computer: the caller's own handle
        break;
      }
      [[fallthrough]];
    default:
      *result = next_;
      open_.insert(next_);
      next_ += 4;
  }
  return rc;
}

void HostileRegistry::Touch(const char* text) {
  // Reads every byte up to the terminator, so an unterminated string shows up under ASan.
  if (text) sink_ = sink_ + static_cast<unsigned char>(std::strlen(text));
}

void HostileRegistry::UseHandle(RegKey key) {
  // Using a handle this backend never handed out (or already took back) is a fault of the caller;
  // the roots and whatever the caller passed in itself are allowed.
  if (key != 0 && !IsPredefinedKey(key) && key >= 0x1000 && !open_.count(key)) ++bad_closes_;
}

RegStatus HostileRegistry::RegOpenKeyExA(RegKey hKey, const char* lpSubKey, DWORD, DWORD, RegKey* phkResult) {
  UseHandle(hKey);
  Touch(lpSubKey);
  return HandOut(phkResult, std::nullopt);  // an empty path under an open key gives a new handle
}

RegStatus HostileRegistry::RegCloseKey(RegKey hKey) {
  if (open_.erase(hKey) == 0) ++bad_closes_;
  return kErrorSuccess;
}

RegStatus HostileRegistry::RegQueryValueExA(RegKey hKey, const char* lpValueName, DWORD*, DWORD* lpType,
                                            std::uint8_t* lpData, DWORD* lpcbData) {
  UseHandle(hKey);
  Touch(lpValueName);
  const RegStatus rc = StatusOrEnd(kErrorFileNotFound);
  const DWORD capacity = lpcbData ? *lpcbData : 0;
  if (lpType) *lpType = Type();
  const DWORD size = Size(capacity);
  if (rc == kErrorSuccess) Fill(lpData, capacity, size);
  if (lpcbData) *lpcbData = size;
  return rc;
}

RegStatus HostileRegistry::RegSetValueExA(RegKey hKey, const char* lpValueName, DWORD, DWORD,
                                          const std::uint8_t* lpData, DWORD cbData) {
  UseHandle(hKey);
  Touch(lpValueName);
  for (DWORD i = 0; lpData && i < cbData; ++i) sink_ = sink_ + lpData[i];  // every byte given must be readable
  return StatusOrEnd(kErrorAccessDenied);
}

RegStatus HostileRegistry::RegCreateKeyExA(RegKey hKey, const char* lpSubKey, DWORD, char* lpClass, DWORD, DWORD,
                                           const SecurityAttributes*, RegKey* phkResult, DWORD* lpdwDisposition) {
  UseHandle(hKey);
  Touch(lpSubKey);
  Touch(lpClass);
  if (lpdwDisposition) *lpdwDisposition = input_.ConsumeIntegral<DWORD>();
  return HandOut(phkResult, std::nullopt);
}

RegStatus HostileRegistry::RegDeleteKeyA(RegKey hKey, const char* lpSubKey) {
  UseHandle(hKey);
  Touch(lpSubKey);
  return StatusOrEnd(kErrorFileNotFound);
}

RegStatus HostileRegistry::RegDeleteValueA(RegKey hKey, const char* lpValueName) {
  UseHandle(hKey);
  Touch(lpValueName);
  return StatusOrEnd(kErrorFileNotFound);
}

RegStatus HostileRegistry::RegEnumKeyExA(RegKey hKey, DWORD, char* lpName, DWORD* lpcchName, DWORD*, char* lpClass,
                                         DWORD* lpcchClass, FileTime* lpftLastWriteTime) {
  UseHandle(hKey);
  const RegStatus rc = StatusOrEnd(kErrorNoMoreItems);
  if (rc == kErrorSuccess && lpcchName) {
    Fill(lpName, *lpcchName, Size(*lpcchName));  // possibly without any terminator
    *lpcchName = Size(*lpcchName);
    if (lpClass && lpcchClass) Fill(lpClass, *lpcchClass, Size(*lpcchClass));
    if (lpftLastWriteTime) *lpftLastWriteTime = FileTime{1, 2};
  }
  return rc;
}

RegStatus HostileRegistry::RegEnumValueA(RegKey hKey, DWORD, char* lpValueName, DWORD* lpcchValueName, DWORD*,
                                         DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) {
  UseHandle(hKey);
  const RegStatus rc = StatusOrEnd(kErrorNoMoreItems);
  const DWORD name_capacity = lpcchValueName ? *lpcchValueName : 0;
  const DWORD data_capacity = lpcbData ? *lpcbData : 0;
  if (lpType) *lpType = Type();
  if (rc == kErrorSuccess) {
    Fill(lpValueName, name_capacity, Size(name_capacity));
    Fill(lpData, data_capacity, Size(data_capacity));
  }
  if (lpcchValueName && input_.ConsumeBool()) *lpcchValueName = Size(name_capacity);
  if (lpcbData) *lpcbData = Size(data_capacity);  // on ERROR_MORE_DATA possibly 0, or more than asked
  return rc;
}

RegStatus HostileRegistry::RegConnectRegistryA(const char* lpMachineName, RegKey hKey, RegKey* phkResult) {
  UseHandle(hKey);
  Touch(lpMachineName);
  return HandOut(phkResult, hKey);
}

DWORD HostileRegistry::ExpandEnvironmentStringsA(const char* lpSrc, char* lpDst, DWORD nSize) {
  Touch(lpSrc);
  Fill(lpDst, nSize, Size(nSize));  // possibly without a terminator
  return Size(nSize);               // possibly less, or far more, than it wrote
}

}  // namespace registry::fuzzing
