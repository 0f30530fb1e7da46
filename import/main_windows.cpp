// KestrovaCartImport.exe [PATH]: one import run per start, of the cart at PATH or, without it, of
// the one in the Documents folder; no window of its own but the shell's progress dialog of a long
// import. Exit code 0 for every expected end (including the messages about a missing cart, host
// or document), 1 after the unexpected-error report, when the run was refused (too many
// arguments, another import running, a file that is no cart), when the user cancelled it and when
// the user chose not to import a cart again that was imported a moment ago.
#include <windows.h>

#include "common/com_windows.h"
#include "import/automation_windows.h"
#include "import/busy_retry.h"
#include "import/desk_windows.h"
#include "import/dll_search_windows.h"
#include "import/language_choice.h"
#include "import/mod_main.h"
#include "import/progress_windows.h"
#include "import/system_message_windows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything loads a DLL. Should the system refuse, the import runs as it would have.
  modMain::windows::LoadDllsFromSystemFolderOnly();
  HRESULT init = S_OK;
  const common::ComApartment apartment = common::EnterApartment(&init);
  // All destroyed before the apartment: every reference held, the window and the import lock.
  modMain::windows::WindowsDesk desk;
  // Once per run: what the user reads, in their display language or the one their settings name.
  const modMain::Texts texts(modMain::ChooseLanguage(desk));
  if (!apartment) {
    modMain::ReportUnexpectedError(desk, texts, {.error = modMain::windows::HresultError(init)});
    return 1;
  }
  modMain::windows::ComAutomation automation;
  modMain::windows::ShellProgressWindow window;
  modMain::SystemClock clock;
  modMain::Progress progress(window, clock, texts);
  // Repeats the calls a busy Brevanto refuses.
  modMain::BusyRetry busy_retry(automation, desk, clock, progress, texts);
  return modMain::Run({busy_retry, desk, progress, clock, texts});
}
