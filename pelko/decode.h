// The decoded path: each row's instruction and label target found once after loading, the operands
// of rows without "[" or "__TIMER__" resolved to the cells they name, and the preparation of the
// other rows at each execution through the name index.
#pragma once
#include "pelko/machine.h"

namespace orvelt::pelko {

// Builds machine.decoded from the line table and the variable list.
void DecodeRows(Machine& machine);

// Index substitution through the name index; gives what SubstituteIndexes gives.
Text SubstituteIndexesIndexed(const Machine& machine, Text x);

// Prepares a row that must be prepared at each execution, into machine.working.
const WorkingRow& PrepareDynamicRow(Machine& machine, int32_t row);

}  // namespace orvelt::pelko
