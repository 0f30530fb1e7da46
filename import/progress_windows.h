#pragma once
// The progress window of the product: the shell's progress dialog (IProgressDialog), owned by no
// window, which draws and answers its Cancel button on a thread of its own. Create it on a thread
// that has entered a single-threaded apartment, and destroy it before leaving it.
#include <windows.h>

#include <shlobj.h>

#include "common/com_windows.h"
#include "import/progress.h"

// mingw-w64 10 declares the interface without its __uuidof, which _com_ptr_t needs.
__CRT_UUID_DECL(IProgressDialog, 0xEBBC7C04, 0x315E, 0x11d2, 0xB6, 0x2F, 0x00, 0x60, 0x97, 0xDF, 0x5B, 0xD4)
_COM_SMARTPTR_TYPEDEF(IProgressDialog, __uuidof(IProgressDialog));

namespace modMain::windows {

class ShellProgressWindow final : public ProgressWindow {
 public:
  ShellProgressWindow() = default;
  ~ShellProgressWindow() override { Close(); }
  ShellProgressWindow(const ShellProgressWindow&) = delete;
  ShellProgressWindow& operator=(const ShellProgressWindow&) = delete;

  void Show(const std::wstring& title, const std::wstring& first_line) override;
  void Update(const std::wstring& second_line, std::uint64_t done, std::uint64_t total) override;
  bool Cancelled() override;
  void Close() noexcept override;

 private:
  IProgressDialogPtr dialog_;  // null while no window is shown
};

}  // namespace modMain::windows
