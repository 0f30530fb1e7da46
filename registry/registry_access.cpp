#include "registry/registry_access.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/ansi.h"
#include "common/int16.h"
#include "common/runtime_error.h"

namespace registry {
namespace {

using common::Collection;
using common::Variant;

constexpr DWORD kFirstReadSize = 1024;

std::wstring RootName(std::int32_t hkey) {
  static constexpr std::array<const wchar_t*, 7> kNames = {
      L"HKEY_CLASSES_ROOT",     L"HKEY_CURRENT_USER",   L"HKEY_LOCAL_MACHINE", L"HKEY_USERS",
      L"HKEY_PERFORMANCE_DATA", L"HKEY_CURRENT_CONFIG", L"HKEY_DYN_DATA"};
  const std::uint32_t index = static_cast<std::uint32_t>(hkey) - 0x80000000u;
  return index < kNames.size() ? kNames[index] : L"{Unknown root key}";
}

constexpr DWORD kNameCapacity = 260;
constexpr DWORD kDataCapacity = 4096;

std::int32_t LittleEndian32(const std::vector<std::uint8_t>& buffer) {
  std::uint32_t number = 0;  // bytes past the buffer read as 0
  for (std::size_t i = 0; i < 4 && i < buffer.size(); ++i) number |= std::uint32_t{buffer[i]} << (8 * i);
  return static_cast<std::int32_t>(number);
}

std::wstring Text(const std::vector<std::uint8_t>& buffer, std::size_t bytes) {
  return common::AnsiToText(std::string_view(reinterpret_cast<const char*>(buffer.data()), bytes));
}

// The expansion of `source` (up to its first NUL, as the platform reads it) with this process's
// environment, as the platform leaves it in a buffer of the size it asked for: terminator included.
// The platform writes at most 32,766 characters yet counts the whole expansion; a text it could not
// deliver whole raises "Overflow" rather than come back cut.
std::wstring Expand(RegistryApi& api, const std::wstring& source) {
  const std::string ansi = common::TextToAnsi(source);
  const DWORD needed = api.ExpandEnvironmentStringsA(ansi.c_str(), nullptr, 0);
  std::string expanded(needed, '\0');
  if (needed == 0) return std::wstring();
  const DWORD counted = api.ExpandEnvironmentStringsA(ansi.c_str(), expanded.data(), needed);
  const std::size_t written = std::min(expanded.find('\0'), expanded.size());
  if (counted > written + 1) throw common::RuntimeError(common::kErrOverflow);
  return common::AnsiToText(expanded);
}

}  // namespace

winreg::winreg(RegistryApi& api) : api_(api) {}

std::wstring winreg::KeyFullPath() const { return RootName(hkey_) + L"\\" + key_root_ + L"\\" + subkey_; }
std::int32_t winreg::hkey() const { return hkey_; }
void winreg::hkey(std::int32_t vData) { hkey_ = vData; }
std::wstring winreg::KeyRoot() const { return key_root_; }
void winreg::KeyRoot(const std::wstring& vData) { key_root_ = vData; }
std::wstring winreg::Subkey() const { return subkey_; }
void winreg::Subkey(const std::wstring& vData) { subkey_ = vData; }

std::string winreg::PathTo(const std::wstring& name) const { return common::TextToAnsi(key_root_ + L"\\" + name); }

KeyResult winreg::OpenKey(RegKey parent, const std::string& path, DWORD access) const {
  return registry::OpenKey(api_, parent, path.c_str(), access);
}

bool winreg::KeyExists() const { return OpenKey(Root(), PathTo(subkey_), kKeyRead).ok(); }

std::wstring winreg::CreateKey() { return CreateKeyNamed(subkey_); }

std::wstring winreg::CreateKey(Variant& KeyName) {
  if (KeyName.IsOmitted()) return CreateKey();
  const std::wstring name = common::ToText(KeyName);  // raises before anything is opened
  KeyName = Variant(name);
  return CreateKeyNamed(name);
}

std::wstring winreg::CreateKeyNamed(const std::wstring& name) {
  char no_class[1] = "";
  RegKey created = 0;
  DWORD disposition = 0;  // created or opened: the same to the caller
  const RegStatus rc = api_.RegCreateKeyExA(Root(), PathTo(name).c_str(), 0, no_class, kRegOptionNonVolatile,
                                            kKeyAllAccess, &security_attributes_, &created, &disposition);
  const KeyResult key = AdoptKey(api_, rc, created, Root());
  return key.ok() ? L"0" : L"";
}

std::int32_t winreg::DeleteKey(const std::wstring& KeyName) {
  return api_.RegDeleteKeyA(Root(), PathTo(KeyName).c_str());
}

std::int32_t winreg::DeleteValue(const std::wstring& ValueName) {
  const KeyResult opened = OpenKey(Root(), PathTo(subkey_), kKeyAllAccess);
  if (!opened.ok()) return opened.status;
  return api_.RegDeleteValueA(opened.key.get(), common::TextToAnsi(ValueName).c_str());
}

Variant winreg::GetRegistryValue(const std::wstring& ValueName, const Variant& DefaultValue) const {
  Variant result = DefaultValue.IsOmitted() ? Variant() : DefaultValue;
  const KeyResult opened = OpenKey(Root(), PathTo(subkey_), kKeyRead);
  if (opened.ok()) ReadValue(opened.key.get(), ValueName, result);
  return result;
}

void winreg::ReadValue(RegKey key, const std::wstring& ValueName, Variant& result) const {
  const std::string name = common::TextToAnsi(ValueName);
  std::vector<std::uint8_t> buffer(kFirstReadSize, 0);
  DWORD type = kRegNone;
  DWORD size = kFirstReadSize;
  RegStatus rc = api_.RegQueryValueExA(key, name.c_str(), nullptr, &type, buffer.data(), &size);
  if (rc == kErrorMoreData) {
    buffer.assign(size, 0);  // read again into exactly the reported size
    rc = api_.RegQueryValueExA(key, name.c_str(), nullptr, &type, buffer.data(), &size);
  }
  // Only a read that succeeded filled the buffer. A missing value, a second read that fails in any
  // way (the value grew again, the key was deleted meanwhile, ...) and a reported size beyond the
  // buffer all keep the initial result: the type the platform left behind may belong to data that
  // never arrived.
  if (rc != kErrorSuccess || size > buffer.size()) return;

  switch (type) {
    case kRegDword:
      result = Variant(LittleEndian32(buffer));
      break;
    case kRegSz:
      if (size >= 1) result = Variant(Text(buffer, size - 1));
      break;
    case kRegExpandSz:
      if (size >= 1) {
        std::wstring expanded = Expand(api_, Text(buffer, size - 1));
        expanded.resize(std::min(expanded.find(L'\0'), expanded.size()));  // without its terminator
        result = Variant(std::move(expanded));
      }
      break;
    case kRegBinary:
      if (size >= 1) {
        buffer.resize(size);
        result = Variant(common::ByteArray{0, std::move(buffer)});
      }
      break;
    case kRegMultiSz:
      if (size >= 2) {
        std::wstring list = Text(buffer, size - 2);
        std::wstring first = list;
        if (!TrimNull(first).empty()) result = Variant(std::move(list));
      }
      break;
    default:
      break;
  }
}

bool winreg::SetRegistryValue(const std::wstring& ValueName, const Variant& Value, std::int32_t DType) {
  KeyResult opened = OpenKey(Root(), PathTo(subkey_), kKeyWrite);
  if (!opened.ok()) {
    CreateKey();
    opened = OpenKey(Root(), PathTo(subkey_), kKeyWrite);
    if (!opened.ok()) return false;
  }
  return WriteValue(opened.key.get(), ValueName, Value, DType) == kErrorSuccess;
}

RegStatus winreg::WriteValue(RegKey key, const std::wstring& ValueName, const Variant& Value,
                             std::int32_t DType) const {
  // Converts first: a Value without the form DType asks for raises before anything is written.
  std::string data;
  switch (DType) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz:
      // Multi-strings carry their own NUL separators; the one added here closes the list.
      data = common::TextToAnsi(common::ToText(Value));
      data.push_back('\0');
      break;
    case kRegDword: {
      const auto number = static_cast<std::uint32_t>(common::ToInt32(Value));
      for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<char>(number >> shift));
      break;
    }
    case kRegBinary: {
      // Whatever the array's lower bound, its elements go out from the lowest index up.
      const std::vector<std::uint8_t>& bytes = common::ToByteArray(Value).bytes;
      data.assign(bytes.begin(), bytes.end());
      break;
    }
    default:
      return kErrorSuccess;  // no such type to write: nothing is written and the write counts as done
  }
  if (key == 0) return kErrorInvalidHandle;  // the key did not open: no handle to write with
  return api_.RegSetValueExA(key, common::TextToAnsi(ValueName).c_str(), 0, static_cast<DWORD>(DType),
                             data.empty() ? nullptr : reinterpret_cast<const std::uint8_t*>(data.data()),
                             static_cast<DWORD>(data.size()));
}

