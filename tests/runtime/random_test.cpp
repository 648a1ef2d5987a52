// Tests of the random generator against the standard library's minimal standard generator,
// which uses the same multiplier and modulus.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>

#include "runtime/random.h"

using namespace orvelt;

namespace {

// The unit value built from two generator steps, as the generator defines it.
double UnitFrom(std::minstd_rand& reference, uint32_t* lastStep = nullptr) {
  double hi = static_cast<double>(reference() & 0x1FFFFFFC);
  uint32_t second = static_cast<uint32_t>(reference());
  if (lastStep) *lastStep = second;
  return (hi + static_cast<double>(second & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
}

TEST(RandomTest, SeedClearsBit31AndAvoidsTheFixedStates) {
  struct Row { int32_t seed; int32_t state; } rows[] = {
      {0, 4660}, {1, 1}, {12345, 12345}, {INT32_MAX, 4660}, {INT32_MAX - 1, INT32_MAX - 1},
      {-1, 4660}, {INT32_MIN, 4660}, {-5, 0x7FFFFFFB}, {INT32_MIN + 7, 7}};
  for (const Row& row : rows) {
    SeedRandom(row.seed);
    EXPECT_EQ(RandomState(), row.state) << row.seed;
  }
}

TEST(RandomTest, FirstStepAfterSeedZero) {
  SeedRandom(0);
  uint32_t hi = static_cast<uint32_t>(RandomUnit() * 536870912.0);
  EXPECT_EQ(hi, 224942860u & 0x1FFFFFFCu);
  std::minstd_rand reference(4660);
  EXPECT_EQ(reference(), 224942860u);
}

TEST(RandomTest, StepsEqualTheMinimalStandardGenerator) {
  for (int32_t seed : {1, 4660, 12345, 2147483646, 0x7FFFFFFB, 48271, 44488}) {
    SeedRandom(seed);
    std::minstd_rand reference(static_cast<uint32_t>(RandomState()));
    for (int i = 0; i < 10000; ++i) {
      uint32_t lastStep = 0;
      double expected = UnitFrom(reference, &lastStep);
      ASSERT_EQ(RandomUnit(), expected) << seed << " draw " << i;
      ASSERT_EQ(static_cast<uint32_t>(RandomState()), lastStep) << seed << " draw " << i;
    }
  }
}

TEST(RandomTest, UnitLiesInTheHalfOpenInterval) {
  SeedRandom(99);
  for (int i = 0; i < 100000; ++i) {
    double u = RandomUnit();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

TEST(RandomTest, IntFollowsTheUnitValue) {
  struct Row { int32_t low, high; } rows[] = {{1, 6}, {6, 1}, {3, 3}, {-10, 10}, {0, 1}, {5, -5}};
  for (const Row& row : rows) {
    SeedRandom(777);
    std::minstd_rand reference(777);
    for (int i = 0; i < 1000; ++i) {
      int64_t d = int64_t{row.high} - row.low;
      double u = UnitFrom(reference);
      int64_t expected = d > 0 ? row.low + static_cast<int64_t>(u * static_cast<double>(d + 1))
                               : row.high + static_cast<int64_t>(u * static_cast<double>(1 - d));
      ASSERT_EQ(RandomInt(row.low, row.high), expected) << row.low << ".." << row.high;
    }
  }
}

TEST(RandomTest, IntStaysBetweenTheBoundsEvenForHugeRanges) {
  struct Row { int32_t low, high; } rows[] = {
      {1, 6}, {6, 1}, {3, 3}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}, {INT32_MAX - 1, INT32_MAX},
      {INT32_MIN, INT32_MIN + 1}, {INT32_MIN, 0}, {-1, INT32_MAX}, {INT32_MAX, INT32_MAX}};
  SeedRandom(4242);
  for (const Row& row : rows) {
    int32_t lo = std::min(row.low, row.high);
    int32_t hi = std::max(row.low, row.high);
    for (int i = 0; i < 20000; ++i) {
      int32_t value = RandomInt(row.low, row.high);
      ASSERT_GE(value, lo) << row.low << ".." << row.high;
      ASSERT_LE(value, hi) << row.low << ".." << row.high;
    }
  }
}

TEST(RandomTest, DiceShowEveryFaceInEitherOrder) {
  SeedRandom(1);
  std::set<int32_t> up, down;
  for (int i = 0; i < 600; ++i) {
    up.insert(RandomInt(1, 6));
    down.insert(RandomInt(6, 1));
  }
  EXPECT_EQ(up, (std::set<int32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(down, up);
}

}  // namespace
