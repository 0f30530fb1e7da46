#pragma once
// The Documents folder, and the cart in it.
#include <optional>
#include <string>

#include "import/desk.h"
#include "registry/registry_api.h"

namespace modMain {

// The cart's name in the folder, with the backslash that joins the two.
inline constexpr wchar_t kCartFileName[] = L"\\ShoppingCart.csv";
// Where the Documents folder is named: the value "Personal" of this key under HKEY_CURRENT_USER.
inline constexpr wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr wchar_t kDocumentsValue[] = L"Personal";

// The "Personal" folder of the current user's shell folders, without one trailing backslash; the
// empty text when it cannot be read. Only reads the registry; raises what `winreg` raises.
std::wstring GetMyDocumentsFolder(registry::RegistryApi& api);
// Where the cart of the Documents folder is, or where the user should have put it.
struct DocumentsCart {
  std::wstring path;
  bool found = false;
};
// The cart in the Documents folder `folder` (as GetMyDocumentsFolder gives it). That folder comes
// through the registry's ANSI functions, which turn a character outside the ANSI code page into
// another ("Dokumenty Łukasz" into "Dokumenty Lukasz"): when it holds no cart, the folder as the
// shell names it in UTF-16 is tried too, if it is another one. When neither holds one, the path
// to tell the user is the registry's, unless the registry named no folder, or one that is not
// there, and the shell named another: then the shell's, where Explorer shows the user's
// Documents.
DocumentsCart FindDocumentsCart(Desk& desk, const std::wstring& folder);

}  // namespace modMain
