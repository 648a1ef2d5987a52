// The literal walks and the preparation of a row by them.
#include "tests/testlib/pelko/literal_walks.h"

#include "pelko/instructions.h"
#include "pelko/operands.h"

namespace orvelt::pelko {
namespace {

bool TakesPart(const TVariable& cell, SourceVariant variant) {
  return variant == SourceVariant::Full || cell.typ == kTypInt || cell.typ == kTypSingle;
}

}  // namespace

Text SubstituteIndexes(const VariableList& variables, Text x) {
  if (FindText(x, u"[") == 0) return x;
  for (const TVariable& cell : variables) {
    if (cell.typ != kTypInt && cell.typ != kTypSingle) continue;
    Text pattern = Bracketed(cell.name);
    if (FindText(x, pattern) > 0) x = ReplaceText(x, pattern, Bracketed(IndexValue(cell)));
  }
  return x;
}

Text SubstituteSource(const VariableList& variables, Text operand, SourceVariant variant) {
  for (const TVariable& cell : variables)
    if (cell.name == operand && TakesPart(cell, variant)) operand = ValueText(cell);
  return operand;
}

Text WalkCountingStrings(const VariableList& variables, Text operand, int& strings) {
  for (const TVariable& cell : variables)
    if (cell.name == operand) {
      operand = ValueText(cell);
      if (cell.typ == kTypString) ++strings;
    }
  return operand;
}

Text OperandValue(const VariableList& variables, const Text& x) {
  for (const TVariable& cell : variables)
    if (cell.name == x) return ValueText(cell);
  return x;
}

int32_t ScanLabel(const LineTable& rows, std::u16string_view name) {
  Text label = Text(name) + u":";
  for (std::size_t r = 0; r < rows.size(); ++r)
    if (rows[r][0] == label) return static_cast<int32_t>(r);
  return name == u"main" ? kLabelDefault : kLabelMissing;
}

Resolved LiteralPath::SourceFull(Machine& machine, const WorkingOperand& op, Text& scratch) {
  scratch = SubstituteSource(machine.variables, Text(op.text), SourceVariant::Full);
  return ResolvedText(scratch);
}

Resolved LiteralPath::SourceNumeric(Machine& machine, const WorkingOperand& op, Text& scratch) {
  scratch = SubstituteSource(machine.variables, Text(op.text), SourceVariant::Numeric);
  return ResolvedText(scratch);
}

Resolved LiteralPath::CompareWalk(Machine& machine, const WorkingOperand& op, int& strings, Text& scratch) {
  scratch = WalkCountingStrings(machine.variables, Text(op.text), strings);
  return ResolvedText(scratch);
}

Resolved LiteralPath::ValueOf(Machine& machine, const WorkingOperand& op, Text& scratch) {
  scratch = OperandValue(machine.variables, Text(op.text));
  return ResolvedText(scratch);
}

int32_t LiteralPath::FirstSingleNamed(Machine& machine, const WorkingOperand& op) {
  for (std::size_t i = 0; i < machine.variables.size(); ++i)
    if (machine.variables[i].typ == kTypSingle && machine.variables[i].name == op.text)
      return static_cast<int32_t>(i);
  return -1;
}

int32_t LiteralPath::FirstFixed(Machine& machine, Fixed which) {
  const Text& name = FixedName(which);
  for (std::size_t i = 0; i < machine.variables.size(); ++i)
    if (machine.variables[i].name == name) return static_cast<int32_t>(i);
  return -1;
}

const WorkingRow& PrepareLiteralRow(Machine& machine, int32_t row, int instruction) {
  LineTable::RowView columns = machine.rows[static_cast<std::size_t>(row)];
  machine.prepared1 = SubstituteIndexes(machine.variables, Text(columns[1]));
  machine.prepared2 = SubstituteIndexes(machine.variables, Text(columns[2]));
  machine.prepared1 = SubstituteTimer(std::move(machine.prepared1));
  machine.prepared2 = SubstituteTimer(std::move(machine.prepared2));
  WorkingRow& working = machine.working;
  working = WorkingRow();
  working.op1.text = machine.prepared1;
  working.op2.text = machine.prepared2;
  working.op1.hasQuote = HasQuote(machine.prepared1);
  working.op2.hasQuote = HasQuote(machine.prepared2);
  if (instruction >= 0) working.condition = kInstructions[instruction].condition;
  return working;
}

}  // namespace orvelt::pelko
