// The loop over literally prepared rows, the row budget, the paths without windows, and the four
// ways of running a source that they make, and the traced one.
#include "tests/testlib/pelko/run_ways.h"

#include "pelko/decoded_loop.h"
#include "pelko/out_of_memory.h"
#include "pelko/trace.h"
#include "runtime/process.h"
#include "tests/testlib/pelko/literal_walks.h"

namespace orvelt::pelko {
namespace {

// Ends the loop after a number of rows.
class RowBudget {
 public:
  explicit RowBudget(uint64_t rows) : left_(rows == 0 ? UINT64_MAX : rows) {}
  bool AfterRow(const Machine&, int32_t, int32_t) { return --left_ != 0; }

 private:
  uint64_t left_;
};

// The trace of every row, then the budget.
struct TracedBudget {
  RowTracer& tracer;
  RowBudget& budget;
  bool AfterRow(const Machine& machine, int32_t executed, int32_t next) {
    return tracer.AfterRow(machine, executed, next) && budget.AfterRow(machine, executed, next);
  }
};


// A path whose "gfx" opens nothing, so that no window is ever shown and no key is awaited from one.
template <class Path>
struct Windowless : Path {
  static void OpenWindow(int32_t, int32_t) {}
};

// Loads the source with the line of every row noted and runs the decoded rows traced.
template <class Path>
bool RunTraced(Text source, const SourceRun& run, RowBudget& budget) {
  Machine machine;
  TracedSource lines = LoadTraced(machine, std::move(source), run);
  RowTracer tracer(u"f.pel", lines, machine);
  TracedBudget observer{tracer, budget};
  return OnOutOfMemoryRaiseAt(machine.current, [&] { return RunFromMain<Path>(machine, observer); });
}

// Starts from "main" as the line table names it; every row is prepared, found in the instruction
// list by its mnemonic and dispatched.
template <class Path, class Observer>
bool RunLiteral(Machine& machine, Observer& observer) {
  StartAt(machine, ScanLabel(machine.rows, u"main"));
  const int32_t count = static_cast<int32_t>(machine.rows.size());
  for (; machine.current < count; ++machine.current) {
    const int32_t executed = machine.current;
    int instruction = FindInstruction(machine.rows[static_cast<std::size_t>(executed)][0]);
    const WorkingRow& working = PrepareLiteralRow(machine, executed, instruction);
    if (instruction >= 0) kHandlers<Path>[instruction](machine, working);
    if (!observer.AfterRow(machine, executed, machine.current + 1)) return false;
  }
  return true;
}

}  // namespace

void RunSourceWay(Text source, const SourceRun& run, const RunWay& way) {
  RowBudget budget(way.rowBudget);
  if (way.traced) {
    bool ended = way.windowless ? RunTraced<Windowless<DecodedPath>>(std::move(source), run, budget)
                                : RunTraced<DecodedPath>(std::move(source), run, budget);
    if (ended) EndProgram();
    return;
  }
  Machine machine;
  LoadMachine(machine, std::move(source), run);
  bool ended = OnOutOfMemoryRaiseAt(machine.current, [&] {
    if (way.literal)
      return way.windowless ? RunLiteral<Windowless<LiteralPath>>(machine, budget)
                            : RunLiteral<LiteralPath>(machine, budget);
    return way.windowless ? RunFromMain<Windowless<DecodedPath>>(machine, budget)
                          : RunFromMain<DecodedPath>(machine, budget);
  });
  if (ended) EndProgram();
}

}  // namespace orvelt::pelko
