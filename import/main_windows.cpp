// KestrovaCartImport.exe [PATH]: no window; one import run per start, of the cart at PATH or, without
// it, of the one in the Documents folder. Exit code 0 for every expected end (including the
// messages about a missing cart, host or document), 1 after the unexpected-error report and when
// the run was refused (too many arguments, another import running).
#include <windows.h>

#include <shellapi.h>  // after <windows.h>, whose types it uses

#include <exception>
#include <string>
#include <vector>

#include "common/com_windows.h"
#include "common/owners_windows.h"
#include "import/busy_retry.h"
#include "import/mod_main.h"
#include "import/system_message_windows.h"
#include "import/windows_platform_windows.h"

namespace {

// The command line's arguments after the program name, read as UTF-16 so that paths outside the
// ANSI code page come through. Raises the platform's error when the line cannot be split.
std::vector<std::wstring> Arguments() {
  int count = 0;
  wchar_t** const argv = CommandLineToArgvW(GetCommandLineW(), &count);
  const common::UniqueLocal owner(argv);
  if (argv == nullptr) throw modMain::windows::Win32Error(GetLastError());
  return std::vector<std::wstring>(argv + (count > 0 ? 1 : 0), argv + count);
}

int RunInApartment() {
  // Destroyed, with every reference it held and the import lock, before the apartment.
  modMain::windows::WindowsPlatform platform;
  modMain::SystemClock clock;
  modMain::BusyRetry busy_retry(platform, clock);  // repeats the calls a busy Brevanto refuses
  try {
    return modMain::Run(busy_retry, Arguments());
  } catch (const common::RuntimeError& error) {
    modMain::ReportUnexpectedError(platform, error);
  } catch (const _com_error& error) {
    modMain::ReportUnexpectedError(platform, modMain::windows::HresultError(error.Error()));
  } catch (const std::exception&) {
    modMain::ReportUnexpectedError(platform, common::RuntimeError(common::kErrInternal));
  }
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HRESULT init = S_OK;
  const common::ComApartment apartment = common::EnterApartment(&init);
  if (!apartment) {
    modMain::windows::WindowsPlatform platform;
    modMain::ReportUnexpectedError(platform, modMain::windows::HresultError(init));
    return 1;
  }
  return RunInApartment();
}
