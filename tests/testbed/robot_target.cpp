// A program for the robot's tests: shows known message boxes (after a dialog that is none),
// echoes its arguments in one, asks Retry or Cancel, counts items in a progress window, or hangs.
// Its exit code is chosen by the test, or tells at which item the progress window was cancelled.
#include <windows.h>

#include <string>
#include <vector>

#include "common/com_windows.h"
#include "testbed/common/command_line.h"

namespace {

// The arguments after the program's own name.
std::vector<std::wstring> Arguments() {
  std::vector<std::wstring> arguments = testbed::ProcessArguments();
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

// The shell's progress window as the importer shows it, owned by no window: COUNT items, one every
// STEP_MS, then the paste, then a box that tells how it ended. Returns the item at which Cancel was
// seen, 0 when it was not, 65 when there is no progress window to show.
int CountItems(long long count, DWORD step_ms) {
  const common::ComApartment com = common::EnterApartment();
  IProgressDialogPtr progress;
  if (!com || FAILED(progress.CreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER))) return 65;
  progress->SetTitle(L"Kestrova Cart Import");
  progress->SetLine(1, L"Importing the Kestrova shopping cart into Brevanto", FALSE, nullptr);
  progress->StartProgressDialog(nullptr, nullptr, PROGDLG_NORMAL | PROGDLG_AUTOTIME, nullptr);
  const std::wstring of = L" of " + std::to_wstring(count);
  long long cancelled_at = 0;
  for (long long item = 1; item <= count && cancelled_at == 0; ++item) {
    progress->SetLine(2, (L"Item " + std::to_wstring(item) + of).c_str(), FALSE, nullptr);
    progress->SetProgress64(item, count);
    Sleep(step_ms);
    if (progress->HasUserCancelled()) cancelled_at = item;
  }
  if (cancelled_at == 0) {
    progress->SetLine(2, (L"Pasting " + std::to_wstring(count) + L" items into Brevanto").c_str(), FALSE, nullptr);
    Sleep(step_ms);
  }
  progress->StopProgressDialog();
  const std::wstring text = cancelled_at ? L"Cancelled at item " + std::to_wstring(cancelled_at)
                                         : std::to_wstring(count) + L" items imported";
  MessageBoxW(nullptr, text.c_str(), L"Kestrova Cart Import", MB_OK | MB_SETFOREGROUND);
  return static_cast<int>(cancelled_at);
}

// A dialog that is no message box, shown for `ms`: no text, no buttons, as the progress window
// looks in the moment it goes. The robot must leave it out of the transcript.
void ShowBlankDialog(DWORD ms) {
  struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, window_class, title;  // none; the dialog class; no title
  } blank{{WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 10, 10, 120, 40}, 0, 0, 0};
  HWND dialog = CreateDialogIndirectW(GetModuleHandleW(nullptr), &blank.dialog, nullptr,
                                      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; });
  for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(10)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DestroyWindow(dialog);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::wstring> arguments = Arguments();
  if (arguments.size() == 2 && arguments[0] == L"--boxes") {
    ShowBlankDialog(1000);
    MessageBoxW(nullptr, L"3 Kestrova Shopping Cart Items have been imported into Brevanto.", L"Kestrova Cart Import",
                MB_OK | MB_ICONINFORMATION);
    MessageBoxW(nullptr, L"First line\r\nSecond \"quoted\" line\r\n\r\nC:\\Docs\\ShoppingCart.csv\tend",
                L"Brevanto API \u00fcber \u20ac", MB_OK | MB_ICONEXCLAMATION);
    MessageBoxW(nullptr, L"Brevanto is not running.", L"Critical", MB_OK | MB_ICONHAND);
    MessageBoxW(nullptr, L"Go on?", L"Question", MB_OK | MB_ICONQUESTION);
    MessageBoxW(nullptr, L"No icon here", L"Plain", MB_OK);
    return std::stoi(arguments[1]);
  }
  if (!arguments.empty() && arguments[0] == L"--echo") {
    std::wstring text;
    for (std::size_t i = 1; i < arguments.size(); ++i) text += L"[" + arguments[i] + L"]";
    MessageBoxW(nullptr, text.c_str(), L"echo", MB_OK);
    return 0;
  }
  if (arguments.size() == 1 && arguments[0] == L"--ask") {
    // The styles of the importer's own busy box and the box after it.
    const int answer = MessageBoxW(nullptr, L"Busy?", L"Ask", MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND);
    MessageBoxW(nullptr, L"Done", L"After", MB_OK | MB_SETFOREGROUND);
    return answer;
  }
  if (arguments.size() == 3 && arguments[0] == L"--progress") {
    const auto count = testbed::ParseInteger(arguments[1]);
    const auto step_ms = testbed::ParseInteger(arguments[2]);
    if (count && step_ms && *count > 0 && *step_ms >= 0) return CountItems(*count, static_cast<DWORD>(*step_ms));
  }
  if (arguments.size() == 1 && arguments[0] == L"--hang") {
    Sleep(120000);  // far beyond any test's timeout; the robot is expected to kill us
    return 0;
  }
  return 64;
}
