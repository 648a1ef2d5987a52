// Quiet surroundings and a run bounded by lines, for tests and fuzzing.
#include "tests/testlib/zunt/quiet_run.h"

namespace orvelt::zunt::testing {
namespace {

void NoKeyWait() {}
void NoWindow(int, int) {}
Text NothingTyped(int, int, const Text&) { return Text(); }

}  // namespace

const Surroundings kNoWaiting = {NoKeyWait, NoWindow, NothingTyped};

void RunLines(TScript& script, int64_t lineBudget, const Surroundings& surroundings) {
  Executor run(script, surroundings);
  run.Begin();
  for (int64_t left = lineBudget; left > 0; --left)
    if (!run.RunLine()) {
      run.Finish();
      return;
    }
}

}  // namespace orvelt::zunt::testing
