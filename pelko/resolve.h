// What the instructions ask of their operands - the cells a destination names, the substituted
// source, an operand's value and its numbers - answered by the literal walks for an operand that
// was not decoded, and by the decoded tables for one that was.
#pragma once
#include <cstdint>

#include "pelko/machine.h"

namespace orvelt::pelko {

// A resolved operand reads as the value text of a cell or as a text of its own.
struct Resolved {
  int32_t cell = -1;
  const Text* text = nullptr;
  const WorkingOperand* operand = nullptr;  // when text is an operand's own text with its numbers
};

// Full or numeric source substitution; scratch holds the text a literal walk produces.
Resolved SourceFull(Machine& machine, const WorkingOperand& op, Text& scratch);
Resolved SourceNumeric(Machine& machine, const WorkingOperand& op, Text& scratch);
// The walk of "cmp": every cell takes part, and each string cell met adds 1 to strings.
Resolved CompareWalk(Machine& machine, const WorkingOperand& op, int& strings, Text& scratch);
// The value text of the first cell of that name, or the operand itself.
Resolved ValueOf(Machine& machine, const WorkingOperand& op, Text& scratch);

int32_t IntOf(Machine& machine, const Resolved& value);      // TextToInt of its text
float FloatOf(Machine& machine, const Resolved& value);      // TextToFloat of its text
const Text& TextOf(Machine& machine, const Resolved& value, Text& scratch);

// A source that reads a cell is taken as text before a second destination changes, so that every
// destination receives the value the source had when the instruction began.
void Freeze(Machine& machine, Resolved& value, Text& scratch);

// The first single cell named by the operand, or -1 ("cos", "sin").
int32_t FirstSingleNamed(Machine& machine, const WorkingOperand& op);

// The registers that instructions name by themselves.
enum class Fixed { Cx, Dx, Cmd, Kbd };
int32_t FirstFixed(Machine& machine, Fixed which);  // -1 when no cell has that name

template <class Visit>
void ForEachDestination(Machine& machine, const WorkingOperand& op, Visit&& visit) {
  if (op.decoded) {
    for (int32_t i = 0; i < op.names.count; ++i) visit(machine.variables[op.names.cells[i]]);
    return;
  }
  for (TVariable& cell : machine.variables)
    if (cell.name == *op.text) visit(cell);
}

const Text& FixedName(Fixed which);
const NameRef& FixedRef(Machine& machine, Fixed which);

template <class Visit>
void ForEachFixed(Machine& machine, Fixed which, Visit&& visit) {
  if (!machine.options.literalWalks) {
    const NameRef& ref = FixedRef(machine, which);
    for (int32_t i = 0; i < ref.count; ++i) visit(machine.variables[ref.cells[i]]);
    return;
  }
  const Text& name = FixedName(which);
  for (TVariable& cell : machine.variables)
    if (cell.name == name) visit(cell);
}

}  // namespace orvelt::pelko
