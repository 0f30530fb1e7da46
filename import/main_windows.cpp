// KestrovaCartImport.exe: no window, no arguments; one import run per start. Exit code 0 for every
// expected end (including the messages about a missing cart, host or document), 1 after the
// unexpected-error report.
#include "import/busy_retry.h"
#include "import/mod_main.h"
#include "import/windows_platform_windows.h"

#include <windows.h>

#include <exception>

#include "import/system_message_windows.h"

namespace {

int RunInApartment() {
  modMain::windows::WindowsPlatform platform;  // destroyed, with every reference it held, before CoUninitialize
  modMain::SystemClock clock;
  modMain::BusyRetry busy_retry(platform, clock);  // repeats the calls a busy Brevanto refuses
  try {
    return modMain::Run(busy_retry);
  } catch (const _com_error& error) {
    modMain::ReportUnexpectedError(platform, modMain::windows::HresultError(error.Error()));
  } catch (const std::exception&) {
    modMain::ReportUnexpectedError(platform, common::RuntimeError(51, L"Internal error"));
  }
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(init)) {
    modMain::windows::WindowsPlatform platform;
    modMain::ReportUnexpectedError(platform, modMain::windows::HresultError(init));
    return 1;
  }
  const int exit_code = RunInApartment();
  CoUninitialize();
  return exit_code;
}
