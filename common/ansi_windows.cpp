#include <windows.h>

#include <climits>

#include "common/ansi.h"

namespace common {

std::wstring AnsiToText(std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  // Carts and registry values are far below INT_MAX bytes; anything larger is cut, not overrun.
  const int size = bytes.size() > INT_MAX ? INT_MAX : static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), needed);
  return text;
}

std::string TextToAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

}  // namespace common
