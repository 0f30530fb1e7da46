// KestrovaCartImport.exe: no window, no arguments; one import run per start. Exit code 0 for every
// expected end (including the messages about a missing cart, host or document), 1 after the
// unexpected-error report.
#include <windows.h>

#include <exception>

#include "common/com_windows.h"
#include "import/busy_retry.h"
#include "import/mod_main.h"
#include "import/system_message_windows.h"
#include "import/windows_platform_windows.h"

namespace {

int RunInApartment() {
  modMain::windows::WindowsPlatform platform;  // destroyed, with every reference it held, before the apartment
  modMain::SystemClock clock;
  modMain::BusyRetry busy_retry(platform, clock);  // repeats the calls a busy Brevanto refuses
  try {
    return modMain::Run(busy_retry);
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
