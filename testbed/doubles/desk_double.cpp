#include "testbed/doubles/desk_double.h"

#include <stdexcept>

#include "import/documents_folder.h"
#include "registry/registry_access.h"

namespace modMain::testing {

void DeskDouble::SetDocumentsFolder(const std::wstring& folder) {
  registry::winreg reg(registry);
  reg.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
  reg.KeyRoot(kShellFoldersKey);
  if (!reg.SetRegistryValue(kDocumentsValue, folder, 1)) throw std::runtime_error("cannot set the Documents folder");
}

}  // namespace modMain::testing
