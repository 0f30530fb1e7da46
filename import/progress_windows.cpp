#include "import/progress_windows.h"

namespace modMain::windows {

void ShellProgressWindow::Show(const std::wstring& title, const std::wstring& first_line) {
  Close();
  // A fresh dialog each time: one that was stopped cannot be started again. Whatever fails here
  // leaves the import without a window, never without its items.
  IProgressDialogPtr dialog;
  if (FAILED(dialog.CreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER))) return;
  dialog->SetTitle(title.c_str());
  dialog->SetLine(1, first_line.c_str(), FALSE, nullptr);
  // The Cancel button stays; no minimize button (the program has no other window to come back to),
  // no estimate of the time left, which the count says better.
  if (FAILED(dialog->StartProgressDialog(nullptr, nullptr, PROGDLG_NORMAL | PROGDLG_NOMINIMIZE, nullptr))) return;
  dialog_.Attach(dialog.Detach());
}

void ShellProgressWindow::Update(const std::wstring& second_line, std::uint64_t done, std::uint64_t total) {
  if (!dialog_) return;
  dialog_->SetLine(2, second_line.c_str(), FALSE, nullptr);
  dialog_->SetProgress64(done, total);
}

bool ShellProgressWindow::Cancelled() { return dialog_ && dialog_->HasUserCancelled(); }

void ShellProgressWindow::Close() noexcept {
  if (!dialog_) return;
  dialog_->StopProgressDialog();
  dialog_ = nullptr;
}

}  // namespace modMain::windows
