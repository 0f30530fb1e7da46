#include "import/message_box_windows.h"

#include <windows.h>

namespace modMain::windows {

namespace {

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kCritical:
      return MB_ICONERROR;
    case MessageIcon::kExclamation:
      return MB_ICONWARNING;
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
  }
  return 0;
}

}  // namespace

void ShowMessageBox(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  const UINT style = MB_OK | MB_SETFOREGROUND | IconStyle(icon);
  // The run has nothing else to tell the user if even a box cannot be shown: its result is of no use.
  MessageBoxW(nullptr, text.c_str(), title.c_str(), style);
}

Choice AskRetryOrCancelBox(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  const UINT style = MB_RETRYCANCEL | MB_SETFOREGROUND | IconStyle(icon);
  return MessageBoxW(nullptr, text.c_str(), title.c_str(), style) == IDRETRY ? Choice::kRetry : Choice::kCancel;
}

Choice AskOkOrCancelBox(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  const UINT style = MB_OKCANCEL | MB_DEFBUTTON1 | MB_SETFOREGROUND | IconStyle(icon);
  return MessageBoxW(nullptr, text.c_str(), title.c_str(), style) == IDOK ? Choice::kOk : Choice::kCancel;
}

Choice AskYesOrNoBox(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  const UINT style = MB_YESNO | MB_DEFBUTTON2 | MB_SETFOREGROUND | IconStyle(icon);
  return MessageBoxW(nullptr, text.c_str(), title.c_str(), style) == IDYES ? Choice::kYes : Choice::kNo;
}

}  // namespace modMain::windows
