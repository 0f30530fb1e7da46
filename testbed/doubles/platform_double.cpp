#include "testbed/doubles/platform_double.h"

#include <stdexcept>
#include <utility>

#include "import/documents_folder.h"
#include "registry/registry_access.h"

namespace modMain::testing {

void PlatformDouble::SetDocumentsFolder(const std::wstring& folder) {
  registry::winreg reg(registry);
  reg.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
  reg.KeyRoot(kShellFoldersKey);
  if (!reg.SetRegistryValue(kDocumentsValue, folder, 1)) throw std::runtime_error("cannot set the Documents folder");
}

ObjectId PlatformDouble::NewObject(std::wstring kind) {
  live_.emplace(next_id_, std::move(kind));
  return next_id_++;
}

const std::wstring* PlatformDouble::KindOf(ObjectId object) const {
  const auto it = live_.find(object);
  return it == live_.end() ? nullptr : &it->second;
}

std::optional<std::wstring> PlatformDouble::TakeBack(ObjectId object) noexcept {
  const auto it = live_.find(object);
  if (it == live_.end()) {
    ++bad_releases;
    return std::nullopt;
  }
  std::optional<std::wstring> kind(std::move(it->second));
  live_.erase(it);
  return kind;
}

}  // namespace modMain::testing
