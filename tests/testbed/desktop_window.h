#pragma once
// For the suites that run the dialog robot on programs that show several message boxes in a row.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "common/owners_windows.h"

namespace testbed::testing {

// A window that stays on the display while the robot's programs come and go, as the user's
// desktop and Brevanto's window do in real use. Under Wine 8 with Wine managing the windows
// itself, a program whose last window closes on an otherwise empty display may later unmap that
// destroyed window again and die of the X error (BadWindow, X_UnmapWindow): a program that shows
// two boxes in a row then loses the second. It has its own thread, which answers its messages.
class DesktopWindow : public ::testing::Environment {
 public:
  void SetUp() override {
    const common::UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_ = std::thread([this, event = ready.get()] {
      HWND window = CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"desktop", WS_POPUP | WS_VISIBLE, 0, 0, 64, 32,
                                    nullptr, nullptr, nullptr, nullptr);
      thread_id_ = GetCurrentThreadId();
      SetEvent(event);
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
      DestroyWindow(window);
    });
    WaitForSingleObject(ready.get(), INFINITE);
  }
  void TearDown() override {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }

 private:
  std::thread thread_;
  DWORD thread_id_ = 0;
};

}  // namespace testbed::testing
