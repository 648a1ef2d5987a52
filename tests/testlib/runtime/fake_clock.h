// A clock for tests that stands still until the code under test sleeps (or the test moves it),
// so that waits, timers and paced frames take no time and always come out the same.
//
// Usage:
//   FakeClock clock(1000);          // Millisecs() is 1000 until something sleeps
//   DelayMillis(16);                // returns at once; Millisecs() is now 1016
//   EXPECT_EQ(clock.Sleeps(), (std::vector<int32_t>{16}));
//   FakeClock ticking(1000, 1);     // moves 1 ms at every reading as well
// One at a time; the destructor gives the real clock back.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/clock.h"

namespace orvelt {

class FakeClock {
 public:
  explicit FakeClock(uint32_t start = 1000, uint32_t stepPerReading = 0);
  ~FakeClock();
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  uint32_t Now() const;
  void Set(uint32_t now);
  void Advance(uint32_t ms);
  // Every sleep asked for, in order.
  const std::vector<int32_t>& Sleeps() const;
  void ForgetSleeps();
};

// Replaces the clock and the sleep; nullptr restores the real ones.
void SetClockForTesting(ClockNow now, ClockSleep sleep);

}  // namespace orvelt
