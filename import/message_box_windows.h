#pragma once
// The message boxes of the import run: MessageBoxW, modal, no owner window; the single button OK,
// or Retry and Cancel, OK and Cancel, Yes and No.
#include <string>

#include "import/desk.h"

namespace modMain::windows {

// Returns when the user has closed the box.
void ShowMessageBox(const std::wstring& text, MessageIcon icon, const std::wstring& title);
// Returns the user's choice; a box that ends any other way (Esc, closed, no box at all) is Cancel.
Choice AskRetryOrCancelBox(const std::wstring& text, MessageIcon icon, const std::wstring& title);
// OK is the default button; a box that ends any other way than with OK is Cancel.
Choice AskOkOrCancelBox(const std::wstring& text, MessageIcon icon, const std::wstring& title);
// No is the default button; a box that ends any other way than with Yes is No.
Choice AskYesOrNoBox(const std::wstring& text, MessageIcon icon, const std::wstring& title);

}  // namespace modMain::windows
