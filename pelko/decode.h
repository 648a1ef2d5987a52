// The decoded path: each row's instruction and label target found once after loading, the operands
// of rows without "[" or "__TIMER__" resolved to the cells they name, and the preparation of the
// other rows at each execution through the name index.
#pragma once
#include "pelko/machine.h"

namespace orvelt::pelko {

// Builds machine.decoded from the line table and the variable list.
void DecodeRows(Machine& machine);

// Index substitution through the name index: every int or single cell whose name stands in
// brackets, in list order, each seeing the text as the cells before it left it.
Text SubstituteIndexesIndexed(const Machine& machine, Text x);

// Prepares a row that must be prepared at each execution, into machine.working.
const WorkingRow& PrepareDynamicRow(Machine& machine, int32_t row);

}  // namespace orvelt::pelko
