#include "tests/support/recording_registry.h"

#include <array>
#include <cstdio>
#include <set>

namespace registry {
namespace {

std::string Quoted(std::string_view bytes) {
  std::string text = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) {
      text += "\\0";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      text += escaped;
    } else {
      text += c;
    }
  }
  return text + "\"";
}

std::string Text(const char* text) { return text ? Quoted(text) : "null"; }
std::string Data(const std::uint8_t* data, DWORD size) {
  return data ? Quoted(std::string_view(reinterpret_cast<const char*>(data), size)) : "null";
}
std::string Count(const DWORD* count) {
  if (!count) return "null";
  std::string text = std::to_string(*count);  // "&" + to_string() trips GCC 12's false -Wrestrict at -O3
  return text.insert(0, 1, '&');
}
std::string Buffer(const void* buffer) { return buffer ? "buf" : "null"; }
std::string Out(const void* place) { return place ? "out" : "null"; }
std::string Hex(DWORD mask) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(mask));
  return text;
}
std::string Security(const SecurityAttributes* record) {
  if (!record) return "null";
  return "{" + std::to_string(record->nLength) + "," + std::to_string(record->lpSecurityDescriptor) + "," +
         std::to_string(record->bInheritHandle) + "}";
}

template <typename... Parts>
std::string Join(const Parts&... parts) {
  std::string text;
  ((text += (text.empty() ? "" : ", ") + std::string(parts)), ...);
  return text;
}

}  // namespace

std::string RecordingRegistry::Name(RegKey key) {
  static constexpr std::array<const char*, 7> kRoots = {"HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD"};
  if (key == 0) return "0";
  if (IsPredefinedKey(key)) return kRoots[static_cast<std::size_t>(key - kHkeyClassesRoot)];
  auto it = names_.find(key);
  if (it == names_.end()) it = names_.emplace(key, "x" + std::to_string(++foreign_count_)).first;
  return it->second;
}

std::size_t RecordingRegistry::Begin(const char* function, RegKey handle, std::string arguments) {
  record_.push_back(RecordedCall{function, std::move(arguments), handle});
  return record_.size() - 1;
}

RegStatus RecordingRegistry::End(std::size_t call, RegStatus result) {
  record_[call].result = result;
  return result;
}

RegStatus RecordingRegistry::HandedOut(std::size_t call, RegStatus result, const RegKey* handle) {
  RecordedCall& recorded = record_[call];
  recorded.result = result;
  if (result != kErrorSuccess || !handle || *handle == 0 || IsPredefinedKey(*handle) || *handle == recorded.handle) {
    return result;
  }
  recorded.handed_out = *handle;
  names_[*handle] = "#" + std::to_string(++handed_out_count_);  // a handle value may come back after a close
  return result;
}

std::vector<std::string> RecordingRegistry::Texts() const {
  std::vector<std::string> texts;
  for (const auto& call : record_) texts.push_back(call.Text());
  return texts;
}

std::size_t RecordingRegistry::Calls(std::string_view function) const {
  std::size_t count = 0;
  for (const auto& call : record_) count += call.function == function ? 1 : 0;
  return count;
}

// Both counts replay the record: every handle handed out is open until a RegCloseKey of it.
std::size_t RecordingRegistry::OpenHandles() const {
  std::multiset<RegKey> open;
  for (const auto& call : record_) {
    if (call.handed_out != 0) open.insert(call.handed_out);
    if (call.function == "RegCloseKey" && open.count(call.handle)) open.erase(open.find(call.handle));
  }
  return open.size();
}

std::size_t RecordingRegistry::StrayCloses() const {
  std::multiset<RegKey> open;
  std::size_t stray = 0;
  for (const auto& call : record_) {
    if (call.handed_out != 0) open.insert(call.handed_out);
    if (call.function != "RegCloseKey") continue;
    if (open.count(call.handle)) {
      open.erase(open.find(call.handle));
    } else {
      ++stray;
    }
  }
  return stray;
}

void RecordingRegistry::Reset() {
  record_.clear();
  names_.clear();
  handed_out_count_ = 0;
  foreign_count_ = 0;
}

RegStatus RecordingRegistry::RegOpenKeyExA(RegKey hKey, const char* lpSubKey, DWORD ulOptions, DWORD samDesired,
                                           RegKey* phkResult) {
  const auto call = Begin("RegOpenKeyExA", hKey,
                          Join(Name(hKey), Text(lpSubKey), std::to_string(ulOptions), Hex(samDesired), Out(phkResult)));
  return HandedOut(call, inner_.RegOpenKeyExA(hKey, lpSubKey, ulOptions, samDesired, phkResult), phkResult);
}

