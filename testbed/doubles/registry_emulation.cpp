#include "testbed/doubles/registry_emulation.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/ansi.h"
#include "common/text.h"

namespace registry {
namespace {

// Names compare without regard to case, on the characters the ANSI bytes stand for; listings come
// out in the order of the folded names, as Wine's server keeps them.
std::wstring Fold(std::string_view ansi) { return common::FoldCase(common::AnsiToText(ansi)); }

// Wine's ANSI key functions convert the path into a per-thread buffer of MAX_PATH + 1 characters;
// a longer path fails with ERROR_MORE_DATA before the registry is consulted.
constexpr std::size_t kMaxAnsiPath = 260;
// Value names of more than 16,383 characters are refused by RegSetValueExA.
constexpr std::size_t kMaxValueName = 16383;
constexpr std::size_t kMaxExpansion = 32766;
constexpr DWORD kVolatile = 1;  // REG_OPTION_VOLATILE
constexpr RegStatus kChildMustBeVolatile = 1021;
constexpr DWORD kWriteAccess =
    kKeySetValue | kKeyCreateSubKey | 0x00010000 /*DELETE*/ | 0x00040000 /*WRITE_DAC*/ | 0x00080000 /*WRITE_OWNER*/;

bool IsString(DWORD type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

std::string_view Name(const char* name) { return name ? std::string_view(name) : std::string_view(); }

}  // namespace

struct RegistryEmulation::Key {
  struct Value {
    std::string name;
    DWORD type = kRegNone;
    std::vector<std::uint8_t> data;
  };

  std::string name;
  std::string class_name;  // given at creation, reported by RegEnumKeyExA
  Key* parent = nullptr;
  bool read_only = false;
  bool is_volatile = false;
  bool deleted = false;
  std::map<std::wstring, std::shared_ptr<Key>> subkeys;  // by folded name
  std::map<std::wstring, Value> values;                  // by folded name
};

struct RegistryEmulation::Machine {
  std::shared_ptr<Key> local_machine = std::make_shared<Key>();
  std::shared_ptr<Key> users = std::make_shared<Key>();
  std::shared_ptr<Key> current_user = std::make_shared<Key>();
  std::shared_ptr<Key> dyn_data = std::make_shared<Key>();
  std::shared_ptr<Key> classes_root;    // HKLM\Software\Classes
  std::shared_ptr<Key> current_config;  // HKLM\System\CurrentControlSet\Hardware Profiles\Current

