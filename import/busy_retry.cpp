#include "import/busy_retry.h"

#include <algorithm>
#include <optional>

namespace modMain {

template <typename Call>
auto BusyRetry::Retrying(Call call) -> decltype(call()) {
  std::optional<std::int64_t> started;  // none before the first refusal: the normal path never reads the clock
  std::int64_t wait = kFirstWaitMs;
  for (;;) {
    try {
      return call();
    } catch (const CallRejected&) {
      AfterRefusal(started, wait);
    }
  }
}

void BusyRetry::AfterRefusal(std::optional<std::int64_t>& started, std::int64_t& wait) {
  const std::int64_t now = clock_.NowMs();
  if (!started) started = now;
  const std::int64_t left = *started + kSilentRetryMs - now;
  if (left > 0) {
    clock_.SleepMs(std::min(wait, left));  // the last wait ends when the silent time does
    wait = std::min(wait * 2, kLongestWaitMs);
    progress_.Check();
    return;
  }
  // The box can only come before the paste went through: a refused paste did not run, and after
  // it the run makes no call that can be refused. So "nothing has been pasted" holds.
  progress_.Hide();
  if (desk_.AskRetryOrCancel(texts_.Say(Message::kBusy), MessageIcon::kExclamation, kAppTitle) == Choice::kCancel) {
    throw RunCancelled{};
  }
  progress_.Resume();
  started = clock_.NowMs();
  wait = kFirstWaitMs;
}

ObjectId BusyRetry::GetActiveObject(const std::wstring& prog_id) {
  return Retrying([&] { return automation_.GetActiveObject(prog_id); });
}

ObjectId BusyRetry::GetObjectProperty(ObjectId object, const std::wstring& property) {
  return Retrying([&] { return automation_.GetObjectProperty(object, property); });
}

void BusyRetry::CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Retrying([&] { automation_.CallMethod(object, method, args); });
}

common::Variant BusyRetry::CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  return Retrying([&] { return automation_.CallForValue(object, method, args); });
}

}  // namespace modMain
