// The operand procedures as literal walks over the variable list and the line table, in list order
// and without early stops, and an execution path over them: the reference that the decoded path is
// held against.
#pragma once
#include <cstdint>

#include "pelko/resolve.h"

namespace orvelt::pelko {

// "arr[i]" becomes "arr[2]" for an int or single cell i; every cell is visited in list order and
// sees the text as the cells before it left it. String cells replace nothing.
Text SubstituteIndexes(const VariableList& variables, Text x);

enum class SourceVariant {
  Full,     // every cell takes part
  Numeric,  // string cells are passed over
};

// The walk goes on after a match, so a value that names a later cell leads on to that cell's value.
Text SubstituteSource(const VariableList& variables, Text operand, SourceVariant variant);
// The same walk over every cell, counting the string cells it meets ("cmp").
Text WalkCountingStrings(const VariableList& variables, Text operand, int& strings);
// The value text of the first cell with that name, or the text itself.
Text OperandValue(const VariableList& variables, const Text& x);
// The first row whose column 0 is name + ":", by a scan from row 0; kLabelDefault for a missing
// "main", else kLabelMissing.
int32_t ScanLabel(const LineTable& rows, std::u16string_view name);

// The path the handlers take over the walks above; every operand is a text of its own.
struct LiteralPath {
  static Resolved SourceFull(Machine& machine, const WorkingOperand& op, Text& scratch);
  static Resolved SourceNumeric(Machine& machine, const WorkingOperand& op, Text& scratch);
  static Resolved CompareWalk(Machine& machine, const WorkingOperand& op, int& strings, Text& scratch);
  static Resolved ValueOf(Machine& machine, const WorkingOperand& op, Text& scratch);
  static int32_t FirstSingleNamed(Machine& machine, const WorkingOperand& op);
  static int32_t FirstFixed(Machine& machine, Fixed which);

  template <class Visit>
  static void ForEachDestination(Machine& machine, const WorkingOperand& op, Visit&& visit) {
    for (TVariable& cell : machine.variables)
      if (cell.name == op.text) visit(cell);
  }

  template <class Visit>
  static void ForEachFixed(Machine& machine, Fixed which, Visit&& visit) {
    const Text& name = FixedName(which);
    for (TVariable& cell : machine.variables)
      if (cell.name == name) visit(cell);
  }

  static int32_t LabelTarget(Machine& machine, const WorkingRow& row) { return ScanLabel(machine.rows, row.op1.text); }
  static void OpenWindow(int32_t width, int32_t height) { DecodedPath::OpenWindow(width, height); }
};

// Prepares a row by the reference rules, into machine.working: copies of the columns, index
// substitution of operand 1 then 2, then "__TIMER__" in operand 1 then 2, each with its own clock
// reading. instruction is the row's entry in the instruction list, or -1.
const WorkingRow& PrepareLiteralRow(Machine& machine, int32_t row, int instruction);

}  // namespace orvelt::pelko
