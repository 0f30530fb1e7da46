#pragma once
// A recording double of the import run's platform: files, a quoting application with DocFunctions
// and ItemFunctions that can be busy, message boxes and an emulated registry. It writes every call into `log` in
// a compact text form, hands out object ids, and checks that each id is released exactly once.
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "common/variant.h"
#include "testbed/doubles/platform_double.h"
#include "tests/support/error_number.h"

namespace modMain::testing {

// The registry is the double's emulated one; SetDocumentsFolder stores the "Personal" shell folder.
class RecordingDouble final : public PlatformDouble {
 public:
  // --- The world the run meets.
  std::map<std::wstring, std::string> files;                // path -> bytes
  std::map<std::wstring, common::RuntimeError> unopenable;  // present, but the open fails
  std::map<std::wstring, common::RuntimeError> unreadable;  // the open works, the read fails
  bool host_running = true;
  common::Variant document_index = std::int32_t{0};
  std::optional<std::wstring> shell_documents;  // the shell's Documents folder; nothing: it cannot tell
  // Makes the `nth` call (from 1) of `member` raise `error`; members are property and method
  // names, and "GetActiveObject".
  template <typename Error>  // common::RuntimeError, or HostGone: the application went away
  void FailOn(const std::wstring& member, int nth, Error error) {
    failures_.insert_or_assign({member, nth}, std::make_exception_ptr(std::move(error)));
  }
  // Makes the `nth` call of `member` be refused as busy (CallRejected) `times` times before it
  // runs; a refused call is logged but not counted.
  void RejectOn(const std::wstring& member, int nth, int times);
  // The user's answers to the busy box and the columns box, in order; Cancel when none is left.
  std::vector<Choice> answers;
  std::set<std::wstring> folders;       // folders that are there, besides those that hold a file
  std::vector<std::wstring> arguments;  // the command line's, after the program name
  bool lock_held_elsewhere = false;     // another import holds the import lock
  std::wstring current_folder = L"C:\\Users\\tester\\Downloads";  // where relative paths start

  // --- What the run did. Entries: "FileLength P", "ReadAllShared P", "GetActiveObject ID",
  // "ShellDocumentsFolder", "Get Object.Property", "Call Object.Method(args)" (text "..", by
  // reference &".."), "Release Object", "Box icon [title] text", "Ask icon [title] text" (the
  // Retry/Cancel box), "Choose icon [title] text" (the OK/Cancel box), "TryLockImport NAME",
  // "FullPath P", "FolderExists P".
  std::vector<std::wstring> log;
  std::vector<std::wstring> Messages() const;  // the "Box ..." and "Choose ..." entries

  ObjectId GetActiveObject(const std::wstring& prog_id) override;
  ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) override;
  void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  void ReleaseObject(ObjectId object) noexcept override;
  void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  std::int64_t FileLength(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  FileContent ReadAllShared(const std::wstring& path) override;
  std::optional<std::wstring> ShellDocumentsFolder() override;
  bool TryLockImport(const std::wstring& name) override;
  std::vector<std::wstring> CommandLineArguments() override { return arguments; }
  // A path that starts with a drive ("C:\") or a server ("\\") as it is; any other after the
  // current folder.
  std::wstring FullPath(const std::wstring& path) override;

 private:
  const std::wstring& LiveKindOf(ObjectId object) const;
  Choice Answer(const wchar_t* kind, const std::wstring& text, MessageIcon icon, const std::wstring& title);
  void Count(const std::wstring& member);
  void Invoke(ObjectId object, const std::wstring& method, std::span<Argument> args);

  std::map<std::wstring, int> calls_;
  std::map<std::pair<std::wstring, int>, std::exception_ptr> failures_;
  std::map<std::pair<std::wstring, int>, int> rejections_;  // refusals left
};

using testing_support::ErrorNumberOf;

}  // namespace modMain::testing