  Machine();
  // The key a predefined root stands for on this computer; null for HKEY_PERFORMANCE_DATA and
  // codes that name no root.
  std::shared_ptr<Key> Root(RegKey root) const;
};

struct RegistryEmulation::Handle {
  std::shared_ptr<Key> key;
  DWORD access = 0;
  bool predefined = false;
};

namespace {

using Key = RegistryEmulation::Key;

std::shared_ptr<Key> Child(const Key& key, std::string_view name) {
  auto it = key.subkeys.find(Fold(name));
  return it == key.subkeys.end() ? nullptr : it->second;
}

std::shared_ptr<Key> AddChild(Key& key, std::string_view name) {
  auto child = std::make_shared<Key>();
  child->name = std::string(name);
  child->parent = &key;
  key.subkeys.emplace(Fold(name), child);
  return child;
}

std::shared_ptr<Key> MakePath(std::shared_ptr<Key> key, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    auto next = Child(*key, name);
    key = next ? next : AddChild(*key, name);
  }
  return key;
}

enum class PathUse { kOpen, kCreateOrDelete };

// Splits a key path as Wine does: doubled and trailing backslashes are skipped, a leading one is
// refused (161), except that an open under HKEY_CLASSES_ROOT skips one (a create or delete there
// does not); an empty path names the key itself.
RegStatus SplitPath(RegKey root, const char* path, std::vector<std::string>& parts, PathUse use) {
  parts.clear();
  std::string_view rest = Name(path);
  if (use == PathUse::kOpen && root == kHkeyClassesRoot && !rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  if (rest.size() > kMaxAnsiPath) return kErrorMoreData;
  if (!rest.empty() && rest.front() == '\\') return kErrorBadPathname;
  while (!rest.empty()) {
    const std::size_t cut = rest.find('\\');
    const std::string_view part = rest.substr(0, cut);
    if (!part.empty()) parts.emplace_back(part);
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  return kErrorSuccess;
}

}  // namespace

RegistryEmulation::Machine::Machine() {
  classes_root = MakePath(local_machine, {"Software", "Classes"});
  current_config = MakePath(local_machine, {"System", "CurrentControlSet", "Hardware Profiles", "Current"});
}

std::shared_ptr<Key> RegistryEmulation::Machine::Root(RegKey root) const {
  if (root == kHkeyClassesRoot) return classes_root;
  if (root == kHkeyCurrentUser) return current_user;
  if (root == kHkeyLocalMachine) return local_machine;
  if (root == kHkeyUsers) return users;
  if (root == kHkeyCurrentConfig) return current_config;
  if (root == kHkeyDynData) return dyn_data;
  return nullptr;
}

RegistryEmulation::RegistryEmulation() : local_(std::make_shared<Machine>()) {}

RegistryEmulation::~RegistryEmulation() = default;

std::size_t RegistryEmulation::OpenHandleCount() const { return handles_.size(); }

RegStatus RegistryEmulation::Resolve(RegKey hKey, Handle& out) const {
  if (IsPredefinedKey(hKey)) {
    auto root = local_->Root(hKey);
    if (!root) return kErrorInvalidHandle;
    out = Handle{root, kKeyAllAccess, true};
    return kErrorSuccess;
  }
  auto it = handles_.find(hKey);
  if (it == handles_.end()) return kErrorInvalidHandle;
  if (it->second.key->deleted) return kErrorKeyDeleted;
  out = it->second;
  return kErrorSuccess;
}

RegKey RegistryEmulation::NewHandle(std::shared_ptr<Key> key, DWORD access) {
  const RegKey handle = next_handle_;
  next_handle_ += 4;  // never reused, so a stale handle is always caught as invalid
  handles_.emplace(handle, Handle{std::move(key), access, false});
  return handle;
}

RegStatus RegistryEmulation::RegOpenKeyExA(RegKey hKey, const char* lpSubKey, DWORD /*ulOptions*/, DWORD samDesired,
                                           RegKey* phkResult) {
  if (!phkResult) return kErrorInvalidParameter;
  Handle parent;
  if (RegStatus rc = Resolve(hKey, parent)) return rc;  // the out handle is left as it was here
  *phkResult = 0;
  std::vector<std::string> parts;
  if (RegStatus rc = SplitPath(hKey, lpSubKey, parts, PathUse::kOpen)) return rc;
  if (Name(lpSubKey).empty() && parent.predefined) {
    *phkResult = hKey;  // Wine hands back the predefined handle itself for an empty path
    return kErrorSuccess;
  }
  std::shared_ptr<Key> key = parent.key;
  for (const auto& part : parts) {
    key = Child(*key, part);
    if (!key) return kErrorFileNotFound;
  }
  if (key->read_only && (samDesired & kWriteAccess)) return kErrorAccessDenied;
  *phkResult = NewHandle(std::move(key), samDesired);
  return kErrorSuccess;
}

RegStatus RegistryEmulation::RegCloseKey(RegKey hKey) {
  if (IsPredefinedKey(hKey)) {
    ++predefined_closes_;  // harmless on the platform, but a sign of a handle owned twice
    return kErrorSuccess;
  }
  return handles_.erase(hKey) ? kErrorSuccess : kErrorInvalidHandle;
}

RegStatus RegistryEmulation::RegQueryValueExA(RegKey hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                                              std::uint8_t* lpData, DWORD* lpcbData) {
  if ((lpData && !lpcbData) || lpReserved) return kErrorInvalidParameter;
  if (hKey == 0) return kErrorInvalidHandle;  // the type is left as it was
  // From here on, as in Wine, the type reads REG_NONE on every failure: a closed or deleted key,
  // access denied, no such value.
  if (lpType) *lpType = kRegNone;
  Handle handle;
  if (RegStatus rc = Resolve(hKey, handle)) return rc;
  if (!(handle.access & kKeyQueryValue)) return kErrorAccessDenied;
  auto it = handle.key->values.find(Fold(Name(lpValueName)));
  if (it == handle.key->values.end()) return kErrorFileNotFound;  // size left as it was
  const auto& value = it->second;
  const DWORD size = static_cast<DWORD>(value.data.size());
  if (lpType) *lpType = value.type;
  RegStatus rc = kErrorSuccess;
  if (lpData) {
    if (size > *lpcbData) {
      rc = kErrorMoreData;  // the buffer is left untouched
    } else {
      std::copy(value.data.begin(), value.data.end(), lpData);
      // Like NT, terminate an unterminated string when the buffer has room for it.
      if (IsString(value.type) && size > 0 && size < *lpcbData && lpData[size - 1] != 0) lpData[size] = 0;
    }
  }
  if (lpcbData) *lpcbData = size;
  return rc;
}

RegStatus RegistryEmulation::RegSetValueExA(RegKey hKey, const char* lpValueName, DWORD /*Reserved*/, DWORD dwType,
                                            const std::uint8_t* lpData, DWORD cbData) {
  Handle handle;
  if (RegStatus rc = Resolve(hKey, handle)) return rc;
  if (!(handle.access & kKeySetValue)) return kErrorAccessDenied;
  const std::string_view name = Name(lpValueName);
  if (name.size() > kMaxValueName || (!lpData && cbData)) return kErrorInvalidParameter;
  // Stored exactly as given. (NT also counts one byte past cbData when a string's last counted
  // byte is not NUL and the next one is; that reads beyond the caller's buffer and is not copied.)
  Key::Value value{std::string(name), dwType, std::vector<std::uint8_t>(lpData, lpData + (lpData ? cbData : 0))};
  handle.key->values.insert_or_assign(Fold(name), std::move(value));
  return kErrorSuccess;
}

RegStatus RegistryEmulation::RegCreateKeyExA(RegKey hKey, const char* lpSubKey, DWORD Reserved, char* lpClass,
                                             DWORD dwOptions, DWORD samDesired,
                                             const SecurityAttributes* /*lpSecurityAttributes*/, RegKey* phkResult,
                                             DWORD* lpdwDisposition) {
  if (!phkResult || Reserved != 0) return kErrorInvalidParameter;
  *phkResult = 0;
  Handle parent;
  if (RegStatus rc = Resolve(hKey, parent)) return rc;
  std::vector<std::string> parts;
  if (RegStatus rc = SplitPath(hKey, lpSubKey, parts, PathUse::kCreateOrDelete)) return rc;
  // Check the whole path before creating anything, so a refused create leaves nothing behind.
  std::shared_ptr<Key> key = parent.key;
  std::size_t existing = 0;
  while (existing < parts.size()) {
    auto next = Child(*key, parts[existing]);
    if (!next) break;
    key = std::move(next);
    ++existing;
  }
  const bool created = existing < parts.size();
  if (!created && key->read_only && (samDesired & kWriteAccess)) return kErrorAccessDenied;
  if (created && key->read_only) return kErrorAccessDenied;
  // Options other than volatility are not checked. A key that is kept on disk cannot live below
  // one that is not.
  const bool make_volatile = (dwOptions & kVolatile) != 0;
  if (created && key->is_volatile && !make_volatile) return kChildMustBeVolatile;
  for (std::size_t i = existing; i < parts.size(); ++i) {
    key = AddChild(*key, parts[i]);
    key->is_volatile = make_volatile;
  }
  if (created && lpClass) key->class_name = lpClass;
  if (lpdwDisposition) *lpdwDisposition = created ? 1 /*REG_CREATED_NEW_KEY*/ : 2 /*REG_OPENED_EXISTING_KEY*/;
  *phkResult = NewHandle(std::move(key), samDesired);
  return kErrorSuccess;
}

RegStatus RegistryEmulation::RegDeleteKeyA(RegKey hKey, const char* lpSubKey) {
  Handle parent;
  if (RegStatus rc = Resolve(hKey, parent)) return rc;
  std::vector<std::string> parts;
  if (RegStatus rc = SplitPath(hKey, lpSubKey, parts, PathUse::kCreateOrDelete)) return rc;
  std::shared_ptr<Key> key = parent.key;
  for (const auto& part : parts) {
    key = Child(*key, part);
    if (!key) return kErrorFileNotFound;
  }
  // A root key, a key with subkeys and a protected key cannot be deleted.
  if (!key->parent || !key->subkeys.empty() || key->read_only) return kErrorAccessDenied;
  key->deleted = true;
  Key* owner = key->parent;
  key->parent = nullptr;
  owner->subkeys.erase(Fold(key->name));
  return kErrorSuccess;
}

RegStatus RegistryEmulation::RegDeleteValueA(RegKey hKey, const char* lpValueName) {
  Handle handle;
  if (RegStatus rc = Resolve(hKey, handle)) return rc;
  if (!(handle.access & kKeySetValue)) return kErrorAccessDenied;
  return handle.key->values.erase(Fold(Name(lpValueName))) ? kErrorSuccess : kErrorFileNotFound;
}

RegStatus RegistryEmulation::RegEnumKeyExA(RegKey hKey, DWORD dwIndex, char* lpName, DWORD* lpcchName,
                                           DWORD* lpReserved, char* lpClass, DWORD* lpcchClass,
                                           FileTime* lpftLastWriteTime) {
  if (!lpName || !lpcchName || lpReserved) return kErrorInvalidParameter;
  Handle handle;
  if (RegStatus rc = Resolve(hKey, handle)) return rc;
  if (!(handle.access & kKeyEnumerateSubKeys)) return kErrorAccessDenied;
  if (dwIndex >= handle.key->subkeys.size()) return kErrorNoMoreItems;
  const Key& child = *std::next(handle.key->subkeys.begin(), dwIndex)->second;
  // Both capacities count the terminator. When the name or the class does not fit, nothing is
  // written and both lengths stay as they were. A null class pointer asks for no class.
  const bool wants_class = lpClass && lpcchClass;
  if (child.name.size() >= *lpcchName || (wants_class && child.class_name.size() >= *lpcchClass)) {
    return kErrorMoreData;
  }
  std::memcpy(lpName, child.name.c_str(), child.name.size() + 1);
  *lpcchName = static_cast<DWORD>(child.name.size());
  if (wants_class) {
    std::memcpy(lpClass, child.class_name.c_str(), child.class_name.size() + 1);
    *lpcchClass = static_cast<DWORD>(child.class_name.size());
  }
  if (lpftLastWriteTime) *lpftLastWriteTime = FileTime{};
  return kErrorSuccess;
}

RegStatus RegistryEmulation::RegEnumValueA(RegKey hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                                           DWORD* lpReserved, DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) {
  if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData)) return kErrorInvalidParameter;
  Handle handle;
  if (RegStatus rc = Resolve(hKey, handle)) return rc;
  if (!(handle.access & kKeyQueryValue)) return kErrorAccessDenied;
  if (dwIndex >= handle.key->values.size()) return kErrorNoMoreItems;
  const auto& value = std::next(handle.key->values.begin(), dwIndex)->second;
  const DWORD size = static_cast<DWORD>(value.data.size());
  if (lpType) *lpType = value.type;
  // Either part not fitting gives ERROR_MORE_DATA with the data's real size; the name buffer and
  // its length stay as they were. (Wine may leave part of a name that does not fit in the buffer.)
  const bool name_fits = value.name.size() < *lpcchValueName;
  const bool data_fits = !lpData || size <= *lpcbData;
  if (lpcbData) *lpcbData = size;
  if (!name_fits || !data_fits) return kErrorMoreData;
  std::memcpy(lpValueName, value.name.c_str(), value.name.size() + 1);
  *lpcchValueName = static_cast<DWORD>(value.name.size());
  if (lpData) std::copy(value.data.begin(), value.data.end(), lpData);
  return kErrorSuccess;
}

RegStatus RegistryEmulation::RegConnectRegistryA(const char* lpMachineName, RegKey hKey, RegKey* phkResult) {
  if (!phkResult) return kErrorInvalidParameter;
  std::string_view machine = Name(lpMachineName);
  if (machine.substr(0, 2) == "\\\\") machine.remove_prefix(2);
  // The own computer: Wine hands back the root handle itself, whatever it is, even 0.
  if (machine.empty() || Fold(machine) == Fold(computer_name_)) {
    *phkResult = hKey;
    return kErrorSuccess;
  }
  auto remote = remotes_.find(Fold(machine));
  if (remote == remotes_.end()) return kErrorBadNetpath;
  // Another computer offers only HKEY_LOCAL_MACHINE and HKEY_USERS over the network.
  if (hKey != kHkeyLocalMachine && hKey != kHkeyUsers) return kErrorInvalidHandle;
  *phkResult = NewHandle(remote->second->Root(hKey), kKeyAllAccess);
  return kErrorSuccess;
}

DWORD RegistryEmulation::ExpandEnvironmentStringsA(const char* lpSrc, char* lpDst, DWORD nSize) {
  // Wine's expansion: %NAME% with NAME set is replaced; any other %...% pair is copied whole and
  // the scan goes on after its closing percent sign; an unpaired percent sign is copied as is.
  std::string_view src = Name(lpSrc);
  std::string out;
  while (!src.empty()) {
    if (src.front() != '%') {
      const std::size_t cut = std::min(src.find('%'), src.size());
      out.append(src.substr(0, cut));
      src.remove_prefix(cut);
      continue;
    }
    const std::size_t close = src.find('%', 1);
    if (close == std::string_view::npos) {
      out.append(src);
      break;
    }
    const std::string name(src.substr(1, close - 1));
    std::optional<std::string> variable;
    if (!name.empty()) variable = ProcessEnvironmentVariable(name);
    out.append(variable ? std::string_view(*variable) : src.substr(0, close + 1));
    src.remove_prefix(close + 1);
  }
  // The needed count is the whole expansion's, but no more than 32,766 characters are ever
  // written: the platform expands into a buffer of 32,767 characters.
  const DWORD needed = static_cast<DWORD>(out.size() + 1);
  if (lpDst && nSize > 0) {
    const std::size_t copied = std::min<std::size_t>({out.size(), nSize - 1, kMaxExpansion});
    std::memcpy(lpDst, out.data(), copied);
    lpDst[copied] = '\0';
  }
  return needed;
}

void RegistryEmulation::AddRemoteComputer(const std::string& name) {
  remotes_.emplace(Fold(name), std::make_shared<Machine>());
}

void RegistryEmulation::SetKeyReadOnly(RegKey root, std::string_view path, bool read_only) {
  std::vector<std::string> parts;
  std::shared_ptr<Key> key = local_->Root(root);
  if (!key || SplitPath(root, std::string(path).c_str(), parts, PathUse::kOpen) != kErrorSuccess) return;
  for (const auto& part : parts) {
    auto next = Child(*key, part);
    key = next ? next : AddChild(*key, part);
  }
  key->read_only = read_only;
}

}  // namespace registry
