#include "registry/winreg.h"

#include <array>
#include <vector>

#include "common/ansi.h"
#include "common/int16.h"
#include "common/runtime_error.h"

namespace registry {
namespace {

using common::Variant;

constexpr DWORD kFirstReadSize = 1024;

std::wstring RootName(std::int32_t hkey) {
  static constexpr std::array<const wchar_t*, 7> kNames = {
      L"HKEY_CLASSES_ROOT",     L"HKEY_CURRENT_USER",   L"HKEY_LOCAL_MACHINE", L"HKEY_USERS",
      L"HKEY_PERFORMANCE_DATA", L"HKEY_CURRENT_CONFIG", L"HKEY_DYN_DATA"};
  const std::uint32_t index = static_cast<std::uint32_t>(hkey) - 0x80000000u;
  return index < kNames.size() ? kNames[index] : L"{Unknown root key}";
}

std::wstring Text(const std::vector<std::uint8_t>& buffer, std::size_t bytes) {
  return common::AnsiToText(std::string_view(reinterpret_cast<const char*>(buffer.data()), bytes));
}

// The expansion of `source` (cut at its first NUL, as the platform reads it) with this process's
// environment, without the terminator.
std::wstring Expand(RegistryApi& api, const std::wstring& source) {
  const std::string ansi = common::TextToAnsi(source);
  const DWORD needed = api.ExpandEnvironmentStringsA(ansi.c_str(), nullptr, 0);
  std::string expanded(needed, '\0');
  if (needed > 0) api.ExpandEnvironmentStringsA(ansi.c_str(), expanded.data(), needed);
  // The environment may change between the two calls: take what is there, never more.
  expanded.resize(std::min(expanded.find('\0'), expanded.size()));
  return common::AnsiToText(expanded);
}

}  // namespace

winreg::winreg() : winreg(PlatformRegistry()) {}
winreg::winreg(RegistryApi& api) : api_(api) {}

std::wstring winreg::KeyFullPath() const { return RootName(hkey_) + L"\\" + key_root_ + L"\\" + subkey_; }
std::int32_t winreg::hkey() const { return hkey_; }
void winreg::hkey(std::int32_t vData) { hkey_ = vData; }
std::wstring winreg::KeyRoot() const { return key_root_; }
void winreg::KeyRoot(const std::wstring& vData) { key_root_ = vData; }
std::wstring winreg::Subkey() const { return subkey_; }
void winreg::Subkey(const std::wstring& vData) { subkey_ = vData; }

std::string winreg::PathTo(const std::wstring& name) const { return common::TextToAnsi(key_root_ + L"\\" + name); }

KeyHandle winreg::Open(RegKey root, const std::string& path, DWORD access, RegStatus* status) const {
  RegKey key = 0;
  const RegStatus rc = api_.RegOpenKeyExA(root, path.c_str(), 0, access, &key);
  if (status) *status = rc;
  return KeyHandle(api_, rc, key);
}

bool winreg::KeyExists() const {
  RegStatus rc = ERROR_SUCCESS;
  const KeyHandle key = Open(Root(), PathTo(subkey_), KEY_READ, &rc);
  return rc == ERROR_SUCCESS;
}

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
  const RegStatus rc = api_.RegCreateKeyExA(Root(), PathTo(name).c_str(), 0, no_class, REG_OPTION_NON_VOLATILE,
                                            KEY_ALL_ACCESS, &security_attributes_, &created, &disposition);
  const KeyHandle key(api_, rc, created);
  return rc == ERROR_SUCCESS ? L"0" : L"";
}

std::int32_t winreg::DeleteKey(const std::wstring& KeyName) {
  return api_.RegDeleteKeyA(Root(), PathTo(KeyName).c_str());
}

std::int32_t winreg::DeleteValue(const std::wstring& ValueName) {
  RegStatus rc = ERROR_SUCCESS;
  const KeyHandle key = Open(Root(), PathTo(subkey_), KEY_ALL_ACCESS, &rc);
  if (rc != ERROR_SUCCESS) return rc;
  return api_.RegDeleteValueA(key.get(), common::TextToAnsi(ValueName).c_str());
}

