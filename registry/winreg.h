#pragma once
// `winreg`: general registry access. One object addresses one key through a root key (`hkey`), a
// key path under it (`KeyRoot`) and a further subkey path (`Subkey`); its methods test, create and
// delete keys and read and write values of that key.
//
// Two failure styles, kept apart:
//  - outcomes of the platform's registry functions come back as results (a Boolean, a text, a
//    result code or the caller's default value), exactly as each method states;
//  - runtime errors raised inside a method (a failed conversion, an overflow) are
//    common::RuntimeError exceptions that pass to the caller. No handle stays open either way.
#include <cstdint>
#include <string>

#include "common/variant.h"
#include "registry/key_handle.h"
#include "registry/registry_api.h"

namespace registry {

class winreg {
 public:
  // Works on the platform's registry (advapi32 on Windows, the process-wide emulation elsewhere).
  winreg();
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
  // Deletes the one key KeyRoot\KeyName; the platform's result code (0 on success).
  std::int32_t DeleteKey(const std::wstring& KeyName);
  // Deletes a value of the addressed key; 0 on success, else the failing step's result code.
  std::int32_t DeleteValue(const std::wstring& ValueName);
  // The value converted by its registry type, or a copy of DefaultValue (empty when omitted) when
  // the key or value cannot be read or its type or size has no conversion. A multi-string whose
  // first NUL lies beyond position 32,767 raises "Overflow".
  common::Variant GetRegistryValue(const std::wstring& ValueName,
                                   const common::Variant& DefaultValue = common::Variant::Omitted()) const;
  // Writes Value as type DType (1, 2, 7: text; 4: 32-bit integer; 3: byte array; other types write
  // nothing and succeed), creating the key when it does not open for writing. False when the key
  // cannot be opened or the platform refuses the write. A Value without the form DType needs
  // raises "Type mismatch" (or "Overflow" for an integer out of range) and writes nothing.
  bool SetRegistryValue(const std::wstring& ValueName, const common::Variant& Value, std::int32_t DType);
  // Cuts Item before its first NUL character and returns it; raises "Overflow", leaving Item as it
  // was, when that NUL lies beyond position 32,767.
  std::wstring TrimNull(std::wstring& Item) const;

 private:
  RegKey Root() const { return RootKey(hkey_); }
  // KeyRoot + "\" + name, in the ANSI code page.
  std::string PathTo(const std::wstring& name) const;
  KeyHandle Open(RegKey root, const std::string& path, DWORD access, RegStatus* status = nullptr) const;
  std::wstring CreateKeyNamed(const std::wstring& name);

  RegistryApi& api_;
  std::int32_t hkey_ = 0;
  std::wstring key_root_;
  std::wstring subkey_;
  SecurityAttributes security_attributes_{};  // all zero: default security, handle not inheritable
};

}  // namespace registry
