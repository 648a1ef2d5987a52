// The millisecond clock, sleeping, and tick timers that count periods of the clock while the
// program's events are processed.
#include "runtime/clock.h"

#include <cerrno>
#include <climits>
#include <ctime>

namespace orvelt {

namespace {

constexpr int kMaxTickTimers = 16;

uint32_t RealNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void RealSleep(int32_t ms) {
  timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

void SleepOnly(int maxWaitMs) { DelayMillis(maxWaitMs); }

ClockNow gNow = RealNow;
ClockSleep gSleep = RealSleep;
EventPump gPump = SleepOnly;

}  // namespace

struct TickTimer {
  uint32_t start = 0;
  uint32_t period = 1;
  uint32_t seen = 0;  // the tick count at the previous wait
  bool running = false;

  // Unsigned differences keep the count right across the clock's wrap.
  uint32_t Count() const { return (Millisecs() - start) / period; }
  int MillisToNextTick() const { return static_cast<int>(period - (Millisecs() - start) % period); }
};

namespace {
TickTimer gTimers[kMaxTickTimers];

TickTimer* FreeSlot() {
  for (TickTimer& timer : gTimers)
    if (!timer.running) return &timer;
  return nullptr;
}
}  // namespace

uint32_t Millisecs() { return gNow(); }

void DelayMillis(int32_t ms) {
  if (ms > 0) gSleep(ms);
}

void SetClockSource(ClockNow now, ClockSleep sleep) {
  gNow = now ? now : RealNow;
  gSleep = sleep ? sleep : RealSleep;
}

void SetEventPump(EventPump pump) { gPump = pump ? pump : SleepOnly; }

void PumpEvents(int maxWaitMs) { gPump(maxWaitMs); }

// A frequency above 1000 Hz has a period of 0 ms, which no system timer accepts.
TickTimer* CreateTickTimer(int hz) {
  TickTimer* timer = hz > 0 && hz <= 1000 ? FreeSlot() : nullptr;
  if (!timer) return nullptr;
  timer->period = static_cast<uint32_t>(1000 / hz);
  timer->start = Millisecs();
  timer->seen = 0;
  timer->running = true;
  return timer;
}

void ReleaseTickTimer(TickTimer* timer) {
  if (timer) timer->running = false;
}

int WaitForTick(TickTimer* timer) {
  if (!timer) return 0;
  for (;;) {
    uint32_t count = timer->Count();
    if (count != timer->seen) {
      uint32_t ticks = count - timer->seen;
      timer->seen = count;
      return ticks > INT_MAX ? INT_MAX : static_cast<int>(ticks);
    }
    PumpEvents(timer->MillisToNextTick());
  }
}

}  // namespace orvelt
