#pragma once
// Finding and reading the message boxes that another process shows, and telling its progress
// window apart from them.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "testbed/robot/icon.h"

namespace robot {

struct BoxReading {
  std::wstring title;
  std::wstring text;  // exactly as shown, line breaks included
  IconKind icon = IconKind::kNone;
  std::vector<std::wstring> buttons;  // captions without their & mnemonic marks
};

// What the shell's progress window (IProgressDialog) shows. Under Wine 8 it is a "#32770" like a
// message box; its children are an animation (id 100), the bar "msctls_progress32" (102), the
// static controls of line 1 (103), line 2 (104) and line 3 (105: the time remaining, or
// "Canceling..." once cancelled, when lines 1 and 2 are emptied), and the button Cancel (IDCANCEL).
struct ProgressReading {
  std::wstring title;
  std::wstring line1;
  std::wstring line2;
  int bar = 0;      // the bar's position (PBM_GETPOS)
  int bar_max = 0;  // and its upper limit (PBM_GETRANGE)
  bool operator==(const ProgressReading&) const = default;
};

// The visible dialogs ("#32770", the class of message boxes and of the progress window) of
// process `process_id`.
std::vector<HWND> FindDialogs(DWORD process_id);

// Whether the dialog is a message box: it has the static control 0xFFFF that holds every box's
// text. The progress window has none, and neither has any dialog that is gone by the time it is
// looked at (a progress window closing in between looks like an empty box otherwise).
bool IsMessageBox(HWND dialog);
// Whether the dialog is the shell's progress window (IProgressDialog): no message box, and it has
// a progress bar.
bool IsProgressWindow(HWND dialog);
// What the progress window shows now: its title and lines read with WM_GETTEXT, the bar's state
// with its own messages (all of which cross processes). A line the window lacks reads "".
ProgressReading ReadProgress(HWND window);

// Reads a box once it is drawn and stable on the screen: title, the text of its static control
// 0xFFFF (WM_GETTEXT crosses processes), its buttons, and the icon recognised from the pixels its
// SS_ICON control shows.
BoxReading ReadBox(HWND box);

// Presses OK as a click would report it: WM_COMMAND IDOK posted to the box.
void PressOk(HWND box);
// Presses the visible button whose caption, without & marks, is `caption`, as a click would report
// it: WM_COMMAND with the button's id. False when the box has no such button.
bool PressButton(HWND box, std::wstring_view caption);

// Caption text without mnemonic marks: "&OK" -> "OK", "&&" -> "&".
std::wstring StripMnemonics(std::wstring_view caption);

// The transcript's line for a box; with `time_ms`, when the robot saw it, as the last member.
std::string ReadingJson(const BoxReading& reading, std::optional<std::int64_t> time_ms = std::nullopt);

}  // namespace robot
