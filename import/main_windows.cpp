// KestrovaCartImport.exe [PATH]: no window; one import run per start, of the cart at PATH or, without
// it, of the one in the Documents folder. Exit code 0 for every expected end (including the
// messages about a missing cart, host or document), 1 after the unexpected-error report and when
// the run was refused (too many arguments, another import running).
#include <windows.h>

#include "common/com_windows.h"
#include "import/busy_retry.h"
#include "import/dll_search_windows.h"
#include "import/mod_main.h"
#include "import/system_message_windows.h"
#include "import/windows_platform_windows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything loads a DLL. Should the system refuse, the import runs as it would have.
  modMain::windows::LoadDllsFromSystemFolderOnly();
  HRESULT init = S_OK;
  const common::ComApartment apartment = common::EnterApartment(&init);
  // Destroyed, with every reference it held and the import lock, before the apartment.
  modMain::windows::WindowsPlatform platform;
  if (!apartment) {
    modMain::ReportUnexpectedError(platform, {.error = modMain::windows::HresultError(init)});
    return 1;
  }
  modMain::SystemClock clock;
  modMain::BusyRetry busy_retry(platform, clock);  // repeats the calls a busy Brevanto refuses
  return modMain::Run(busy_retry);
}
