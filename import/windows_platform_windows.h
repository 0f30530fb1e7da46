#pragma once
// The platform of the product: COM automation, MessageBoxW, Win32 files and advapi32. Create it on
// a thread that has entered a single-threaded apartment, and destroy it before leaving it.
#include "common/owners_windows.h"
#include "import/automation_windows.h"
#include "import/platform.h"

namespace modMain::windows {

class WindowsPlatform final : public Platform {
 public:
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
  registry::RegistryApi& Registry() override;
  std::optional<std::wstring> ShellDocumentsFolder() override;
  bool TryLockImport(const std::wstring& name) override;
  std::wstring FullPath(const std::wstring& path) override;
  std::vector<std::wstring> CommandLineArguments() override;

 private:
  ComAutomation automation_;
  // The import lock: the mutex, and this thread's ownership of it, given back before the handle
  // is closed. Should the process end without that, the system gives the mutex up as abandoned.
  common::UniqueHandle lock_mutex_;
  common::UniqueMutexOwnership lock_held_;
};

}  // namespace modMain::windows
