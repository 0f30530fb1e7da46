#pragma once
// Recording doubles of the import run's partners, writing every call into one shared log in a
// compact text form: a quoting application with DocFunctions and ItemFunctions that can be busy,
// slow or failing (RecordingHost); a desk with files, message boxes and an emulated registry
// (RecordingDesk); a progress window (RecordingWindow). RecordingDouble puts the three together
// with a clock of its own, which only the host's calls move on. The host hands out object ids and
// checks that each is released exactly once.
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "common/variant.h"
#include "import/mod_main.h"
#include "testbed/doubles/automation_double.h"
#include "testbed/doubles/desk_double.h"
#include "testbed/doubles/fake_clock.h"
#include "tests/support/error_number.h"

namespace modMain::testing {

using Log = std::vector<std::wstring>;

// Entries: "GetActiveObject ID", "Get Object.Property", "Call Object.Method(args)" (text "..", by
// reference &".."), "Release Object".
class RecordingHost : public AutomationDouble {
 public:
  RecordingHost(Log& log, Clock& clock) : log_(log), clock_(clock) {}

  bool host_running = true;
  common::Variant document_index = std::int32_t{0};
  std::int64_t ms_per_call = 0;  // how long each property read and method call takes on the clock
  // Makes the `nth` call (from 1) of `member` raise `error`; members are property and method
  // names, and "GetActiveObject".
  template <typename Error>  // common::RuntimeError, or HostGone: the application went away
  void FailOn(const std::wstring& member, int nth, Error error) {
    failures_.insert_or_assign({member, nth}, std::make_exception_ptr(std::move(error)));
  }
  // Makes the `nth` call of `member` be refused as busy (CallRejected) `times` times before it
  // runs; a refused call is logged but not counted.
  void RejectOn(const std::wstring& member, int nth, int times);

  ObjectId GetActiveObject(const std::wstring& prog_id) override;
  ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) override;
  void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  void ReleaseObject(ObjectId object) noexcept override;

 private:
  const std::wstring& LiveKindOf(ObjectId object) const;
  void Count(const std::wstring& member);
  void Invoke(ObjectId object, const std::wstring& method, std::span<Argument> args);

  Log& log_;
  Clock& clock_;
  std::map<std::wstring, int> calls_;
  std::map<std::pair<std::wstring, int>, std::exception_ptr> failures_;
  std::map<std::pair<std::wstring, int>, int> rejections_;  // refusals left
};

// Entries: "FileLength P", "ReadAllShared P", "FolderExists P", "FullPath P",
// "ShellDocumentsFolder", "Box icon [title] text", "Ask icon [title] text" (the Retry/Cancel box),
// "Choose icon [title] text" (the OK/Cancel box), "Question icon [title] text" (the Yes/No box),
// "TryLockImport NAME", "LocalTimeOfDay SECONDS" (answered with the time of day in UTC),
// "UserDisplayLanguage".
class RecordingDesk : public DeskDouble {
 public:
  explicit RecordingDesk(Log& log) : log_(log) {}

  std::map<std::wstring, std::string> files;                // path -> bytes
  std::map<std::wstring, common::RuntimeError> unopenable;  // present, but the open fails
  std::map<std::wstring, common::RuntimeError> unreadable;  // the open works, the read fails
  std::set<std::wstring> folders;                           // folders that are there, besides those that hold a file
  std::optional<std::wstring> shell_documents;              // the shell's Documents folder; nothing: it cannot tell
  // The user's answers to the boxes that ask, in order; Cancel (No) when none is left.
  std::vector<Choice> answers;
  std::vector<std::wstring> arguments;                            // the command line's, after the program name
  bool lock_held_elsewhere = false;                               // another import holds the import lock
  std::wstring current_folder = L"C:\\Users\\tester\\Downloads";  // where relative paths start

  void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  std::int64_t FileLength(const std::wstring& path) override;
  FileContent ReadAllShared(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  // A path that starts with a drive ("C:\") or a server ("\\") as it is; any other after the
  // current folder.
  std::wstring FullPath(const std::wstring& path) override;
  std::optional<std::wstring> ShellDocumentsFolder() override;
  bool TryLockImport(const std::wstring& name) override;
  std::vector<std::wstring> CommandLineArguments() override { return arguments; }
  std::uint16_t UserDisplayLanguage() override;
  Choice AskYesOrNo(const std::wstring& text, MessageIcon icon, const std::wstring& title) override {
    return Answer(L"Question", text, icon, title);
  }
  std::wstring LocalTimeOfDay(std::int64_t utc_seconds) override {
    log_.push_back(L"LocalTimeOfDay " + std::to_wstring(utc_seconds));
    return std::to_wstring(utc_seconds / 3600 % 24) + L":" + std::to_wstring(100 + utc_seconds / 60 % 60).substr(1);
  }

 private:
  Choice Answer(const wchar_t* kind, const std::wstring& text, MessageIcon icon, const std::wstring& title);
  Log& log_;
};

// Entries: "Window show [title] first line", "Window 'second line' done/total", "Window
// cancelled? yes|no", "Window close".
class RecordingWindow : public ProgressWindow {
 public:
  explicit RecordingWindow(Log& log) : log_(log) {}

  // The user presses Cancel once the second line reads this (nothing: never).
  std::optional<std::wstring> cancel_at;

  void Show(const std::wstring& title, const std::wstring& first_line) override;
  void Update(const std::wstring& second_line, std::uint64_t done, std::uint64_t total) override;
  bool Cancelled() override;
  void Close() noexcept override;

 private:
  Log& log_;
  bool pressed_ = false;
};

struct CallLog {
  Log log;
  Log Messages() const;  // the "Box ...", "Choose ..." and "Question ..." entries
};

class RecordingDouble : public CallLog, public RecordingHost, public RecordingDesk, public RecordingWindow {
 public:
  RecordingDouble() : RecordingHost(log, clock), RecordingDesk(log), RecordingWindow(log) {}
  RecordingDouble(const RecordingDouble&) = delete;
  RecordingDouble& operator=(const RecordingDouble&) = delete;

  Partners partners() { return partners(*this); }
  // The partners with `automation` in place of the host, a BusyRetry around it say.
  Partners partners(Automation& automation) { return {automation, *this, progress, clock, texts}; }

  FakeClock clock;  // the progress window's; the host's calls move it on by ms_per_call
  Texts texts{Language::kEnglish};
  Progress progress{*this, clock, texts};
};

using testing_support::ErrorNumberOf;

}  // namespace modMain::testing
