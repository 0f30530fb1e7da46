#include "import/progress.h"

#include <algorithm>

#include "import/program.h"

namespace modMain {

void Progress::Begin(std::size_t count) {
  End();
  state_ = count > 0 ? State::kWaiting : State::kIdle;  // a cart without items has nothing to show
  began_ms_ = clock_.NowMs();
  total_ = count;
  item_ = 0;
  pasting_ = false;
  cancelled_ = false;
}

void Progress::Item(std::size_t item) {
  item_ = item;
  if (state_ == State::kShown && clock_.NowMs() - told_ms_ >= kProgressUpdateMs) Tell();
  Check();
}

void Progress::Pasting() {
  pasting_ = true;
  if (state_ == State::kShown) Tell();
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
  if (state_ != State::kHidden) {
    Check();
  } else if (!cancelled_) {
    Show();
  }  // once cancelled, the window stays away: the run ends when the line does
}

void Progress::End() noexcept {
  if (state_ == State::kShown) window_.Close();
  state_ = State::kIdle;
}

void Progress::Show() {
  window_.Show(kAppTitle, texts_.Say(Message::kProgressFirstLine));
  state_ = State::kShown;
  Tell();
}

void Progress::Tell() {
  told_ms_ = clock_.NowMs();
  if (pasting_) {
    window_.Update(texts_.Say(Message::kProgressPasting, total_), total_, total_);
  } else {
    const std::uint64_t item = std::max<std::uint64_t>(item_, 1);  // before the first is sent, it is the one due
    window_.Update(texts_.Say(Message::kProgressItem, item, total_), item - 1, total_);
  }
}

}  // namespace modMain
