// Running a zunt script where no person waits at a window: surroundings that open nothing and wait
// for nothing, and a run that stops quietly after a number of lines, so that fuzzing ends.
#pragma once
#include <cstdint>

#include "zunt/execute.h"
#include "zunt/script.h"

namespace orvelt::zunt::testing {

// No window opens, key waits return at once, and every typed line is empty.
extern const Surroundings kNoWaiting;

// Runs the loaded script as Execute does, with the surroundings given, but stops quietly after
// lineBudget lines (no success message then).
void RunLines(TScript& script, int64_t lineBudget, const Surroundings& surroundings = kNoWaiting);

}  // namespace orvelt::zunt::testing
