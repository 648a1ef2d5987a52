// The decoded path: each row's instruction and label target found once after loading, the operands
// that no substitution can change resolved to the cells they name, operands NAME[INDEX] tied to
// their index cell and array, and the literal preparation of the other rows through the name index.
#pragma once
#include "pelko/machine.h"

namespace orvelt::pelko {

// Builds machine.decoded from the line table and the variable list.
void DecodeRows(Machine& machine);

// Index substitution through the name index: every int or single cell whose name stands in
// brackets, in list order, each seeing the text as the cells before it left it.
Text SubstituteIndexesIndexed(const Machine& machine, Text x);

// Prepares the current row for its handler, into machine.working unless the row keeps its
// operands as decoded. A row without an instruction is prepared only when it reads the clock.
const WorkingRow& PrepareRow(Machine& machine, const DecodedRow& row);

}  // namespace orvelt::pelko
