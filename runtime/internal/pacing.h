// Frame pacing for presents and the bookkeeping of the swap interval.
#pragma once
#include <cstdint>

namespace orvelt {

class FramePacer {
 public:
  // Pacing is on for a window on the desktop (depth 0) with a positive frequency.
  void Start(int hertz, int depth);
  bool On() const { return on_; }
  // Decides the swap interval of a present; a paced present first sleeps (DelayMillis) until
  // its frame is due.
  int Prepare(int sync);

 private:
  int WaitForFrame();

  bool on_ = false;
  int depth_ = 0;
  int hertz_ = 0;
  int period_ = 0;
  int remainder_ = 0;
  int64_t accumulator_ = 0;  // wide: with a huge frequency it nears INT_MAX before it drops
  uint32_t next_ = 0;
};

// Remembers the swap interval last set so that it is changed only when it differs.
class SwapIntervalBook {
 public:
  void Forget() { known_ = false; }
  // True when the interval differs from the last one set (it is then remembered as set).
  bool NeedsChange(int interval);

 private:
  bool known_ = false;
  int last_ = 0;
};

}  // namespace orvelt
