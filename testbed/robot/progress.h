#pragma once
// Watching the program's progress window while the program runs: a sample of what the window
// shows whenever something changed, its disappearance, and the press of its Cancel once a given
// item is reached.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

#include "testbed/common/json.h"
#include "testbed/common/line_file.h"
#include "testbed/robot/dialogs.h"

namespace robot {

// Milliseconds since the robot started the program: the one clock of the progress file and of the
// transcript's box lines, so that a reader can put the two in order.
class RunClock {
 public:
  std::int64_t ms() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

class ProgressWatch {
 public:
  // Samples go to `file` (none when it is null); with `cancel_at_item`, Cancel is pressed once.
  // `clock` and `file` must outlive the watch.
  ProgressWatch(DWORD process_id, const RunClock& clock, testbed::LineFile* file,
                std::optional<long long> cancel_at_item)
      : process_id_(process_id), clock_(clock), file_(file), cancel_at_item_(cancel_at_item) {}
  ~ProgressWatch() { Stop(); }
  ProgressWatch(const ProgressWatch&) = delete;
  ProgressWatch& operator=(const ProgressWatch&) = delete;

  // Looks every 50 ms, on a thread of its own, until Stop.
  void Start();
  void Stop();

  // Looks now (from any thread): writes a sample when the window appeared or shows something new,
  // {"visible": false} when it has gone, and presses Cancel when it is due. Looking just before a
  // box is written down puts the window's disappearance before the box in time.
  void Look();

 private:
  void Write(const testbed::Json& line);

  const DWORD process_id_;
  const RunClock& clock_;
  testbed::LineFile* const file_;
  const std::optional<long long> cancel_at_item_;
  std::mutex mutex_;       // one look at a time
  HWND window_ = nullptr;  // the progress window as last seen; null while none is visible
  ProgressReading shown_;  // what it showed then
  bool pressed_ = false;   // Cancel is pressed once per run
  std::jthread thread_;
};

}  // namespace robot
