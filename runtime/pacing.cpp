// Frame pacing: paced presents come every 1000 div hertz milliseconds, the remainder spread over
// the second, and a late frame restarts the schedule instead of making later frames shorter.
#include "runtime/internal/pacing.h"

#include "runtime/clock.h"

namespace orvelt {

void FramePacer::Start(int hertz, int depth) {
  depth_ = depth;
  hertz_ = hertz;
  on_ = depth == 0 && hertz > 0;
  if (!on_) return;
  period_ = 1000 / hertz;
  remainder_ = 1000 - period_ * hertz;
  accumulator_ = 0;
  next_ = Millisecs();
}

int FramePacer::Prepare(int sync) {
  if (sync >= 0) return sync > 0 ? 1 : 0;
  if (!on_) return depth_ != 0 ? 1 : 0;
  return WaitForFrame();
}

// The clock wraps at 2^32, so the distance to the frame is taken as a signed difference.
int FramePacer::WaitForFrame() {
  next_ += static_cast<uint32_t>(period_);
  accumulator_ += remainder_;
  if (accumulator_ >= hertz_) {
    accumulator_ -= hertz_;
    next_ += 1;
  }
  int32_t due = static_cast<int32_t>(next_ - Millisecs());
  if (due > 0) {
    DelayMillis(due);
  } else {
    next_ -= static_cast<uint32_t>(due);
  }
  return 0;
}

bool SwapIntervalBook::NeedsChange(int interval) {
  if (known_ && last_ == interval) return false;
  known_ = true;
  last_ = interval;
  return true;
}

}  // namespace orvelt
