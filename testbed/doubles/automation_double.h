#pragma once
// What the doubles of the quoting application's automation share: the object ids they have handed
// out and not yet taken back, and the releases of ids that were not live.
#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "import/automation.h"

namespace modMain::testing {

class AutomationDouble : public Automation {
 public:
  std::size_t bad_releases = 0;  // releases of an id that was not live

  std::size_t LiveObjects() const { return live_.size(); }

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
