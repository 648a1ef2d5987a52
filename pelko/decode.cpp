// Decoding rows once after loading, and preparing at run time the rows whose operands change.
#include "pelko/decode.h"

#include <algorithm>

#include "pelko/dispatch.h"
#include "pelko/operands.h"
#include "pelko/out_of_memory.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {
namespace {

DecodedOperand DecodeOperand(const Machine& machine, std::u16string_view text) {
  DecodedOperand op;
  op.entry = machine.decoded.names.EntryOf(text);
  op.asInt = TextToInt(text);
  op.asFloat = TextToFloat(Text(text));
  op.hasQuote = text.find(u'"') != Text::npos;
  return op;
}

// A row prepared at each execution converts its texts only when an instruction asks.
void DescribeOperand(const Machine& machine, WorkingOperand& op) {
  op.hasQuote = op.text.find(u'"') != Text::npos;
  op.names = machine.decoded.names.Find(op.text);
  op.numbers = false;
}

void ExpandOperand(const Machine& machine, const DecodedOperand& decoded, std::u16string_view text,
                   WorkingOperand& op) {
  op.text = text;
  op.hasQuote = decoded.hasQuote;
  op.names = machine.decoded.names.Ref(decoded.entry);
  op.numbers = true;
  op.asInt = decoded.asInt;
  op.asFloat = decoded.asFloat;
}

// The handlers that read an operand as written (a label, a service name, a number as written)
// rather than through what it names.
bool ReadsOperandsAsWritten(Handler handler) {
  return handler == RunJump<DecodedPath> || handler == RunCall<DecodedPath> || handler == RunJcxz<DecodedPath> ||
         handler == RunInt<DecodedPath> || handler == RunGfx<DecodedPath>;
}

// The handlers that walk only the int and single cells an operand names (numeric source
// substitution): where none is named, the operand reads as its text.
bool WalksNumericCells(Handler handler, int operand) {
  if (handler == RunRnd<DecodedPath>) return true;
  return operand == 2 && (handler == RunSub<DecodedPath> || handler == RunMul<DecodedPath> ||
                          handler == RunDiv<DecodedPath> || handler == RunAnd<DecodedPath> ||
                          handler == RunOr<DecodedPath> || handler == RunXor<DecodedPath>);
}

// The one int cell that the operand names, or -1.
int32_t OnlyIntCell(const Machine& machine, const NameRef& names) {
  if (names.count != 1) return -1;
  int32_t cell = names.cells[0];
  return machine.variables[static_cast<std::size_t>(cell)].typ == kTypInt ? cell : -1;
}

// A missing label keeps the handler, which raises the message or stays on the row.
void ChooseShortcut(const Machine& machine, DecodedRow& decoded) {
  Handler handler = kHandlers<DecodedPath>[decoded.instruction];
  if (handler == RunJump<DecodedPath> && decoded.value >= 0) {
    decoded.shortcut = JumpShortcut(kInstructions[decoded.instruction].condition);
    return;
  }
  const NameIndex& names = machine.decoded.names;
  int32_t cell = OnlyIntCell(machine, names.Ref(decoded.op1.entry));
  if (cell < 0) return;
  if (handler == RunInc<DecodedPath>) decoded.shortcut = Shortcut::IncInt;
  if (handler == RunDec<DecodedPath>) decoded.shortcut = Shortcut::DecInt;
  // The first operand's walk ends at its int cell (no string met, no later cell named like a
  // number); the second, unquoted and naming no cell, is a number of its own.
  bool literalSecond = !decoded.op2.hasQuote && decoded.op2.entry < 0;
  if (handler == RunCmp<DecodedPath> && literalSecond && !names.NumberMayNameAfter(cell)) {
    decoded.shortcut = Shortcut::CmpIntLiteral;
    decoded.value = decoded.op2.asInt;
  }
  if (decoded.shortcut != Shortcut::None) decoded.cell = cell;
}

// The first int or single cell after `after` whose name stands between a "[" and a "]": exactly
// the next cell whose pattern the literal walk would find in the text. Only the lengths that such
// names have are tried after each "[", so a long text of brackets costs no more than its length
// times the number of those lengths.
int32_t NextIndexCell(const Machine& machine, std::u16string_view x, int32_t after) {
  const NameIndex& names = machine.decoded.names;
  int32_t best = -1;
  for (std::size_t open = x.find(u'['); open != Text::npos; open = x.find(u'[', open + 1))
    for (std::size_t length : names.NumericNameLengths()) {
      std::size_t close = open + 1 + length;
      if (close >= x.size()) break;
      if (x[close] != u']') continue;
      int32_t cell = names.NextNamed(x.substr(open + 1, length), after, true);
      if (cell >= 0 && (best < 0 || cell < best)) best = cell;
    }
  return best;
}

// The array declarations by the text their element names begin with ("NAME["), each base's in
// list order.
struct BaseArrays {
  std::u16string_view base;
  ArrayCells cells;
};

std::vector<BaseArrays> ArraysByBase(const Machine& machine) {
  std::vector<BaseArrays> byBase;
  byBase.reserve(machine.arrays.size());
  for (const ArrayCells& cells : machine.arrays) {
    std::u16string_view first = machine.variables[static_cast<std::size_t>(cells.first)].name;
    byBase.push_back({first.substr(0, first.find(u'[') + 1), cells});
  }
  std::stable_sort(byBase.begin(), byBase.end(),
                   [](const BaseArrays& a, const BaseArrays& b) { return a.base < b.base; });
  return byBase;
}

// An operand NAME[INDEX], with one "[" and its "]" as the last unit and no quote, whose index
// substitution always gives NAME[k] for the value k of its index cell: the first int or single
// cell named INDEX, after which no cell bears a name that a number's text could equal. Returns
// its entry in machine.decoded.indexed, or -1.
int32_t DecodeIndexed(Machine& machine, const std::vector<BaseArrays>& byBase, std::u16string_view x) {
  const std::size_t open = x.find(u'[');
  if (open == Text::npos || x.find(u'[', open + 1) != Text::npos || x.find(u']') != x.size() - 1) return -1;
  if (x.find(u'"') != Text::npos) return -1;
  const NameIndex& names = machine.decoded.names;
  int32_t indexCell = names.Find(x.substr(open + 1, x.size() - open - 2)).FirstNumeric();
  if (indexCell < 0 || names.NumberMayNameAfter(indexCell)) return -1;
  IndexedOperand indexed{indexCell, x.substr(0, open + 1), {}};
  auto [from, to] = std::equal_range(byBase.begin(), byBase.end(), BaseArrays{indexed.base, {}},
                                     [](const BaseArrays& a, const BaseArrays& b) { return a.base < b.base; });
  for (auto it = from; it != to; ++it) indexed.arrays.push_back(it->cells);
  machine.decoded.indexed.push_back(std::move(indexed));
  return static_cast<int32_t>(machine.decoded.indexed.size() - 1);
}

// Decodes one operand of a row with an instruction; false when the row must be prepared
// literally at each execution.
bool DecodeRowOperand(Machine& machine, const std::vector<BaseArrays>& byBase, Handler handler,
                      std::u16string_view text, DecodedOperand& op) {
  // An operand in which no cell's bracketed name stands is never changed by index substitution.
  if (text.find(u'[') == Text::npos || NextIndexCell(machine, text, -1) < 0) {
    op = DecodeOperand(machine, text);
    return true;
  }
  if (ReadsOperandsAsWritten(handler)) return false;
  op.entry = DecodeIndexed(machine, byBase, text);
  op.indexed = true;
  return op.entry >= 0;
}

void DecodeRow(Machine& machine, const std::vector<BaseArrays>& byBase, std::size_t r, DecodedRow& decoded) {
  LineTable::RowView row = machine.rows[r];
  decoded.instruction = static_cast<int16_t>(FindInstruction(row[0]));
  const bool timer = row[1].find(u"__TIMER__") != Text::npos || row[2].find(u"__TIMER__") != Text::npos;
  if (timer || decoded.instruction < 0 ||
      !DecodeRowOperand(machine, byBase, kHandlers<DecodedPath>[decoded.instruction], row[1], decoded.op1) ||
      !DecodeRowOperand(machine, byBase, kHandlers<DecodedPath>[decoded.instruction], row[2], decoded.op2)) {
    decoded.op1 = decoded.op2 = DecodedOperand();
    for (int column = 1; column <= 2; ++column) {
      DecodedOperand& op = column == 1 ? decoded.op1 : decoded.op2;
      op.bracket = row[column].find(u'[') != Text::npos;
      op.timer = row[column].find(u"__TIMER__") != Text::npos;
    }
    if (decoded.instruction >= 0 || timer) decoded.preparing = Preparing::Literal;
    return;
  }
  Handler handler = kHandlers<DecodedPath>[decoded.instruction];
  if (decoded.op1.indexed || decoded.op2.indexed) {
    decoded.preparing = Preparing::Indexed;
    return;
  }
  if (ReadsOperandsAsWritten(handler)) decoded.value = machine.decoded.labels.Target(row[1]);
  ChooseShortcut(machine, decoded);
}

void SlotSingles(Decoded& decoded, const VariableList& variables) {
  decoded.singleSlot.assign(variables.size(), -1);
  int32_t slots = 0;
  for (std::size_t i = 0; i < variables.size(); ++i)
    if (variables[i].typ == kTypSingle) decoded.singleSlot[i] = slots++;
  decoded.singles.assign(static_cast<std::size_t>(slots), SingleText());
}

// The cells named NAME[k]: those of the first array of NAME that reaches k (every array of NAME
// that reaches k has a cell of that name, and the name index lists them all).
NameRef ElementNames(const Machine& machine, const IndexedOperand& indexed, int32_t k) {
  if (k < 0) return NameRef();
  for (const ArrayCells& cells : indexed.arrays)
    if (k < cells.count) return machine.decoded.names.Ref(machine.decoded.names.EntryOfCell(cells.first + k));
  return NameRef();
}

void PrepareIndexedOperand(Machine& machine, const IndexedOperand& indexed, bool numericWalk,
                           std::u16string_view written, Text& text, WorkingOperand& op) {
  const TVariable& index = machine.variables[static_cast<std::size_t>(indexed.indexCell)];
  const int32_t k = index.typ == kTypInt ? index.wert1 : FloatToInt(index.wert3);
  op.names = ElementNames(machine, indexed, k);
  op.hasQuote = false;
  op.numbers = false;
  op.text = written;
  // The handler reads the text only where the walk finds no cell.
  if (op.names.count > 0 && !(numericWalk && op.names.numericCount == 0)) return;
  text.assign(indexed.base);
  text += IntToText(k);
  text += u']';
  op.text = text;
}

void PrepareLiteralOperand(Machine& machine, std::u16string_view column, const DecodedOperand& decoded, Text& text,
                           WorkingOperand& op) {
  text = decoded.bracket ? SubstituteIndexesIndexed(machine, Text(column)) : Text(column);
  if (decoded.timer) text = SubstituteTimer(std::move(text));
  op = WorkingOperand();
  op.text = text;
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
  std::vector<BaseArrays> byBase = ArraysByBase(machine);
  decoded.rows.assign(machine.rows.size(), DecodedRow());
  int64_t r = 0;
  OnOutOfMemoryRaiseAt(r, [&] {
    for (; r < static_cast<int64_t>(machine.rows.size()); ++r)
      DecodeRow(machine, byBase, static_cast<std::size_t>(r), decoded.rows[static_cast<std::size_t>(r)]);
  });
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

const WorkingRow& PrepareRow(Machine& machine, const DecodedRow& row) {
  const std::size_t r = static_cast<std::size_t>(machine.current);
  LineTable::RowView columns = machine.rows[r];
  WorkingRow& working = machine.working;
  working.target = kLabelUnresolved;
  if (row.instruction >= 0) working.condition = kInstructions[row.instruction].condition;
  switch (row.preparing) {
    case Preparing::Decoded:
      ExpandOperand(machine, row.op1, columns[1], working.op1);
      ExpandOperand(machine, row.op2, columns[2], working.op2);
      working.target = row.value;
      break;
    case Preparing::Indexed: {
      Handler handler = kHandlers<DecodedPath>[row.instruction];
      if (row.op1.indexed)
        PrepareIndexedOperand(machine, machine.decoded.indexed[static_cast<std::size_t>(row.op1.entry)],
                              WalksNumericCells(handler, 1), columns[1], machine.prepared1, working.op1);
      else
        ExpandOperand(machine, row.op1, columns[1], working.op1);
      if (row.op2.indexed)
        PrepareIndexedOperand(machine, machine.decoded.indexed[static_cast<std::size_t>(row.op2.entry)],
                              WalksNumericCells(handler, 2), columns[2], machine.prepared2, working.op2);
      else
        ExpandOperand(machine, row.op2, columns[2], working.op2);
      break;
    }
    case Preparing::Literal:
      PrepareLiteralOperand(machine, columns[1], row.op1, machine.prepared1, working.op1);
      PrepareLiteralOperand(machine, columns[2], row.op2, machine.prepared2, working.op2);
      if (row.instruction >= 0) {
        DescribeOperand(machine, working.op1);
        DescribeOperand(machine, working.op2);
      }
      break;
  }
  return working;
}

}  // namespace orvelt::pelko
