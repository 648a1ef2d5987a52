// What the instructions ask of their operands - the cells a destination names, the substituted
// source, an operand's value and its numbers - and the decoded path that answers from the tables
// built once after loading. The handlers are templates over such a path: a class with the static
// functions of DecodedPath below, which also opens the window for "gfx".
#pragma once
#include <cstdint>

#include "pelko/machine.h"

namespace orvelt::pelko {

// A resolved operand reads as the value text of a cell or as a text of its own.
struct Resolved {
  int32_t cell = -1;
  std::u16string_view text;
  const WorkingOperand* operand = nullptr;  // when text is an operand's own text with its numbers
};

inline Resolved ResolvedText(std::u16string_view text) { return Resolved{-1, text, nullptr}; }

int32_t IntOf(Machine& machine, const Resolved& value);  // TextToInt of its text
float FloatOf(Machine& machine, const Resolved& value);  // TextToFloat of its text
// Its text: valid until the cell, the scratch text or the operand changes.
std::u16string_view TextOf(Machine& machine, const Resolved& value, Text& scratch);

// A source that reads a cell is taken as text before a second destination changes, so that every
// destination receives the value the source had when the instruction began.
void Freeze(Machine& machine, Resolved& value, Text& scratch);

// The registers that instructions name by themselves.
enum class Fixed { Cx, Dx, Cmd, Kbd };
const Text& FixedName(Fixed which);

// The walks of the operand procedures taken as jumps from one matching cell to the next through the
// name index. A scratch text holds what a path produces as new text; this one needs none.
struct DecodedPath {
  // Full or numeric source substitution.
  static Resolved SourceFull(Machine& machine, const WorkingOperand& op, Text& scratch);
  static Resolved SourceNumeric(Machine& machine, const WorkingOperand& op, Text& scratch);
  // The walk of "cmp": every cell takes part, and each string cell met adds 1 to strings.
  static Resolved CompareWalk(Machine& machine, const WorkingOperand& op, int& strings, Text& scratch);
  // The value text of the first cell of that name, or the operand itself.
  static Resolved ValueOf(Machine& machine, const WorkingOperand& op, Text& scratch);

  // The first single cell named by the operand, or -1 ("cos", "sin").
  static int32_t FirstSingleNamed(Machine& machine, const WorkingOperand& op) { return op.names.firstSingle; }
  // The first cell with that register's name, or -1.
  static int32_t FirstFixed(Machine& machine, Fixed which);

  template <class Visit>
  static void ForEachDestination(Machine& machine, const WorkingOperand& op, Visit&& visit) {
    for (int32_t i = 0; i < op.names.count; ++i) visit(machine.variables[op.names.cells[i]]);
  }

  template <class Visit>
  static void ForEachFixed(Machine& machine, Fixed which, Visit&& visit) {
    const NameRef& ref = FixedRef(machine, which);
    for (int32_t i = 0; i < ref.count; ++i) visit(machine.variables[ref.cells[i]]);
  }

  // The label row of operand 1, kLabelMissing or kLabelDefault.
  static int32_t LabelTarget(Machine& machine, const WorkingRow& row) {
    return row.target == kLabelUnresolved ? machine.decoded.labels.Target(row.op1.text) : row.target;
  }

  // "gfx": a window at the corner of the screen.
  static void OpenWindow(int32_t width, int32_t height);

 private:
  static const NameRef& FixedRef(Machine& machine, Fixed which);
};

}  // namespace orvelt::pelko
