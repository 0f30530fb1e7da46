#pragma once
// The user's desk as the import run reaches it: message boxes, the file system, the shell's
// Documents folder, the import lock, the command line, the registry, the display language and the
// user's time format. The product implements it over MessageBoxW, Win32 files, the shell and
// advapi32 (desk_windows.h); the native tests with recording doubles.
//
// Failure style: every operation that can fail raises common::RuntimeError (number and
// description), except where a result type or the operation says otherwise.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "registry/registry_api.h"

namespace modMain {

enum class MessageIcon { kCritical, kExclamation, kInformation };
enum class Choice { kOk, kRetry, kCancel, kYes, kNo };

// A file's whole content. An open that failed comes back as `open_error`, with nothing opened and
// no bytes; failures after a successful open are raised instead.
struct FileContent {
  std::optional<common::RuntimeError> open_error;
  std::string bytes;
};

class Desk {
 public:
  virtual ~Desk() = default;

  // A modal message box with the single button OK; returns when the user has closed it.
  virtual void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) = 0;
  // A modal message box with the buttons Retry and Cancel; the user's choice. A box closed any
  // other way counts as Cancel.
  virtual Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) = 0;
  // A modal message box with the buttons OK (the default) and Cancel; the user's choice. A box
  // closed any other way counts as Cancel.
  virtual Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) = 0;
  // A modal message box with the buttons Yes and No (the default); the user's choice. A box closed
  // any other way counts as No.
  virtual Choice AskYesOrNo(const std::wstring& text, MessageIcon icon, const std::wstring& title) = 0;

  // Files. The length of the file at `path`, without opening it.
  virtual std::int64_t FileLength(const std::wstring& path) = 0;
  // Opens the file shared (others may go on reading and writing it), reads all its bytes, closes it.
  virtual FileContent ReadAllShared(const std::wstring& path) = 0;
  // Whether `path` names a folder that is there. Never fails.
  virtual bool FolderExists(const std::wstring& path) = 0;
  // `path` as a full path: a relative one is taken from the current folder, "." and ".." are
  // resolved. Only the text is worked on; the file need not exist.
  virtual std::wstring FullPath(const std::wstring& path) = 0;

  // The registry backend for `winreg` objects.
  virtual registry::RegistryApi& Registry() = 0;
  // The current user's Documents folder as the shell names it, in UTF-16; nothing when the shell
  // cannot tell. Never fails.
  virtual std::optional<std::wstring> ShellDocumentsFolder() = 0;

  // One import at a time. Takes the lock named `name` for as long as this desk lives, unless
  // another process holds it: false then. A lock whose holder ended without giving it back (it
  // crashed, or was killed) is free. Call it once per desk.
  virtual bool TryLockImport(const std::wstring& name) = 0;
  // The arguments the program was started with, after its own name, in UTF-16.
  virtual std::vector<std::wstring> CommandLineArguments() = 0;
  // The user's Windows display language, as a LANGID (0x0407 for de-DE). Never fails.
  virtual std::uint16_t UserDisplayLanguage() = 0;
  // The time of day of `utc_seconds` (seconds since 1970-01-01 00:00 UTC) in the user's time zone,
  // hours and minutes in the user's regional format ("14:32", "2:32 PM"). Never fails.
  virtual std::wstring LocalTimeOfDay(std::int64_t utc_seconds) = 0;
};

}  // namespace modMain
