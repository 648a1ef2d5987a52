// Frame pacing on a fake clock: frames of 16 or 17 ms at 60 hertz, 60 per second, a late frame
// not shortening the next ones, and the swap interval each present asks for.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "runtime/clock.h"
#include "tests/testlib/runtime/fake_clock.h"
#include "runtime/internal/pacing.h"

using namespace orvelt;

namespace {

class Pacing : public ::testing::Test {
 protected:
  FakeClock clock_{5000};

  // The clock readings at each of `frames` paced presents, the program working `work` ms per
  // frame before it presents.
  std::vector<uint32_t> Frames(orvelt::FramePacer& pacer, int frames, const std::vector<int>& work) {
    std::vector<uint32_t> times;
    for (int i = 0; i < frames; ++i) {
      clock_.Advance(static_cast<uint32_t>(work.empty() ? 0 : work[static_cast<size_t>(i) % work.size()]));
      EXPECT_EQ(pacer.Prepare(-1), 0) << "a paced present swaps without vertical sync";
      times.push_back(clock_.Now());
    }
    return times;
  }
};

std::vector<int> Durations(uint32_t start, const std::vector<uint32_t>& times) {
  std::vector<int> durations;
  for (uint32_t t : times) {
    durations.push_back(static_cast<int>(t - start));
    start = t;
  }
  return durations;
}

TEST_F(Pacing, SixtyHertzGivesFramesOf16Or17Ms) {
  orvelt::FramePacer pacer;
  pacer.Start(60, 0);
  uint32_t start = clock_.Now();
  std::vector<int> durations = Durations(start, Frames(pacer, 120, {3}));
  for (int d : durations) EXPECT_TRUE(d == 16 || d == 17) << d;
  EXPECT_EQ(std::accumulate(durations.begin(), durations.begin() + 60, 0), 1000);
  EXPECT_EQ(std::accumulate(durations.begin(), durations.end(), 0), 2000);
  // 1000 = 16 * 60 + 40: forty of every sixty frames take the spare millisecond.
  EXPECT_EQ(std::count(durations.begin(), durations.begin() + 60, 17), 40);
}

TEST_F(Pacing, PeriodAndRemainderFollowTheFrequency) {
  struct Row {
    int hertz;
    int frames;
    int total;
  };
  const Row rows[] = {{60, 60, 1000}, {50, 50, 1000}, {30, 3, 100}, {1, 2, 2000}, {7, 7, 1000}, {1000, 10, 10}, {3000, 3000, 1000}};
  for (const Row& row : rows) {
    orvelt::FramePacer pacer;
    pacer.Start(row.hertz, 0);
    uint32_t start = clock_.Now();
    std::vector<uint32_t> times = Frames(pacer, row.frames, {});
    EXPECT_EQ(static_cast<int>(times.back() - start), row.total) << row.hertz << " Hz";
  }
}

TEST_F(Pacing, ALateFrameDoesNotShortenTheNextOnes) {
  orvelt::FramePacer pacer;
  pacer.Start(60, 0);
  uint32_t start = clock_.Now();
  // The fifth frame takes 50 ms of work; the frames after it are as long as ever.
  std::vector<int> work(12, 2);
  work[4] = 50;
  std::vector<int> durations = Durations(start, Frames(pacer, 12, work));
  EXPECT_EQ(durations[4], 50);
  for (size_t i = 5; i < durations.size(); ++i) EXPECT_TRUE(durations[i] == 16 || durations[i] == 17) << i;
}

TEST_F(Pacing, TheScheduleSurvivesTheClockWrapping) {
  clock_.Set(0xFFFFFFF0u);
  orvelt::FramePacer pacer;
  pacer.Start(60, 0);
  uint32_t start = clock_.Now();
  std::vector<int> durations = Durations(start, Frames(pacer, 6, {1}));
  for (int d : durations) EXPECT_TRUE(d == 16 || d == 17) << d;
}

TEST_F(Pacing, SwapIntervalOfEachPresent) {
  struct Row {
    int hertz, depth, sync;
    int interval;
    bool sleeps;
  };
  const Row rows[] = {
      {60, 0, -1, 0, true},  {60, 0, 0, 0, false}, {60, 0, 1, 1, false}, {0, 0, -1, 0, false},
      {0, 32, -1, 1, false}, {60, 32, -1, 1, false}, {-60, 0, -1, 0, false}, {0, 0, 5, 1, false},
      {60, 0, -7, 0, true},
  };
  for (const Row& row : rows) {
    orvelt::FramePacer pacer;
    pacer.Start(row.hertz, row.depth);
    uint32_t before = clock_.Now();
    EXPECT_EQ(pacer.Prepare(row.sync), row.interval) << row.hertz << " " << row.depth << " " << row.sync;
    EXPECT_EQ(clock_.Now() != before, row.sleeps) << row.hertz << " " << row.depth << " " << row.sync;
  }
}

TEST(SwapIntervalBook, ChangesOnlyWhenItDiffers) {
  orvelt::SwapIntervalBook book;
  std::vector<bool> changes;
  for (int interval : {1, 1, 0, 0, 0, 1, 0}) changes.push_back(book.NeedsChange(interval));
  EXPECT_EQ(changes, (std::vector<bool>{true, false, true, false, false, true, true}));
  book.Forget();
  EXPECT_TRUE(book.NeedsChange(0));
}

}  // namespace