RegStatus RecordingRegistry::RegCloseKey(RegKey hKey) {
  const auto call = Begin("RegCloseKey", hKey, Name(hKey));
  return End(call, inner_.RegCloseKey(hKey));
}

RegStatus RecordingRegistry::RegQueryValueExA(RegKey hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                                              std::uint8_t* lpData, DWORD* lpcbData) {
  const auto call =
      Begin("RegQueryValueExA", hKey,
            Join(Name(hKey), Text(lpValueName), Count(lpReserved), Out(lpType), Buffer(lpData), Count(lpcbData)));
  return End(call, inner_.RegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData));
}

RegStatus RecordingRegistry::RegSetValueExA(RegKey hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                                            const std::uint8_t* lpData, DWORD cbData) {
  const auto call = Begin("RegSetValueExA", hKey,
                          Join(Name(hKey), Text(lpValueName), std::to_string(Reserved), std::to_string(dwType),
                               Data(lpData, cbData), std::to_string(cbData)));
  return End(call, inner_.RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData));
}

RegStatus RecordingRegistry::RegCreateKeyExA(RegKey hKey, const char* lpSubKey, DWORD Reserved, char* lpClass,
                                             DWORD dwOptions, DWORD samDesired,
                                             const SecurityAttributes* lpSecurityAttributes, RegKey* phkResult,
                                             DWORD* lpdwDisposition) {
  const auto call =
      Begin("RegCreateKeyExA", hKey,
            Join(Name(hKey), Text(lpSubKey), std::to_string(Reserved), Text(lpClass), std::to_string(dwOptions),
                 Hex(samDesired), Security(lpSecurityAttributes), Out(phkResult), Out(lpdwDisposition)));
  return HandedOut(call,
                   inner_.RegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired,
                                          lpSecurityAttributes, phkResult, lpdwDisposition),
                   phkResult);
}

RegStatus RecordingRegistry::RegDeleteKeyA(RegKey hKey, const char* lpSubKey) {
  const auto call = Begin("RegDeleteKeyA", hKey, Join(Name(hKey), Text(lpSubKey)));
  return End(call, inner_.RegDeleteKeyA(hKey, lpSubKey));
}

RegStatus RecordingRegistry::RegDeleteValueA(RegKey hKey, const char* lpValueName) {
  const auto call = Begin("RegDeleteValueA", hKey, Join(Name(hKey), Text(lpValueName)));
  return End(call, inner_.RegDeleteValueA(hKey, lpValueName));
}

RegStatus RecordingRegistry::RegEnumKeyExA(RegKey hKey, DWORD dwIndex, char* lpName, DWORD* lpcchName,
                                           DWORD* lpReserved, char* lpClass, DWORD* lpcchClass,
                                           FileTime* lpftLastWriteTime) {
  const auto call = Begin("RegEnumKeyExA", hKey,
                          Join(Name(hKey), std::to_string(dwIndex), Buffer(lpName), Count(lpcchName), Count(lpReserved),
                               Buffer(lpClass), Count(lpcchClass), Out(lpftLastWriteTime)));
  return End(
      call, inner_.RegEnumKeyExA(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass, lpftLastWriteTime));
}

RegStatus RecordingRegistry::RegEnumValueA(RegKey hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                                           DWORD* lpReserved, DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) {
  const auto call = Begin("RegEnumValueA", hKey,
                          Join(Name(hKey), std::to_string(dwIndex), Buffer(lpValueName), Count(lpcchValueName),
                               Count(lpReserved), Out(lpType), Buffer(lpData), Count(lpcbData)));
  return End(call,
             inner_.RegEnumValueA(hKey, dwIndex, lpValueName, lpcchValueName, lpReserved, lpType, lpData, lpcbData));
}

RegStatus RecordingRegistry::RegConnectRegistryA(const char* lpMachineName, RegKey hKey, RegKey* phkResult) {
  const auto call = Begin("RegConnectRegistryA", hKey, Join(Text(lpMachineName), Name(hKey), Out(phkResult)));
  return HandedOut(call, inner_.RegConnectRegistryA(lpMachineName, hKey, phkResult), phkResult);
}

DWORD RecordingRegistry::ExpandEnvironmentStringsA(const char* lpSrc, char* lpDst, DWORD nSize) {
  Begin("ExpandEnvironmentStringsA", 0, Join(Text(lpSrc), Buffer(lpDst), std::to_string(nSize)));
  return inner_.ExpandEnvironmentStringsA(lpSrc, lpDst, nSize);
}

}  // namespace registry
