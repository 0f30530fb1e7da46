// The Documents folder from the registry, and the cart in it or in the folder the shell names.
#include "import/documents_folder.h"

#include "common/text.h"
#include "common/variant.h"
#include "import/cart_file.h"
#include "import/text_helpers.h"
#include "registry/registry_access.h"

namespace modMain {

std::wstring GetMyDocumentsFolder(registry::RegistryApi& api) {
  registry::winreg reg(api);
  reg.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
  reg.KeyRoot(kShellFoldersKey);
  reg.Subkey(L"");
  std::wstring folder = common::ToText(reg.GetRegistryValue(kDocumentsValue));
  if (!folder.empty() && folder.back() == L'\\') folder = DropRight(folder, 1);
  return folder;
}

DocumentsCart FindDocumentsCart(Desk& desk, const std::wstring& folder) {
  const std::wstring path = folder + kCartFileName;
  if (FileExists(desk, path)) return {path, true};
  std::optional<std::wstring> shell = desk.ShellDocumentsFolder();
  if (!shell || shell->empty()) return {path, false};
  if (shell->back() == L'\\') shell = DropRight(*shell, 1);
  if (common::TextEqualsIgnoreCase(*shell, folder)) return {path, false};
  std::wstring shell_path = *shell + kCartFileName;
  if (FileExists(desk, shell_path)) return {shell_path, true};
  if (folder.empty() || !desk.FolderExists(folder)) return {shell_path, false};
  return {path, false};
}

}  // namespace modMain