Collection winreg::EnumRegistryKeys(std::int32_t hkey, const std::wstring& KeyName) const {
  Collection names;
  const KeyResult target = OpenForListing(hkey, KeyName);
  if (!target.ok()) return names;
  for (common::Int32 index;; ++index) {
    std::string name(kNameCapacity, ' ');
    DWORD name_size = kNameCapacity;
    FileTime written;
    // No class buffer: the class is never read, and a subkey created with a class would not fit
    // any small one (ERROR_MORE_DATA), which would end the listing there.
    if (api_.RegEnumKeyExA(target.key.get(), static_cast<DWORD>(index.value()), name.data(), &name_size, nullptr,
                           nullptr, nullptr, &written) != kErrorSuccess) {
      break;  // ERROR_NO_MORE_ITEMS after the last subkey, and any failure alike
    }
    name.resize(std::min(name.find('\0'), name.size()));  // the reported length is not used
    const std::wstring text = common::AnsiToText(name);
    names.Add(Variant(text), text);
  }
  return names;
}

Collection winreg::EnumRegistryValues(std::int32_t hkey, const std::wstring& KeyName) const {
  Collection values;
  const KeyResult target = OpenForListing(hkey, KeyName);
  if (!target.ok()) return values;
  for (common::Int32 index;; ++index) {
    std::string name(kNameCapacity, ' ');
    DWORD name_size = kNameCapacity;
    DWORD type = kRegNone;
    std::vector<std::uint8_t> data(kDataCapacity, 0);
    DWORD data_size = kDataCapacity;
    RegStatus rc = api_.RegEnumValueA(target.key.get(), static_cast<DWORD>(index.value()), name.data(), &name_size,
                                      nullptr, &type, data.data(), &data_size);
    if (rc == kErrorMoreData) {
      // One repeat with a fresh buffer of exactly the needed size. A needed size of 0 means the
      // name, not the data, did not fit: no buffer can help, so the listing ends there.
      if (data_size == 0) break;
      data.assign(data_size, 0);
      name_size = kNameCapacity;
      rc = api_.RegEnumValueA(target.key.get(), static_cast<DWORD>(index.value()), name.data(), &name_size, nullptr,
                              &type, data.data(), &data_size);
    }
    if (rc != kErrorSuccess) break;  // the end, any failure, and a second ERROR_MORE_DATA alike
    if (name_size > name.size() || data_size > data.size()) break;  // sizes the buffers cannot hold
    name.resize(name_size);
    const std::wstring text = common::AnsiToText(name);
    values.Add(Variant(common::VariantArray{Variant(text), ListedData(type, data, data_size)}), text);
  }
  return values;
}

