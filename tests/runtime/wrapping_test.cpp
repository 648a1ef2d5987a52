// 32-bit arithmetic that wraps modulo 2^32.
#include <gtest/gtest.h>

#include <climits>

#include "runtime/wrapping.h"

using namespace orvelt;

namespace {

TEST(Wrapping, ResultsWrapModulo2To32) {
  struct Row {
    int32_t a, b, sum, difference, product;
  };
  const Row rows[] = {
      {2, 3, 5, -1, 6},
      {INT_MAX, 1, INT_MIN, INT_MAX - 1, INT_MAX},
      {INT_MIN, -1, INT_MAX, INT_MIN + 1, INT_MIN},
      {65536, 65536, 131072, 0, 0},
      {-7, 3, -4, -10, -21},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(WrappingAdd(row.a, row.b), row.sum) << row.a << " " << row.b;
    EXPECT_EQ(WrappingSubtract(row.a, row.b), row.difference) << row.a << " " << row.b;
    EXPECT_EQ(WrappingMultiply(row.a, row.b), row.product) << row.a << " " << row.b;
  }
  EXPECT_EQ(WrappingNegate(INT_MIN), INT_MIN);
  EXPECT_EQ(WrappingNegate(5), -5);
}

}  // namespace
