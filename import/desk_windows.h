#pragma once
// The desk of the product: MessageBoxW, Win32 files, the shell, a mutex, advapi32 and the user's
// time zone and time format. Create it on a thread that has entered a single-threaded apartment
// (the shell's folder lookup is COM), and destroy it before leaving it.
#include "common/owners_windows.h"
#include "import/desk.h"

namespace modMain::windows {

class WindowsDesk final : public Desk {
 public:
  void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  Choice AskYesOrNo(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  std::int64_t FileLength(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  FileContent ReadAllShared(const std::wstring& path) override;
  registry::RegistryApi& Registry() override;
  std::optional<std::wstring> ShellDocumentsFolder() override;
  bool TryLockImport(const std::wstring& name) override;
  std::wstring FullPath(const std::wstring& path) override;
  std::vector<std::wstring> CommandLineArguments() override;
  std::uint16_t UserDisplayLanguage() override;
  // SystemTimeToTzSpecificLocalTime, then GetTimeFormatEx with TIME_NOSECONDS.
  std::wstring LocalTimeOfDay(std::int64_t utc_seconds) override;

 private:
  // The import lock: the mutex, and this thread's ownership of it, given back before the handle
  // is closed. Should the process end without that, the system gives the mutex up as abandoned.
  common::UniqueHandle lock_mutex_;
  common::UniqueMutexOwnership lock_held_;
};

}  // namespace modMain::windows
