#include "import/system_message_windows.h"

#include "common/owners_windows.h"

namespace modMain::windows {

std::wstring SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const common::UniqueLocal owner(buffer);
  std::wstring message(buffer ? buffer : L"", length);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
  return message;
}

common::RuntimeError Win32Error(DWORD code) {
  return common::RuntimeError(static_cast<std::int32_t>(code), SystemMessage(code));
}

common::RuntimeError HresultError(HRESULT hr) {
  std::wstring description = SystemMessage(static_cast<DWORD>(hr));
  if (description.empty()) description = common::kErrAutomation.description;
  return common::RuntimeError(static_cast<std::int32_t>(hr), description);
}

}  // namespace modMain::windows
