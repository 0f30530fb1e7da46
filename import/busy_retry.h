#pragma once
// A platform that repeats the automation calls a busy application refuses, around the platform
// that makes them. A refused call did not run (CallRejected), so repeating it is safe; a call that
// failed any other way may have run and is never repeated.
//
// After the first refusal of a call it waits 50 ms, then twice as long each time up to 500 ms,
// and calls again, silently, for 10 s. If the application still refuses, the busy box asks the
// user: Retry starts another 10 s, Cancel raises RunCancelled (program.h). A call that is not refused costs
// nothing more: no wait, no clock reading.
#include <cstdint>
#include <optional>
#include <string>

#include "import/platform.h"
#include "import/program.h"

namespace modMain {

// Milliseconds on a monotonic clock, and waiting; the tests pass a clock that only counts.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
  virtual void SleepMs(std::int64_t milliseconds) = 0;
};

// std::chrono::steady_clock and std::this_thread::sleep_for.
class SystemClock final : public Clock {
 public:
  std::int64_t NowMs() override;
  void SleepMs(std::int64_t milliseconds) override;
};

inline constexpr std::int64_t kFirstWaitMs = 50;
inline constexpr std::int64_t kLongestWaitMs = 500;
inline constexpr std::int64_t kSilentRetryMs = 10000;
inline constexpr wchar_t kBusyText[] =
    L"Brevanto is busy and does not accept the import's requests. Close any open dialog in Brevanto, then choose "
    L"Retry. Choose Cancel to stop the import; nothing has been pasted into Brevanto yet.";

class BusyRetry final : public Platform {
 public:
  // Both must outlive this object.
  BusyRetry(Platform& platform, Clock& clock) : platform_(platform), clock_(clock) {}

  ObjectId GetActiveObject(const std::wstring& prog_id) override;
  ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) override;
  void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  void ReleaseObject(ObjectId object) noexcept override { platform_.ReleaseObject(object); }

  void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) override {
    platform_.ShowMessage(text, icon, title);
  }
  Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override {
    return platform_.AskRetryOrCancel(text, icon, title);
  }
  Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override {
    return platform_.AskOkOrCancel(text, icon, title);
  }
  std::int64_t FileLength(const std::wstring& path) override { return platform_.FileLength(path); }
  bool FolderExists(const std::wstring& path) override { return platform_.FolderExists(path); }
  FileContent ReadAllShared(const std::wstring& path) override { return platform_.ReadAllShared(path); }
  registry::RegistryApi& Registry() override { return platform_.Registry(); }
  std::optional<std::wstring> ShellDocumentsFolder() override { return platform_.ShellDocumentsFolder(); }
  bool TryLockImport(const std::wstring& name) override { return platform_.TryLockImport(name); }
  std::wstring FullPath(const std::wstring& path) override { return platform_.FullPath(path); }
  std::vector<std::wstring> CommandLineArguments() override { return platform_.CommandLineArguments(); }

 private:
  // Makes `call` until it is not refused; raises what it raises otherwise, or RunCancelled.
  template <typename Call>
  auto Retrying(Call call) -> decltype(call());
  // After a refusal: waits, or asks the user once the silent time since the first refusal is over.
  void AfterRefusal(std::optional<std::int64_t>& started, std::int64_t& wait);

  Platform& platform_;
  Clock& clock_;
};

}  // namespace modMain
