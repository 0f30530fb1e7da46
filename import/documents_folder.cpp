// The Documents folder from the registry, and the cart in it or in the folder the shell names.
#include "import/documents_folder.h"

#include "common/text.h"
#include "common/variant.h"
#include "import/cart_file.h"
#include "import/cart_text.h"
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

std::optional<std::wstring> FindDocumentsCart(Platform& platform, const std::wstring& folder) {
  const std::wstring path = folder + kCartFileName;
  if (FileExists(platform, path)) return path;
  std::optional<std::wstring> shell = platform.ShellDocumentsFolder();
  if (!shell || shell->empty()) return std::nullopt;
  if (shell->back() == L'\\') shell = DropRight(*shell, 1);
  if (common::TextEqualsIgnoreCase(*shell, folder)) return std::nullopt;
  std::wstring shell_path = *shell + kCartFileName;
  if (FileExists(platform, shell_path)) return shell_path;
  return std::nullopt;
}

}  // namespace modMain
