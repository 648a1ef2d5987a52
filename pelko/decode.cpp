// Decoding rows once after loading, and preparing at run time the rows whose operands change.
#include "pelko/decode.h"

#include "pelko/dispatch.h"
#include "pelko/operands.h"

namespace orvelt::pelko {
namespace {

// A row prepared at each execution converts its texts only when an instruction asks.
void DescribeOperand(const Machine& machine, WorkingOperand& op, bool numbers) {
  op.hasQuote = HasQuote(*op.text);
  op.names = machine.decoded.names.Find(*op.text);
  op.numbers = numbers;
  if (!numbers) return;
  op.asInt = TextToInt(*op.text);
  op.asFloat = TextToFloat(*op.text);
}

// The one int cell that the operand names, or -1.
int32_t OnlyIntCell(const Machine& machine, const WorkingOperand& op) {
  if (op.names.count != 1) return -1;
  int32_t cell = op.names.cells[0];
  return machine.variables[static_cast<std::size_t>(cell)].typ == kTypInt ? cell : -1;
}

// A missing label keeps the handler, which raises the message or stays on the row.
void ChooseShortcut(const Machine& machine, DecodedRow& decoded) {
  const WorkingRow& work = decoded.work;
  Handler handler = kHandlers<DecodedPath>[decoded.instruction];
  if (handler == RunJump<DecodedPath> && work.target >= 0) {
    decoded.shortcut = JumpShortcut(work.condition);
    decoded.value = work.target;
    return;
  }
  int32_t cell = OnlyIntCell(machine, work.op1);
  if (cell < 0) return;
  if (handler == RunInc<DecodedPath>) decoded.shortcut = Shortcut::IncInt;
  if (handler == RunDec<DecodedPath>) decoded.shortcut = Shortcut::DecInt;
  // The first operand's walk ends at its int cell (no string met, no later cell named like a
  // number); the second, unquoted and naming no cell, is a number of its own.
  bool literalSecond = !work.op2.hasQuote && work.op2.names.count == 0;
  if (handler == RunCmp<DecodedPath> && literalSecond && !machine.decoded.names.NumberMayNameAfter(cell)) {
    decoded.shortcut = Shortcut::CmpIntLiteral;
    decoded.value = work.op2.asInt;
  }
  if (decoded.shortcut != Shortcut::None) decoded.cell = cell;
}

void DecodeRow(Machine& machine, std::size_t r, DecodedRow& decoded) {
  const Row& row = machine.rows[r];
  decoded.instruction = static_cast<int16_t>(FindInstruction(row[0]));
  decoded.bracket1 = FindText(row[1], u"[") > 0;
  decoded.bracket2 = FindText(row[2], u"[") > 0;
  decoded.timer1 = FindText(row[1], u"__TIMER__") > 0;
  decoded.timer2 = FindText(row[2], u"__TIMER__") > 0;
  decoded.dynamic = decoded.bracket1 || decoded.bracket2 || decoded.timer1 || decoded.timer2;
  decoded.work.op1.text = &row[1];
  decoded.work.op2.text = &row[2];
  if (decoded.instruction >= 0) decoded.work.condition = kInstructions[decoded.instruction].condition;
  if (decoded.dynamic || decoded.instruction < 0) return;
  DescribeOperand(machine, decoded.work.op1, true);
  DescribeOperand(machine, decoded.work.op2, true);
  decoded.work.target = machine.decoded.labels.Target(row[1]);
  ChooseShortcut(machine, decoded);
}

void SlotSingles(Decoded& decoded, const VariableList& variables) {
  decoded.singleSlot.assign(variables.size(), -1);
  int32_t slots = 0;
  for (std::size_t i = 0; i < variables.size(); ++i)
    if (variables[i].typ == kTypSingle) decoded.singleSlot[i] = slots++;
  decoded.singles.assign(static_cast<std::size_t>(slots), SingleText());
}

// The first int or single cell after `after` whose name stands between a "[" and a "]": exactly
// the next cell whose pattern the literal walk would find in the text. Only the lengths that such
// names have are tried after each "[", so a long text of brackets costs no more than its length
// times the number of those lengths.
int32_t NextIndexCell(const Machine& machine, const Text& x, int32_t after) {
  const NameIndex& names = machine.decoded.names;
  int32_t best = -1;
  Text name;
  for (std::size_t open = x.find(u'['); open != Text::npos; open = x.find(u'[', open + 1))
    for (std::size_t length : names.NumericNameLengths()) {
      std::size_t close = open + 1 + length;
      if (close >= x.size()) break;
      if (x[close] != u']') continue;
      name.assign(x, open + 1, length);
      int32_t cell = names.NextNamed(name, after, true);
      if (cell >= 0 && (best < 0 || cell < best)) best = cell;
    }
  return best;
}

}  // namespace

void DecodeRows(Machine& machine) {
  Decoded& decoded = machine.decoded;
  decoded.names.Build(machine.variables);
  decoded.labels.Build(machine.rows);
  decoded.cx = decoded.names.Find(FixedName(Fixed::Cx));
  decoded.dx = decoded.names.Find(FixedName(Fixed::Dx));
  decoded.cmd = decoded.names.Find(FixedName(Fixed::Cmd));
  decoded.kbd = decoded.names.Find(FixedName(Fixed::Kbd));
  SlotSingles(decoded, machine.variables);
  decoded.rows.assign(machine.rows.size(), DecodedRow());
  for (std::size_t r = 0; r < machine.rows.size(); ++r) DecodeRow(machine, r, decoded.rows[r]);
}

Text SubstituteIndexesIndexed(const Machine& machine, Text x) {
  for (int32_t after = -1;;) {
    int32_t cell = NextIndexCell(machine, x, after);
    if (cell < 0) return x;
    const TVariable& v = machine.variables[static_cast<std::size_t>(cell)];
    x = ReplaceText(x, Bracketed(v.name), Bracketed(IndexValue(v)));
    after = cell;
  }
}

const WorkingRow& PrepareDynamicRow(Machine& machine, int32_t row) {
  const DecodedRow& decoded = machine.decoded.rows[static_cast<std::size_t>(row)];
  const Row& columns = machine.rows[static_cast<std::size_t>(row)];
  machine.prepared1 = decoded.bracket1 ? SubstituteIndexesIndexed(machine, columns[1]) : columns[1];
  machine.prepared2 = decoded.bracket2 ? SubstituteIndexesIndexed(machine, columns[2]) : columns[2];
  if (decoded.timer1) machine.prepared1 = SubstituteTimer(std::move(machine.prepared1));
  if (decoded.timer2) machine.prepared2 = SubstituteTimer(std::move(machine.prepared2));
  WorkingRow& working = machine.working;
  working.op1 = WorkingOperand();
  working.op2 = WorkingOperand();
  working.op1.text = &machine.prepared1;
  working.op2.text = &machine.prepared2;
  if (decoded.instruction >= 0) {
    DescribeOperand(machine, working.op1, false);
    DescribeOperand(machine, working.op2, false);
  }
  working.condition = decoded.work.condition;
  working.target = kLabelUnresolved;
  return working;
}

}  // namespace orvelt::pelko
