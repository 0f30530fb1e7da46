#pragma once
// Finding and reading the message boxes that another process shows, and telling its progress
// window apart from them.
#include <windows.h>

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

// The visible dialogs ("#32770", the class of message boxes and of the progress window) of
// process `process_id`.
std::vector<HWND> FindDialogs(DWORD process_id);

// Whether the dialog is the shell's progress window (IProgressDialog), not a message box: it has
// a progress bar and lacks the static control 0xFFFF that holds every message box's text.
bool IsProgressWindow(HWND dialog);

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

std::string ReadingJson(const BoxReading& reading);

}  // namespace robot
