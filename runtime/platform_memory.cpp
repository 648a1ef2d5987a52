// The window of last resort, for a machine that shows none (no display, no library that loads):
// it lives only as the core's canvas. Needs nothing; shows nothing and delivers no keys, so key
// waits read the console instead.
#include "runtime/clock.h"
#include "runtime/internal/platform.h"

namespace orvelt {

namespace {

class NoDisplayWindow final : public PlatformWindow {
 public:
  void PollEvents(int maxWaitMs) override { DelayMillis(maxWaitMs); }
  void Present(const Canvas&) override {}
  void SetSwapInterval(int) override {}
  bool DeliversKeys() const override { return false; }
};

}  // namespace

std::unique_ptr<PlatformWindow> MakeNoDisplayWindow() { return std::make_unique<NoDisplayWindow>(); }

}  // namespace orvelt
