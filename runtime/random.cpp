// The random generator: Park-Miller minimal standard with multiplier 48271, stepped by Schrage's
// method so that no product overflows 32 bits.
#include "runtime/random.h"

#include <algorithm>

namespace orvelt {

namespace {

constexpr int32_t kInitialState = 4660;
int32_t gState = kInitialState;

int32_t Step() {
  int32_t next = 48271 * (gState % 44488) - 3399 * (gState / 44488);
  if (next < 0) next += 2147483647;
  gState = next;
  return next;
}

}  // namespace

void SeedRandom(int32_t seed) {
  int32_t state = static_cast<int32_t>(static_cast<uint32_t>(seed) & 0x7FFFFFFFu);
  gState = (state == 0 || state == 2147483647) ? kInitialState : state;
}

double RandomUnit() {
  double hi = Step() & 0x1FFFFFFC;
  double lo = Step() & 0x1FFFFFF8;
  return (hi + lo / 134217728.0) / 536870912.0;
}

// The span is taken in 64 bits, so that bounds far apart never overflow; the result is kept
// between the bounds even if the product rounds up.
int32_t RandomInt(int32_t low, int32_t high) {
  int64_t d = int64_t{high} - low;
  int64_t base = d > 0 ? low : high;
  int64_t span = d > 0 ? d + 1 : 1 - d;
  int64_t result = base + static_cast<int64_t>(RandomUnit() * static_cast<double>(span));
  return static_cast<int32_t>(std::clamp<int64_t>(result, std::min(low, high), std::max(low, high)));
}

int32_t RandomState() { return gState; }

}  // namespace orvelt
