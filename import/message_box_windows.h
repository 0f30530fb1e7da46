#pragma once
// The message box of the import run: MessageBoxW, modal, no owner window, the single button OK.
#include <string>

#include "import/platform.h"

namespace modMain::windows {

// Returns when the user has closed the box.
void ShowMessageBox(const std::wstring& text, MessageIcon icon, const std::wstring& title);

}  // namespace modMain::windows
