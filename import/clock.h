#pragma once
// Time for the parts of the run that wait or measure: milliseconds on a monotonic clock, and
// waiting. The tests pass clocks of their own.
#include <cstdint>

namespace modMain {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
  virtual void SleepMs(std::int64_t milliseconds) = 0;
};

// std::chrono::steady_clock and std::this_thread::sleep_for.
class SystemClock final : public Clock {
 public:
  std::int64_t NowMs() override;
  void SleepMs(std::int64_t milliseconds) override;
};

}  // namespace modMain
