#pragma once
// Time for the parts of the run that wait or measure: milliseconds on a monotonic clock, and
// waiting; and the time of day on the wall clock, for what the run records. The tests pass clocks
// of their own.
#include <cstdint>

namespace modMain {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
  virtual void SleepMs(std::int64_t milliseconds) = 0;
  // Seconds since 1970-01-01 00:00 UTC on the wall clock, which the user may set back or forth.
  virtual std::int64_t UtcSeconds() = 0;
};

// std::chrono::steady_clock, std::this_thread::sleep_for and std::chrono::system_clock.
class SystemClock final : public Clock {
 public:
  std::int64_t NowMs() override;
  void SleepMs(std::int64_t milliseconds) override;
  std::int64_t UtcSeconds() override;
};

}  // namespace modMain