Variant winreg::ListedData(DWORD type, const std::vector<std::uint8_t>& data, DWORD size) const {
  switch (type) {
    case kRegSz:
      return Variant(size == 0 ? std::wstring() : Text(data, size - 1));
    case kRegExpandSz: {
      if (size == 0) return Variant(std::wstring());
      // The expansion arrives with its terminator, and TrimNull counts its position in 16 bits:
      // an expanded text of 32,767 characters or more overflows.
      std::wstring expanded = Expand(api_, Text(data, size - 1));
      return Variant(TrimNull(expanded));
    }
    case kRegBinary: {
      std::wstring hex;
      static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
      // The byte counter is 16 bits wide: more than 32,767 bytes overflow.
      for (common::Int16 i; i < static_cast<std::int64_t>(size); ++i) {
        if (i > 0) hex.push_back(L' ');
        hex.push_back(kDigits[data[i] >> 4]);
        hex.push_back(kDigits[data[i] & 0xF]);
      }
      return Variant(std::move(hex));
    }
    case kRegDword:
      return Variant(LittleEndian32(data));
    case kRegMultiSz: {
      if (size < 2) return Variant(std::wstring());
      std::wstring joined = Text(data, size - 2);
      std::replace(joined.begin(), joined.end(), L'\0', L',');
      return Variant(std::move(joined));
    }
    default:
      return Variant();
  }
}

