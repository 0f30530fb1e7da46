#pragma once
// The stand-in's main window: a list of the open document's line items with their nine fields,
// refreshed whenever a paste changes the document.
#include <windows.h>

#include "testbed/standin/host.h"

namespace standin {

class MainWindow {
 public:
  explicit MainWindow(const Host& host) : host_(host) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates and shows the window. False when the window cannot be made.
  bool Create(HINSTANCE instance, int show);
  // Reloads the list from the document.
  void Refresh();
  // Closes the window after `milliseconds`, as a WM_CLOSE would.
  void CloseAfter(UINT milliseconds);
  HWND hwnd() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateList();

  const Host& host_;
  HWND window_ = nullptr;  // destroyed by the window manager's WM_CLOSE path, not by us
  HWND list_ = nullptr;    // a child: destroyed with the window
};

}  // namespace standin
