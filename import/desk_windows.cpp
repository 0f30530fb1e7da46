#include "import/desk_windows.h"

#include <shellapi.h>  // after <windows.h>, whose types it uses

#include <string>
#include <utility>

#include "import/files_windows.h"
#include "import/message_box_windows.h"
#include "import/system_message_windows.h"
#include "registry/platform_registry_windows.h"

namespace modMain::windows {

void WindowsDesk::ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  ShowMessageBox(text, icon, title);
}
Choice WindowsDesk::AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  return AskRetryOrCancelBox(text, icon, title);
}
Choice WindowsDesk::AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  return AskOkOrCancelBox(text, icon, title);
}
Choice WindowsDesk::AskYesOrNo(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  return AskYesOrNoBox(text, icon, title);
}
std::int64_t WindowsDesk::FileLength(const std::wstring& path) { return FileLengthOf(path); }
bool WindowsDesk::FolderExists(const std::wstring& path) { return IsFolder(path); }
FileContent WindowsDesk::ReadAllShared(const std::wstring& path) { return ReadAllSharedBytes(path); }
registry::RegistryApi& WindowsDesk::Registry() { return registry::PlatformRegistry(); }
std::optional<std::wstring> WindowsDesk::ShellDocumentsFolder() { return ShellDocumentsFolderPath(); }

bool WindowsDesk::TryLockImport(const std::wstring& name) {
  if (lock_held_) return true;
  // Only the access that taking and giving back need: an import started elevated makes a mutex
  // that others may not open with full access. One they may not open at all is held by such an
  // import, and is told as held.
  common::UniqueHandle mutex(CreateMutexExW(nullptr, name.c_str(), 0, SYNCHRONIZE | MUTEX_MODIFY_STATE));
  if (!mutex) {
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED) return false;
    throw Win32Error(error);
  }
  switch (WaitForSingleObject(mutex.get(), 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its holder ended without giving it back; the mutex is ours now
      break;
    case WAIT_TIMEOUT:
      return false;
    default:
      throw Win32Error(GetLastError());
  }
  lock_mutex_ = std::move(mutex);
  lock_held_.reset(lock_mutex_.get());
  return true;
}

std::wstring WindowsDesk::FullPath(const std::wstring& path) { return FullPathOf(path); }

std::vector<std::wstring> WindowsDesk::CommandLineArguments() {
  // Split from the UTF-16 command line, so that paths outside the ANSI code page come through.
  int count = 0;
  wchar_t** const argv = CommandLineToArgvW(GetCommandLineW(), &count);
  const common::UniqueLocal owner(argv);
  if (argv == nullptr) throw Win32Error(GetLastError());
  return std::vector<std::wstring>(argv + (count > 0 ? 1 : 0), argv + count);
}

std::uint16_t WindowsDesk::UserDisplayLanguage() { return GetUserDefaultUILanguage(); }

std::wstring WindowsDesk::LocalTimeOfDay(std::int64_t utc_seconds) {
  // A FILETIME counts 100 ns since 1601-01-01 UTC, 11,644,473,600 s before 1970.
  const auto ticks = static_cast<std::uint64_t>(utc_seconds + 11'644'473'600) * 10'000'000u;
  const FILETIME file_time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  // The time zone's offset on that day (daylight saving time or not), not today's.
  if (!FileTimeToSystemTime(&file_time, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
  wchar_t text[80] = {};
  if (GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, text, 80) > 0) return text;
  const auto two_digits = [](WORD n) {
    return std::wstring{static_cast<wchar_t>(L'0' + n / 10 % 10), static_cast<wchar_t>(L'0' + n % 10)};
  };
  return two_digits(local.wHour) + L":" + two_digits(local.wMinute);
}

}  // namespace modMain::windows
