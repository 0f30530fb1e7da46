#pragma once
// What the test doubles of the platform share: the object ids they have handed out and not yet
// taken back, the releases of ids that were not live, and an emulated registry that names the
// Documents folder.
#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "common/runtime_error.h"
#include "import/platform.h"
#include "testbed/doubles/registry_emulation.h"

namespace modMain::testing {

// What the doubles raise for a file they do not hold.
inline constexpr common::ErrorCode kErrFileNotFound{53, L"File not found"};

class PlatformDouble : public Platform {
 public:
  registry::RegistryEmulation registry;
  std::size_t bad_releases = 0;  // releases of an id that was not live

  // Names `folder` as the current user's Documents folder, where GetMyDocumentsFolder reads it.
  // Throws std::runtime_error when the registry refuses.
  void SetDocumentsFolder(const std::wstring& folder);
  std::size_t LiveObjects() const { return live_.size(); }
  registry::RegistryApi& Registry() override { return registry; }

 protected:
  // A new live id for an object of `kind` (a name for the log; may be empty).
  ObjectId NewObject(std::wstring kind);
  // The kind of a live id; null when the id is not live.
  const std::wstring* KindOf(ObjectId object) const;
  // Takes the id back and gives its kind; nothing, and one more bad release, when it was not live.
  std::optional<std::wstring> TakeBack(ObjectId object) noexcept;

 private:
  std::map<ObjectId, std::wstring> live_;
  ObjectId next_id_ = 1;
};

}  // namespace modMain::testing
