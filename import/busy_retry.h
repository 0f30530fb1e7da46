#pragma once
// An automation that repeats the calls a busy application refuses, around the automation that
// makes them. A refused call did not run (CallRejected), so repeating it is safe; a call that
// failed any other way may have run and is never repeated.
//
// After the first refusal of a call it waits 50 ms, then twice as long each time up to 500 ms,
// and calls again, silently, for 10 s; the progress window gets its check between the waits. If
// the application still refuses, the busy box asks the user, the progress window closed meanwhile:
// Retry starts another 10 s, the window back at once; Cancel raises RunCancelled (program.h). A
// call that is not refused costs nothing more: no wait, no clock reading.
#include <cstdint>
#include <optional>
#include <string>

#include "import/automation.h"
#include "import/clock.h"
#include "import/desk.h"
#include "import/program.h"
#include "import/progress.h"

namespace modMain {

inline constexpr std::int64_t kFirstWaitMs = 50;
inline constexpr std::int64_t kLongestWaitMs = 500;
inline constexpr std::int64_t kSilentRetryMs = 10000;

class BusyRetry final : public Automation {
 public:
  // All must outlive this object. The busy box is asked on `desk`, in the language of `texts`.
  BusyRetry(Automation& automation, Desk& desk, Clock& clock, Progress& progress, const Texts& texts)
      : automation_(automation), desk_(desk), clock_(clock), progress_(progress), texts_(texts) {}

  ObjectId GetActiveObject(const std::wstring& prog_id) override;
  ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) override;
  void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  void ReleaseObject(ObjectId object) noexcept override { automation_.ReleaseObject(object); }

 private:
  // Makes `call` until it is not refused; raises what it raises otherwise, or RunCancelled.
  template <typename Call>
  auto Retrying(Call call) -> decltype(call());
  // After a refusal: waits, or asks the user once the silent time since the first refusal is over.
  void AfterRefusal(std::optional<std::int64_t>& started, std::int64_t& wait);

  Automation& automation_;
  Desk& desk_;
  Clock& clock_;
  Progress& progress_;
  const Texts& texts_;
};

}  // namespace modMain
