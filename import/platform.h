#pragma once
// The one interface through which the import run reaches the world outside it: the quoting
// application's automation interface, the message box, the file system and the registry. The
// product implements it over COM, MessageBoxW and Win32 files (windows_platform_windows.h); the
// native tests implement it with a recording double.
//
// Failure style: every operation that can fail raises common::RuntimeError (number and
// description), except where a result type says otherwise (FileContent's open error) and
// ReleaseObject, which never fails. An automation call that the application refused because it is
// busy raises CallRejected: that call did not run, so it may be made again. A call that found the
// application gone raises HostGone.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/runtime_error.h"
#include "common/unique_any.h"
#include "common/variant.h"
#include "registry/registry_api.h"

namespace modMain {

// One reference to an automation object, handed out by the platform. 0 is no object.
using ObjectId = std::uint64_t;

enum class MessageIcon { kCritical, kExclamation, kInformation };
enum class Choice { kOk, kRetry, kCancel };

// The application refused an automation call because it is busy (a modal dialog open in it, say).
// The call did not run. Number and description are the platform's own for the refusal.
class CallRejected : public common::RuntimeError {
 public:
  using common::RuntimeError::RuntimeError;
};

// The application has gone away: it closed, or cut its clients off while closing. Only the
// platform's own result of a call says so; an error that the application raised itself, whatever
// its number, is an ordinary RuntimeError.
class HostGone : public common::RuntimeError {
 public:
  using common::RuntimeError::RuntimeError;
};

// An argument of a late-bound call: a value, or a reference to the caller's own text, which the
// callee may read and replace.
class Argument {
 public:
  static Argument Value(common::Variant value) { return Argument(std::move(value)); }
  static Argument Reference(std::wstring& text) { return Argument(&text); }

  bool by_reference() const { return std::holds_alternative<std::wstring*>(arg_); }
  const common::Variant& value() const { return std::get<common::Variant>(arg_); }
  std::wstring& reference() const { return *std::get<std::wstring*>(arg_); }

 private:
  explicit Argument(common::Variant value) : arg_(std::move(value)) {}
  explicit Argument(std::wstring* text) : arg_(text) {}
  std::variant<common::Variant, std::wstring*> arg_;
};

// A file's whole content. An open that failed comes back as `open_error`, with nothing opened and
// no bytes; failures after a successful open are raised instead.
struct FileContent {
  std::optional<common::RuntimeError> open_error;
  std::string bytes;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Automation. Each ObjectId returned is one reference that the caller must give back through
  // ReleaseObject exactly once (ObjectRef does that).
  //
  // The running object registered under `prog_id`; none is started.
  virtual ObjectId GetActiveObject(const std::wstring& prog_id) = 0;
  // Reads a property whose value is an object.
  virtual ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) = 0;
  // Calls a method whose result is not used.
  virtual void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) = 0;
  // Calls a method for its result.
  virtual common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) = 0;
  virtual void ReleaseObject(ObjectId object) noexcept = 0;

  // A modal message box with the single button OK; returns when the user has closed it.
  virtual void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) = 0;
  // A modal message box with the buttons Retry and Cancel; the user's choice. A box closed any
  // other way counts as Cancel.
  virtual Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) = 0;
  // A modal message box with the buttons OK (the default) and Cancel; the user's choice. A box
  // closed any other way counts as Cancel.
  virtual Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) = 0;

  // Files. The length of the file at `path`, without opening it.
  virtual std::int64_t FileLength(const std::wstring& path) = 0;
  // Opens the file shared (others may go on reading and writing it), reads all its bytes, closes it.
  virtual FileContent ReadAllShared(const std::wstring& path) = 0;
  // Whether `path` names a folder that is there. Never fails.
  virtual bool FolderExists(const std::wstring& path) = 0;

  // The registry backend for `winreg` objects.
  virtual registry::RegistryApi& Registry() = 0;
  // The current user's Documents folder as the shell names it, in UTF-16; nothing when the shell
  // cannot tell. Never fails.
  virtual std::optional<std::wstring> ShellDocumentsFolder() = 0;

  // One import at a time. Takes the lock named `name` for as long as this platform lives, unless
  // another process holds it: false then. A lock whose holder ended without giving it back (it
  // crashed, or was killed) is free. Call it once per platform.
  virtual bool TryLockImport(const std::wstring& name) = 0;
  // `path` as a full path: a relative one is taken from the current folder, "." and ".." are
  // resolved. Only the text is worked on; the file need not exist.
  virtual std::wstring FullPath(const std::wstring& path) = 0;
  // The arguments the program was started with, after its own name, in UTF-16.
  virtual std::vector<std::wstring> CommandLineArguments() = 0;
};

namespace platform_detail {
inline void Release(Platform* platform, ObjectId object) noexcept { platform->ReleaseObject(object); }
}  // namespace platform_detail

// Owner of one object reference obtained through a Platform: released through it exactly once, on
// every way out, also while an error passes through. The calls on the object go through it too.
class ObjectRef : public common::UniqueAny<ObjectId, &platform_detail::Release> {
 public:
  using UniqueAny::UniqueAny;

  static ObjectRef GetActive(Platform& platform, const std::wstring& prog_id) {
    return ObjectRef(&platform, platform.GetActiveObject(prog_id));
  }
  ObjectRef Get(const std::wstring& property) const {
    return ObjectRef(origin(), origin()->GetObjectProperty(get(), property));
  }
  void Call(const std::wstring& method, std::span<Argument> args = {}) const {
    origin()->CallMethod(get(), method, args);
  }
  common::Variant CallForValue(const std::wstring& method, std::span<Argument> args = {}) const {
    return origin()->CallForValue(get(), method, args);
  }
};

}  // namespace modMain
