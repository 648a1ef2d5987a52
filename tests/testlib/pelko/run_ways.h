// Runs of a pelko source for tests, benchmarks and fuzz targets: through the decoded rows or the
// literal walks, with a bound on the rows executed, and with or without windows.
#pragma once
#include <cstdint>

#include "pelko/entry.h"

namespace orvelt::pelko {

struct RunWay {
  bool literal = false;     // the literal walks instead of the decoded rows
  uint64_t rowBudget = 0;   // rows to execute before the run returns; 0: no bound
  bool windowless = false;  // "gfx" opens no window (fuzzing)
};

// Loads and runs the source like RunSource, the way given: ends through EndProgram or
// RaiseFatalError, or returns when the row budget is spent.
void RunSourceWay(Text source, const SourceRun& run, const RunWay& way);

}  // namespace orvelt::pelko
