#include "import/progress.h"

#include <utility>

#include "import/program.h"

namespace modMain {

void Progress::Begin(std::size_t count) {
  End();
  state_ = State::kWaiting;
  began_ms_ = clock_.NowMs();
  total_ = count;
  cancelled_ = false;
  Set(L"", 0);
}

void Progress::Item(std::size_t item) {
  Set(L"Item " + std::to_wstring(item) + L" of " + std::to_wstring(total_), item - 1);
  Check();
}

void Progress::Pasting() {
  Set(L"Pasting " + std::to_wstring(total_) + L" items into Brevanto", total_);
  Check();
}

void Progress::Check() {
  if (state_ == State::kWaiting && clock_.NowMs() - began_ms_ >= kProgressDelayMs) Show();
}

bool Progress::Cancelled() {
  if (state_ == State::kShown && !cancelled_) cancelled_ = window_.Cancelled();
  return cancelled_;
}

void Progress::Hide() {
  if (state_ != State::kShown) return;
  Cancelled();  // a Cancel chosen before the box still counts
  window_.Close();
  state_ = State::kHidden;
}

void Progress::Resume() {
  if (state_ == State::kHidden) {
    Show();
  } else {
    Check();
  }
}

void Progress::End() noexcept {
  if (state_ == State::kShown) window_.Close();
  state_ = State::kIdle;
}

void Progress::Show() {
  window_.Show(kAppTitle, kProgressFirstLine);
  state_ = State::kShown;
  if (!second_line_.empty()) window_.Update(second_line_, done_, total_);
}

void Progress::Set(std::wstring second_line, std::uint64_t done) {
  second_line_ = std::move(second_line);
  done_ = done;
  if (state_ == State::kShown) window_.Update(second_line_, done_, total_);
}

}  // namespace modMain
