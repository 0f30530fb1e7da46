#pragma once
// A clock that only counts: every reading is counted, and a wait moves the time on at once, as
// does Advance.
#include <cstdint>
#include <vector>

#include "import/clock.h"

namespace modMain::testing {

struct FakeClock final : Clock {
  std::int64_t now = 1000;
  std::int64_t utc = 1'796'826'725;  // the wall clock: 2026-12-09 14:32:05 UTC
  int reads = 0;
  std::vector<std::int64_t> waits;

  std::int64_t NowMs() override {
    ++reads;
    return now;
  }
  void SleepMs(std::int64_t milliseconds) override {
    waits.push_back(milliseconds);
    now += milliseconds;
  }
  std::int64_t UtcSeconds() override { return utc; }
};

}  // namespace modMain::testing