KeyResult winreg::OpenForListing(std::int32_t hkey, const std::wstring& KeyName) const {
  if (KeyName.empty()) return {KeyHandle(nullptr, RootKey(hkey))};  // listed, never closed
  return OpenKey(RootKey(hkey), common::TextToAnsi(KeyName), kKeyRead);
}

KeyResult winreg::Connect(const std::wstring& sRemoteComputer, std::int32_t hkey) const {
  return ConnectKey(api_, common::TextToAnsi(sRemoteComputer).c_str(), RootKey(hkey));
}

Variant winreg::ReadRemoteRegistryValue(const std::wstring& sRemoteComputer, std::int32_t hkey,
                                        const std::wstring& ValueName,
                                        const std::optional<std::wstring>& KeyPath) const {
  Variant result;
  const std::string path = common::TextToAnsi(KeyPath ? *KeyPath : ObjectKeyPath());
  const KeyResult connection = Connect(sRemoteComputer, hkey);
  if (!connection.ok()) return Variant(L"Error!");
  // Declared after the connection, so the key is closed first.
  const KeyResult opened = OpenKey(connection.key.get(), path, kKeyAllAccess);
  if (opened.ok()) ReadValue(opened.key.get(), ValueName, result);  // a key that did not open is not used
  return result;
}

bool winreg::WriteRemoteRegistryValue(const std::wstring& sRemoteComputer, std::int32_t hkey,
                                      const std::wstring& ValueName, const Variant& Value, std::int32_t DType,
                                      const std::optional<std::wstring>& KeyPath) {
  const std::string path = common::TextToAnsi(KeyPath ? *KeyPath : ObjectKeyPath());
  const KeyResult connection = Connect(sRemoteComputer, hkey);
  if (!connection.ok()) return false;
  const KeyResult opened = OpenKey(connection.key.get(), path, kKeyAllAccess);  // a missing key is not created
  return WriteValue(opened.key.get(), ValueName, Value, DType) == kErrorSuccess;
}

std::wstring winreg::TrimNull(std::wstring& Item) const {
  const std::size_t found = Item.find(L'\0');
  if (found == std::wstring::npos) return Item;
  const common::Int16 position = common::Int16::From(static_cast<std::int64_t>(found) + 1);
  Item.resize(static_cast<std::size_t>(position - 1));
  return Item;
}

}  // namespace registry
