// Taking over a loaded program, and the run from "main" through the decoded rows.
#include "pelko/machine.h"

#include "pelko/decode.h"
#include "pelko/decoded_loop.h"

namespace orvelt::pelko {

void InitMachine(Machine& machine, LoadedProgram&& program, TickTimer* frameTimer, const RunLimits& limits) {
  machine.rows = std::move(program.rows);
  machine.variables = std::move(program.variables);
  machine.waitFlag = program.waitFlag;
  machine.frameTimer = frameTimer;
  machine.limits = limits;
  DecodeRows(machine);
}

void StartAt(Machine& machine, int32_t mainRow) {
  machine.compare = 0;
  machine.current = mainRow < 0 ? 0 : mainRow;
  machine.drawX = 0;
  machine.drawY = 0;
}

void Run(Machine& machine) {
  Unobserved observer;
  RunFromMain<DecodedPath>(machine, observer);
}

}  // namespace orvelt::pelko
