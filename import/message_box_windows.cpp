#include "import/message_box_windows.h"

#include <windows.h>

namespace modMain::windows {

void ShowMessageBox(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  UINT style = MB_OK | MB_SETFOREGROUND;
  switch (icon) {
    case MessageIcon::kCritical:
      style |= MB_ICONERROR;
      break;
    case MessageIcon::kExclamation:
      style |= MB_ICONWARNING;
      break;
    case MessageIcon::kInformation:
      style |= MB_ICONINFORMATION;
      break;
  }
  // The run has nothing else to tell the user if even a box cannot be shown: its result is of no use.
  MessageBoxW(nullptr, text.c_str(), title.c_str(), style);
}

}  // namespace modMain::windows
