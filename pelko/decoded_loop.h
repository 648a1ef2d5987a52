// The loop over decoded rows, a template over the execution path (resolve.h) and an observer of the
// rows it executes. The program runs it with the decoded path and an observer that does nothing.
#pragma once
#include "pelko/decode.h"
#include "pelko/dispatch.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {

// An observer is given the number of each row after it ran (not of a row that ended the program),
// with the cells as the row left them, and the row the loop goes on with (the row count when it
// ends); returning false ends the loop there.
struct Unobserved {
  static constexpr bool AfterRow(const Machine&, int32_t, int32_t) { return true; }
};

// Rows without an instruction are still prepared when they read the clock, as every row is
// prepared before it runs.
template <class Path>
void RunDecodedRow(Machine& machine, const DecodedRow& row) {
  if (row.instruction >= 0) {
    kHandlers<Path>[row.instruction](machine, PrepareRow(machine, row));
  } else if (row.preparing == Preparing::Literal) {
    PrepareRow(machine, row);
  }
}

// Runs from machine.current until it passes the last row (true) or the observer ends the loop
// (false). A shortcut does exactly what the row's handler would do. The current row and the
// comparison result stay in registers between rows; the machine holds them while a handler runs.
template <class Path, class Observer>
bool RunDecodedRows(Machine& machine, Observer& observer) {
  const int32_t count = static_cast<int32_t>(machine.rows.size());
  const DecodedRow* rows = machine.decoded.rows.data();
  // No cell is added or removed while the program runs.
  TVariable* cells = machine.variables.data();
  int32_t compare = machine.compare;
  for (int32_t current = machine.current; current < count; ++current) {
    const DecodedRow& row = rows[current];
    const int32_t executed = current;
    switch (row.shortcut) {
      case Shortcut::None:
        machine.current = current;
        machine.compare = compare;
        RunDecodedRow<Path>(machine, row);
        current = machine.current;
        compare = machine.compare;
        break;
      case Shortcut::IncInt:
        cells[row.cell].wert1 = WrappingAdd(cells[row.cell].wert1, 1);
        break;
      case Shortcut::DecInt:
        cells[row.cell].wert1 = WrappingSubtract(cells[row.cell].wert1, 1);
        break;
      case Shortcut::CmpIntLiteral:
        compare = WrappingSubtract(cells[row.cell].wert1, row.value);
        break;
#define PELKO_JUMP_CASE(condition, holds)                          \
  case Shortcut::Jump##condition:                                  \
    if (Holds(Condition::condition, compare)) current = row.value; \
    break;
        PELKO_CONDITIONS(PELKO_JUMP_CASE)
#undef PELKO_JUMP_CASE
    }
    if (!observer.AfterRow(machine, executed, current + 1)) {
      machine.compare = compare;
      return false;
    }
  }
  machine.compare = compare;
  return true;
}

// Starts a run at the label "main" (or row 0) and runs the rows as above.
template <class Path, class Observer>
bool RunFromMain(Machine& machine, Observer& observer) {
  StartAt(machine, machine.decoded.labels.Target(u"main"));
  return RunDecodedRows<Path>(machine, observer);
}

}  // namespace orvelt::pelko
