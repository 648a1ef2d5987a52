// Tests of the clock, sleeping and the tick timer, all against a fake clock that moves only when
// the code under test sleeps or a test moves it.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "runtime/clock.h"
#include "tests/testlib/runtime/fake_clock.h"

using namespace orvelt;

namespace {

FakeClock* gClock = nullptr;
std::vector<int> gPumpWaits;
uint32_t gPumpStep = 0;  // how far one pump moves the clock; 0: as far as it was asked to wait

void FakePump(int maxWaitMs) {
  gPumpWaits.push_back(maxWaitMs);
  gClock->Advance(gPumpStep ? gPumpStep : static_cast<uint32_t>(maxWaitMs));
}

class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gClock = &clock_;
    gPumpWaits.clear();
    gPumpStep = 0;
    SetEventPump(nullptr);
  }
  void TearDown() override {
    for (TickTimer* timer : timers_) ReleaseTickTimer(timer);
    SetEventPump(nullptr);
  }
  TickTimer* Create(int hz) {
    TickTimer* timer = CreateTickTimer(hz);
    if (timer) timers_.push_back(timer);
    return timer;
  }
  std::vector<TickTimer*> timers_;
  FakeClock clock_{1000};
};

TEST_F(ClockTest, MillisecsReadsTheInstalledClock) {
  EXPECT_EQ(Millisecs(), 1000u);
  clock_.Set(0xFFFFFFFFu);
  EXPECT_EQ(Millisecs(), 0xFFFFFFFFu);
}

TEST_F(ClockTest, DelayMillisSleepsOnlyForPositiveCounts) {
  struct Row { int32_t ms; std::vector<int32_t> sleeps; } rows[] = {
      {5, {5}}, {0, {}}, {-1, {}}, {INT32_MIN, {}}, {INT32_MAX, {INT32_MAX}}};
  for (const Row& row : rows) {
    clock_.ForgetSleeps();
    DelayMillis(row.ms);
    EXPECT_EQ(clock_.Sleeps(), row.sleeps) << row.ms;
  }
}

TEST_F(ClockTest, TimerPeriodIsTruncatedThousandOverHertz) {
  struct Row { int hz; int period; } rows[] = {
      {60, 16}, {1, 1000}, {7, 142}, {1000, 1}, {999, 1}, {501, 1}, {500, 2}};
  for (const Row& row : rows) {
    clock_.ForgetSleeps();
    TickTimer* timer = Create(row.hz);
    ASSERT_NE(timer, nullptr) << row.hz;
    EXPECT_EQ(WaitForTick(timer), 1) << row.hz;
    EXPECT_EQ(clock_.Sleeps(), std::vector<int32_t>{row.period}) << row.hz;
  }
}

TEST_F(ClockTest, NoTimerForFrequenciesWithoutAPeriod) {
  for (int hz : {0, -1, INT_MIN, 1001, INT_MAX}) EXPECT_EQ(Create(hz), nullptr) << hz;
}

TEST_F(ClockTest, AtMostSixteenTimersRunAtATime) {
  for (int i = 0; i < 16; ++i) ASSERT_NE(Create(60), nullptr) << i;
  EXPECT_EQ(Create(60), nullptr);
  ReleaseTickTimer(timers_.back());
  timers_.pop_back();
  EXPECT_NE(Create(60), nullptr);
}

TEST_F(ClockTest, WaitReturnsTheTicksSinceThePreviousWait) {
  // Each row: how far the clock moves before the wait, the ticks returned, the time slept in it.
  struct Row { uint32_t advance; int ticks; int32_t slept; } rows[] = {
      {16, 1, 0}, {50, 3, 0}, {0, 1, 14}, {15, 1, 1}, {160, 10, 0}, {1, 1, 15}, {32, 2, 0}};
  TickTimer* timer = Create(60);
  ASSERT_NE(timer, nullptr);
  for (const Row& row : rows) {
    clock_.Advance(row.advance);
    clock_.ForgetSleeps();
    EXPECT_EQ(WaitForTick(timer), row.ticks) << row.advance;
    int32_t slept = 0;
    for (int32_t ms : clock_.Sleeps()) slept += ms;
    EXPECT_EQ(slept, row.slept) << row.advance;
  }
}

TEST_F(ClockTest, TicksCountOnAcrossTheClockWrap) {
  clock_.Set(0xFFFFFFF0u);
  TickTimer* timer = Create(60);
  ASSERT_NE(timer, nullptr);
  clock_.Advance(40);  // wraps past zero
  EXPECT_EQ(WaitForTick(timer), 2);
  EXPECT_EQ(WaitForTick(timer), 1);
  EXPECT_EQ(clock_.Now(), 0xFFFFFFF0u + 48u);
}

TEST_F(ClockTest, WaitProcessesEventsThroughThePumpUntilTheTick) {
  SetEventPump(FakePump);
  gPumpStep = 3;  // events arrive every 3 ms, before the tick is due
  TickTimer* timer = Create(60);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(WaitForTick(timer), 1);
  EXPECT_EQ(gPumpWaits, (std::vector<int>{16, 13, 10, 7, 4, 1}));
  EXPECT_TRUE(clock_.Sleeps().empty());
}

TEST_F(ClockTest, TheDefaultPumpOnlySleeps) {
  PumpEvents(7);
  PumpEvents(-3);
  EXPECT_EQ(clock_.Sleeps(), std::vector<int32_t>{7});
}

TEST_F(ClockTest, WaitWithoutATimerReturnsAtOnce) {
  SetEventPump(FakePump);
  EXPECT_EQ(WaitForTick(nullptr), 0);
  EXPECT_TRUE(gPumpWaits.empty());
}

}  // namespace
