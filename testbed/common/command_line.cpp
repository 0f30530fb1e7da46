#include "testbed/common/command_line.h"

#include <windows.h>

#include <shellapi.h>  // after <windows.h>, whose types it uses

#include <cerrno>
#include <cmath>
#include <cwchar>
#include <cwctype>

#include "common/owners_windows.h"
#include "testbed/common/utf8.h"

namespace testbed {

std::vector<std::wstring> ProcessArguments() {
  int count = 0;
  LPWSTR* raw = CommandLineToArgvW(GetCommandLineW(), &count);
  const common::UniqueLocal owner(static_cast<HLOCAL>(raw));  // the array and its strings are one allocation
  std::vector<std::wstring> arguments;
  for (int i = 0; raw != nullptr && i < count; ++i) arguments.emplace_back(raw[i]);
  return arguments;
}

std::wstring QuoteArgument(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    return std::wstring(argument);
  }
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as escapes only before a quote: there each one is doubled and the quote
    // itself escaped; anywhere else they stand as they are.
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');  // they come before the closing quote
  return out + L"\"";
}

std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments) {
  std::wstring out;
  for (const auto& argument : arguments) {
    if (!out.empty()) out += L' ';
    out += QuoteArgument(argument);
  }
  return out;
}

std::optional<long long> ParseInteger(std::wstring_view text) {
  std::wstring copy(text);
  if (copy.empty() || std::iswspace(copy.front())) return std::nullopt;
  wchar_t* end = nullptr;
  errno = 0;
  long long value = std::wcstoll(copy.c_str(), &end, 10);
  if (errno != 0 || end != copy.c_str() + copy.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseDecimal(std::wstring_view text) {
  std::wstring copy(text);
  if (copy.empty() || std::iswspace(copy.front())) return std::nullopt;
  wchar_t* end = nullptr;
  errno = 0;
  double value = std::wcstod(copy.c_str(), &end);
  if (errno != 0 || end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool StartProcess(const std::wstring& command_line, DWORD flags, const wchar_t* folder, PROCESS_INFORMATION& started) {
  constexpr int kTries = 3;
  for (int attempt = 1;; ++attempt) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started = {};
    // CreateProcessW may write into the command line, so each try gets a fresh copy.
    std::wstring writable = command_line;
    if (CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, flags, nullptr, folder, &startup, &started)) {
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == kTries) return false;
    ReportError(L"the new process died while it was set up (error 1359); starting it again: " + command_line);
    Sleep(200);
  }
}

void ReportError(std::wstring_view message) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
  const std::string text = Utf8(message) + "\n";
  DWORD written = 0;
  WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace testbed
