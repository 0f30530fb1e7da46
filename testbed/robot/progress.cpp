#include "testbed/robot/progress.h"

#include "testbed/common/command_line.h"
#include "testbed/common/item_line.h"

namespace robot {
namespace {

constexpr DWORD kSampleMs = 50;

}  // namespace

void ProgressWatch::Start() {
  thread_ = std::jthread([this](const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      Look();
      Sleep(kSampleMs);
    }
  });
}

void ProgressWatch::Stop() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

void ProgressWatch::Look() {
  const std::lock_guard lock(mutex_);
  HWND window = nullptr;
  ProgressReading reading;
  for (HWND dialog : FindDialogs(process_id_)) {
    if (!IsProgressWindow(dialog)) continue;
    reading = ReadProgress(dialog);
    // Closed while it was being read: what was read may be half of it.
    if (IsWindowVisible(dialog)) window = dialog;
    break;
  }
  if (window_ != nullptr && window != window_) {
    Write({{"time_ms", clock_.ms()}, {"visible", false}});
    window_ = nullptr;
  }
  if (window == nullptr) return;
  if (window != window_ || reading != shown_) {
    window_ = window;
    shown_ = reading;
    Write({{"time_ms", clock_.ms()},
           {"visible", true},
           {"title", testbed::JsonText(reading.title)},
           {"line1", testbed::JsonText(reading.line1)},
           {"line2", testbed::JsonText(reading.line2)},
           {"bar", reading.bar},
           {"bar_max", reading.bar_max}});
  }
  if (!cancel_at_item_ || pressed_) return;
  const std::optional<testbed::ItemCount> count = testbed::ParseItemLine(reading.line2);
  if (count && count->item >= *cancel_at_item_ && PressButton(window, L"Cancel")) {
    pressed_ = true;
    Write({{"time_ms", clock_.ms()}, {"pressed", "Cancel"}});
  }
}

void ProgressWatch::Write(const testbed::Json& line) {
  if (file_ != nullptr && !file_->WriteLine(testbed::JsonLine(line))) {
    testbed::ReportError(L"cannot write to the progress file");
  }
}

}  // namespace robot
