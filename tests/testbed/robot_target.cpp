// A program for the robot's tests: shows known message boxes, echoes its arguments in one, asks
// Retry or Cancel, or hangs. Its exit code is chosen by the test.
#include <windows.h>

#include <string>
#include <vector>

#include "testbed/common/command_line.h"

namespace {

// The arguments after the program's own name.
std::vector<std::wstring> Arguments() {
  std::vector<std::wstring> arguments = testbed::ProcessArguments();
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::wstring> arguments = Arguments();
  if (arguments.size() == 2 && arguments[0] == L"--boxes") {
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
  if (arguments.size() == 1 && arguments[0] == L"--hang") {
    Sleep(120000);  // far beyond any test's timeout; the robot is expected to kill us
    return 0;
  }
  return 64;
}
