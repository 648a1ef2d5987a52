// Runs of a pelko source for tests, benchmarks and fuzz targets: through the decoded rows or the
// literal walks, with a bound on the rows executed, with or without windows, traced or not.
#pragma once
#include <cstdint>

#include "pelko/entry.h"

namespace orvelt::pelko {

struct RunWay {
  bool literal = false;     // the literal walks instead of the decoded rows
  uint64_t rowBudget = 0;   // rows to execute before the run returns; 0: no bound
  bool windowless = false;  // "gfx" opens no window (fuzzing)
  bool traced = false;      // the decoded rows with the trace of "--trace" on standard error
};

// Loads and runs the source like RunSource, the way given: ends through EndProgram or
// RaiseFatalError, or returns when the row budget is spent.
void RunSourceWay(Text source, const SourceRun& run, const RunWay& way);

}  // namespace orvelt::pelko
