// Taking over a loaded program, and the run from "main" through the decoded rows.
#include "pelko/machine.h"

#include "pelko/decode.h"
#include "pelko/decoded_loop.h"
#include "pelko/out_of_memory.h"

namespace orvelt::pelko {

void InitMachine(Machine& machine, LoadedProgram&& program, TickTimer* frameTimer) {
  machine.rows = std::move(program.rows);
  machine.variables = std::move(program.variables);
  machine.arrays = std::move(program.arrays);
  machine.waitFlag = program.waitFlag;
  machine.frameTimer = frameTimer;
  DecodeRows(machine);
}

void StartAt(Machine& machine, int32_t mainRow) {
  machine.compare = 0;
  machine.current = mainRow < 0 ? 0 : mainRow;
  machine.drawX = 0;
  machine.drawY = 0;
}

// Only a row's handler allocates, and the loop hands it the current row in the machine.
void Run(Machine& machine) {
  Unobserved observer;
  OnOutOfMemoryRaiseAt(machine.current, [&] { RunFromMain<DecodedPath>(machine, observer); });
}

}  // namespace orvelt::pelko
