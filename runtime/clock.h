// The millisecond clock, sleeping and the periodic tick timer.
#pragma once
#include <cstdint>

namespace orvelt {

uint32_t Millisecs();           // milliseconds since an arbitrary start, wrapping at 2^32
void DelayMillis(int32_t ms);  // a negative count does not sleep

struct TickTimer;
TickTimer* CreateTickTimer(int hz);  // period truncation(1000 / hz) ms; nullptr when none can be made
// Gives a timer's slot back (at most 16 run at a time); for runs of an interpreter in-process.
void ReleaseTickTimer(TickTimer* timer);
// Processes pending events (through the event pump) until the timer has ticked since the previous
// wait; returns the number of ticks since then (at least 1).
int WaitForTick(TickTimer* timer);

// The window layer installs a pump that processes its pending events and waits at most maxWaitMs
// for new ones; without one, the pump only sleeps.
using EventPump = void (*)(int maxWaitMs);
void SetEventPump(EventPump pump);
void PumpEvents(int maxWaitMs);

// An embedding program may drive the clock and the sleep itself; nullptr gives back the system's.
using ClockNow = uint32_t (*)();
using ClockSleep = void (*)(int32_t ms);
void SetClockSource(ClockNow now, ClockSleep sleep);

}  // namespace orvelt
