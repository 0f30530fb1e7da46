#pragma once
// The progress window of the product: the shell's progress dialog (IProgressDialog), owned by no
// window, which draws and answers its Cancel button on a thread of its own. Create it on a thread
// that has entered a single-threaded apartment, and destroy it before leaving it.
#include "common/com_windows.h"
#include "import/progress.h"

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
