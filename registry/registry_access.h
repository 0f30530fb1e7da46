#pragma once
// `winreg`: general registry access. One object addresses one key through a root key (`hkey`), a
// key path under it (`KeyRoot`) and a further subkey path (`Subkey`); its methods test, create and
// delete keys and read and write values of that key.
//
// Two failure styles, kept apart:
//  - outcomes of the platform's registry functions come back as results (a Boolean, a text, a
//    result code or the caller's default value), exactly as each method states;
//  - runtime errors raised inside a method (a failed conversion, an overflow) are
//    common::RuntimeError exceptions that pass to the caller. No handle stays open either way, and
//    no method closes a handle it did not open.
//
// Names, paths and string data reach the platform in the ANSI code page. A character that code page
// lacks is converted as the platform converts it (a best-fit look-alike or "?"), so such a name may
// address another key or value than the one written; it is passed on, not refused.
#include <cstdint>
#include <string>
#include <vector>

#include <optional>

#include "common/collection.h"
#include "common/variant.h"
#include "registry/key_handle.h"
#include "registry/registry_api.h"

namespace registry {

class winreg {
 public:
  // Works on `api`, which must outlive the object.
  explicit winreg(RegistryApi& api);

  // The addressed key in words: the root key's name, "\", KeyRoot, "\", Subkey. Never fails.
  std::wstring KeyFullPath() const;
  std::int32_t hkey() const;
  void hkey(std::int32_t vData);
  std::wstring KeyRoot() const;
  void KeyRoot(const std::wstring& vData);
  std::wstring Subkey() const;
  void Subkey(const std::wstring& vData);

  // True when the addressed key opens for reading.
  bool KeyExists() const;
  // Creates KeyRoot\KeyName (KeyName omitted: KeyRoot\Subkey) with every missing key on the way.
  // "0" when the key was created or already existed, the empty text otherwise. A given KeyName is
  // written back as text; one without a text form raises "Type mismatch" with nothing opened.
  std::wstring CreateKey();
  std::wstring CreateKey(common::Variant& KeyName);
  // Deletes the one key KeyRoot\KeyName; the platform's result code (0 on success). KeyName ""
  // gives the path KeyRoot + "\", which names KeyRoot itself: DeleteKey("") deletes KeyRoot.
  std::int32_t DeleteKey(const std::wstring& KeyName);
  // Deletes a value of the addressed key; 0 on success, else the failing step's result code.
  std::int32_t DeleteValue(const std::wstring& ValueName);
  // The subkeys of `KeyName` under `hkey` (a predefined root or an open key; KeyName empty: `hkey`
  // itself, which is then not closed), as an ordered collection of names keyed by themselves. A key
  // that does not open gives an empty collection; a failing request ends the listing.
  common::Collection EnumRegistryKeys(std::int32_t hkey, const std::wstring& KeyName) const;
  // The values of that key as two-element arrays (name, converted data), keyed by name. Raises
  // "Overflow" for binary data over 32,767 bytes or an expansion the platform cannot deliver whole
  // (32,767 characters or more), and the collection's error for a name listed twice; the collection
  // is then discarded.
  common::Collection EnumRegistryValues(std::int32_t hkey, const std::wstring& KeyName) const;
  // The value converted by its registry type, or a copy of DefaultValue (empty when omitted) when
  // the key or value cannot be read (a second read that fails included) or its type or size has no
  // conversion. A multi-string whose first NUL lies beyond position 32,767, and an expansion the
  // platform cannot deliver whole, raise "Overflow".
  common::Variant GetRegistryValue(const std::wstring& ValueName,
                                   const common::Variant& DefaultValue = common::Variant::Omitted()) const;
  // Writes Value as type DType (1, 2, 7: text; 4: 32-bit integer; 3: byte array; other types write
  // nothing and succeed), creating the key when it does not open for writing. False when the key
  // cannot be opened or the platform refuses the write. A Value without the form DType needs
  // raises "Type mismatch" (or "Overflow" for an integer out of range) and writes nothing.
  bool SetRegistryValue(const std::wstring& ValueName, const common::Variant& Value, std::int32_t DType);
  // Reads a value from another computer's registry: root `hkey` there, KeyPath under it (omitted:
  // KeyRoot\Subkey; empty: the root itself), opened with full access. The text "Error!" when no
  // connection is made; empty when the key does not open or the value cannot be read or converted.
  // A connection to the own computer may hand back `hkey` itself: then it stays open, as it was.
  common::Variant ReadRemoteRegistryValue(const std::wstring& sRemoteComputer, std::int32_t hkey,
                                          const std::wstring& ValueName,
                                          const std::optional<std::wstring>& KeyPath = std::nullopt) const;
  // Writes a value there as SetRegistryValue does, without creating a missing key. False when no
  // connection is made, the key does not open or the platform refuses the write.
  bool WriteRemoteRegistryValue(const std::wstring& sRemoteComputer, std::int32_t hkey, const std::wstring& ValueName,
                                const common::Variant& Value, std::int32_t DType,
                                const std::optional<std::wstring>& KeyPath = std::nullopt);
  // Cuts Item before its first NUL character and returns it; raises "Overflow", leaving Item as it
  // was, when that NUL lies beyond position 32,767.
  std::wstring TrimNull(std::wstring& Item) const;

 private:
  RegKey Root() const { return RootKey(hkey_); }
  // KeyRoot + "\" + name, in the ANSI code page.
  std::string PathTo(const std::wstring& name) const;
  // The one way the methods open a key: RegOpenKeyExA with options 0, the key and the result code
  // together. A handle the platform hands back unchanged stays open when the result goes.
  KeyResult OpenKey(RegKey parent, const std::string& path, DWORD access) const;
  std::wstring CreateKeyNamed(const std::wstring& name);
  // Reads a value of an open key into `result` by the conversion table; leaves it as it was when
  // nothing can be read or converted.
  void ReadValue(RegKey key, const std::wstring& ValueName, common::Variant& result) const;
  // Writes a value by DType into `key` (0 when the key did not open: the write then fails without
  // a platform call, after the conversion). ERROR_SUCCESS for a DType that writes nothing.
  RegStatus WriteValue(RegKey key, const std::wstring& ValueName, const common::Variant& Value,
                       std::int32_t DType) const;
  // The key a listing reads: KeyName under `hkey`, or `hkey` itself (borrowed) when KeyName is empty.
  KeyResult OpenForListing(std::int32_t hkey, const std::wstring& KeyName) const;
  common::Variant ListedData(DWORD type, const std::vector<std::uint8_t>& data, DWORD size) const;
  // Connects to root `hkey` of another computer's registry.
  KeyResult Connect(const std::wstring& sRemoteComputer, std::int32_t hkey) const;
  std::wstring ObjectKeyPath() const { return key_root_ + L"\\" + subkey_; }

  RegistryApi& api_;
  std::int32_t hkey_ = 0;
  std::wstring key_root_;
  std::wstring subkey_;
  SecurityAttributes security_attributes_{};  // all zero: default security, handle not inheritable
};

}  // namespace registry
