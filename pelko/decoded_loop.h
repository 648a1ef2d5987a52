// The loop over decoded rows, a template over the execution path (resolve.h) and an observer of the
// rows it executes. The program runs it with the decoded path and an observer that does nothing.
#pragma once
#include "pelko/decode.h"
#include "pelko/dispatch.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {

// An observer sees each row after it ran (not one that ended the program); returning false ends
// the loop there.
struct Unobserved {
  static constexpr bool AfterRow(const Machine&, int32_t) { return true; }
};

// Rows without an instruction are still prepared when they read the clock, as every row is
// prepared before it runs.
template <class Path>
void RunDecodedRow(Machine& machine, const DecodedRow& row) {
  if (row.dynamic) {
    const WorkingRow& working = PrepareDynamicRow(machine, machine.current);
    if (row.instruction >= 0) kHandlers<Path>[row.instruction](machine, working);
  } else if (row.instruction >= 0) {
    kHandlers<Path>[row.instruction](machine, row.work);
  }
}

// Runs from machine.current until it passes the last row (true) or the observer ends the loop
// (false). A shortcut does exactly what the row's handler would do. The current row stays in a
// register between rows; machine.current holds it while a handler runs.
template <class Path, class Observer>
bool RunDecodedRows(Machine& machine, Observer& observer) {
  const int32_t count = static_cast<int32_t>(machine.rows.size());
  const DecodedRow* rows = machine.decoded.rows.data();
  // No cell is added or removed while the program runs.
  TVariable* cells = machine.variables.data();
  for (int32_t current = machine.current; current < count; ++current) {
    const DecodedRow& row = rows[current];
    const int32_t executed = current;
    const int32_t s = machine.compare;
    switch (row.shortcut) {
      case Shortcut::None:
        machine.current = current;
        RunDecodedRow<Path>(machine, row);
        current = machine.current;
        break;
      case Shortcut::IncInt:
        cells[row.cell].wert1 = WrappingAdd(cells[row.cell].wert1, 1);
        break;
      case Shortcut::DecInt:
        cells[row.cell].wert1 = WrappingSubtract(cells[row.cell].wert1, 1);
        break;
      case Shortcut::CmpIntLiteral:
        machine.compare = WrappingSubtract(cells[row.cell].wert1, row.value);
        break;
#define PELKO_JUMP_CASE(condition, holds)                                    \
  case Shortcut::Jump##condition:                                            \
    if (Holds(Condition::condition, s)) current = row.value;               \
    break;
        PELKO_CONDITIONS(PELKO_JUMP_CASE)
#undef PELKO_JUMP_CASE
    }
    if (!observer.AfterRow(machine, executed)) return false;
  }
  return true;
}

// Starts a run at the label "main" (or row 0) and runs the rows as above.
template <class Path, class Observer>
bool RunFromMain(Machine& machine, Observer& observer) {
  StartAt(machine, machine.decoded.labels.Target(u"main"));
  return RunDecodedRows<Path>(machine, observer);
}

}  // namespace orvelt::pelko