Variant winreg::GetRegistryValue(const std::wstring& ValueName, const Variant& DefaultValue) const {
  Variant result = DefaultValue.IsOmitted() ? Variant() : DefaultValue;
  RegStatus rc = ERROR_SUCCESS;
  const KeyHandle key = Open(Root(), PathTo(subkey_), KEY_READ, &rc);
  if (rc != ERROR_SUCCESS) return result;

  const std::string name = common::TextToAnsi(ValueName);
  std::vector<std::uint8_t> buffer(kFirstReadSize, 0);
  DWORD type = REG_NONE;
  DWORD size = kFirstReadSize;
  rc = api_.RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, buffer.data(), &size);
  if (rc == ERROR_MORE_DATA) {
    buffer.assign(size, 0);  // read again into exactly the reported size
    rc = api_.RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, buffer.data(), &size);
  }
  if (rc == ERROR_FILE_NOT_FOUND) return result;
  // A value that grew between the two reads (234 again) left the buffer without data, and a
  // reported size beyond the buffer cannot be believed: keep the initial result.
  if (rc == ERROR_MORE_DATA || size > buffer.size()) return result;

  switch (type) {
    case REG_DWORD: {
      std::uint32_t number = 0;
      for (std::size_t i = 0; i < 4 && i < buffer.size(); ++i) number |= std::uint32_t{buffer[i]} << (8 * i);
      result = Variant(static_cast<std::int32_t>(number));
      break;
    }
    case REG_SZ:
      if (size >= 1) result = Variant(Text(buffer, size - 1));
      break;
    case REG_EXPAND_SZ:
      if (size >= 1) result = Variant(Expand(api_, Text(buffer, size - 1)));
      break;
    case REG_BINARY:
      if (size >= 1) {
        buffer.resize(size);
        result = Variant(common::ByteArray{0, std::move(buffer)});
      }
      break;
    case REG_MULTI_SZ:
      if (size >= 2) {
        std::wstring list = Text(buffer, size - 2);
        std::wstring first = list;
        if (!TrimNull(first).empty()) result = Variant(std::move(list));
      }
      break;
    default:
      break;
  }
  return result;
}

bool winreg::SetRegistryValue(const std::wstring& ValueName, const Variant& Value, std::int32_t DType) {
  RegStatus rc = ERROR_SUCCESS;
  KeyHandle key = Open(Root(), PathTo(subkey_), KEY_WRITE, &rc);
  if (rc != ERROR_SUCCESS) {
    CreateKey();
    key = Open(Root(), PathTo(subkey_), KEY_WRITE, &rc);
    if (rc != ERROR_SUCCESS) return false;
  }

  const std::string name = common::TextToAnsi(ValueName);
  RegStatus written = ERROR_SUCCESS;
  switch (DType) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
      // Multi-strings carry their own NUL separators; the one added here closes the list.
      std::string data = common::TextToAnsi(common::ToText(Value));
      data.push_back('\0');
      written =
          api_.RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(DType),
                              reinterpret_cast<const std::uint8_t*>(data.data()), static_cast<DWORD>(data.size()));
      break;
    }
    case REG_DWORD: {
      const auto number = static_cast<std::uint32_t>(common::ToInt32(Value));
      const std::array<std::uint8_t, 4> data = {
          static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
      written = api_.RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, data.data(), 4);
      break;
    }
    case REG_BINARY: {
      // Whatever the array's lower bound, its elements go out from the lowest index up.
      const std::vector<std::uint8_t>& data = common::ToByteArray(Value).bytes;
      written = api_.RegSetValueExA(key.get(), name.c_str(), 0, REG_BINARY, data.empty() ? nullptr : data.data(),
                                    static_cast<DWORD>(data.size()));
      break;
    }
    default:
      break;  // no such type to write: nothing is written and the write counts as done
  }
  return written == ERROR_SUCCESS;
}

std::wstring winreg::TrimNull(std::wstring& Item) const {
  const std::size_t found = Item.find(L'\0');
  if (found == std::wstring::npos) return Item;
  const common::Int16 position = common::Int16::From(static_cast<std::int64_t>(found) + 1);
  Item.resize(static_cast<std::size_t>(position - 1));
  return Item;
}

}  // namespace registry
