// The fake clock: a reading that moves only by sleeps, by the test, or by a fixed step per reading.
#include "tests/testlib/runtime/fake_clock.h"

namespace orvelt {

namespace {

uint32_t gNow = 0;
uint32_t gStep = 0;
std::vector<int32_t> gSleeps;

uint32_t FakeNow() {
  uint32_t now = gNow;
  gNow += gStep;
  return now;
}

void FakeSleep(int32_t ms) {
  gSleeps.push_back(ms);
  gNow += static_cast<uint32_t>(ms);
}

}  // namespace

FakeClock::FakeClock(uint32_t start, uint32_t stepPerReading) {
  gNow = start;
  gStep = stepPerReading;
  gSleeps.clear();
  SetClockSource(FakeNow, FakeSleep);
}

FakeClock::~FakeClock() { SetClockSource(nullptr, nullptr); }

uint32_t FakeClock::Now() const { return gNow; }
void FakeClock::Set(uint32_t now) { gNow = now; }
void FakeClock::Advance(uint32_t ms) { gNow += ms; }
const std::vector<int32_t>& FakeClock::Sleeps() const { return gSleeps; }
void FakeClock::ForgetSleeps() { gSleeps.clear(); }

void SetClockForTesting(ClockNow now, ClockSleep sleep) { SetClockSource(now, sleep); }

}  // namespace orvelt
