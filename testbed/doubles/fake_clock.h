#pragma once
// A clock that only counts: every reading is counted, and a wait moves the time on at once, as
// does Advance.
#include <cstdint>
#include <vector>

#include "import/clock.h"

namespace modMain::testing {

struct FakeClock final : Clock {
  std::int64_t now = 1000;
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
};

}  // namespace modMain::testing
