// The instructions that steer the loop: "cmp", the jumps, calls and conditional calls, "jcxz",
// "ret", the value stack ("push", "pop") and "end", with the fatal messages they raise.
#include "pelko/instructions.h"
#include "pelko/operands.h"
#include "pelko/resolve.h"
#include "runtime/process.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {
namespace {

[[noreturn]] void RaiseAtRow(const char16_t* message, int32_t row) { RaiseFatalError(message + IntToText(row)); }

// The label row of operand 1; the current row itself for a missing "main".
int32_t LabelRow(Machine& machine, const WorkingRow& row) {
  const Text& name = *row.op1.text;
  int32_t target = row.target;
  if (!row.op1.decoded) target = ScanLabel(machine.rows, name);
  else if (target == kLabelUnresolved) target = machine.decoded.labels.Target(name);
  if (target == kLabelMissing) RaiseFatalError(u"DEBUG >> pelko kann das Label '" + name + u"' nicht finden!");
  return target == kLabelDefault ? machine.current : target;
}

void CallLabel(Machine& machine, const WorkingRow& row) {
  if (machine.returnDepth + 1 >= kReturnStackSize) RaiseAtRow(u"DEBUG >> CALL-Stapel voll! LINE: ", machine.current);
  machine.returnStack[static_cast<std::size_t>(++machine.returnDepth)] = machine.current;
  machine.current = LabelRow(machine, row);
}

// S is the first operand minus the second: "jg" jumps when the second is the greater.
bool IsZero(int32_t s) { return s == 0; }
bool IsNonZero(int32_t s) { return s != 0; }
bool IsNegative(int32_t s) { return s < 0; }
bool IsNotPositive(int32_t s) { return s <= 0; }
bool IsPositive(int32_t s) { return s > 0; }
bool IsNotNegative(int32_t s) { return s >= 0; }
bool Always(int32_t) { return true; }

template <bool (*Holds)(int32_t)>
void CallWhen(Machine& machine, const WorkingRow& row) {
  if (Holds(machine.compare)) CallLabel(machine, row);
}

template <bool (*Holds)(int32_t)>
void JumpWhen(Machine& machine, const WorkingRow& row) {
  if (Holds(machine.compare)) machine.current = LabelRow(machine, row);
}

void StoreByType(TVariable& cell, const Text& value) {
  if (cell.typ == kTypInt) cell.wert1 = TextToInt(value);
  else if (cell.typ == kTypString) cell.wert2 = value;
  else if (cell.typ == kTypSingle) cell.wert3 = TextToFloat(value);
}

}  // namespace

void RunCe(Machine& m, const WorkingRow& row) { CallWhen<IsZero>(m, row); }
void RunCne(Machine& m, const WorkingRow& row) { CallWhen<IsNonZero>(m, row); }
void RunCg(Machine& m, const WorkingRow& row) { CallWhen<IsNegative>(m, row); }
void RunCge(Machine& m, const WorkingRow& row) { CallWhen<IsNotPositive>(m, row); }
void RunCl(Machine& m, const WorkingRow& row) { CallWhen<IsPositive>(m, row); }
void RunCle(Machine& m, const WorkingRow& row) { CallWhen<IsNotNegative>(m, row); }
void RunCall(Machine& m, const WorkingRow& row) { CallWhen<Always>(m, row); }
void RunJmp(Machine& m, const WorkingRow& row) { JumpWhen<Always>(m, row); }
void RunJz(Machine& m, const WorkingRow& row) { JumpWhen<IsZero>(m, row); }
void RunJnz(Machine& m, const WorkingRow& row) { JumpWhen<IsNonZero>(m, row); }
void RunJl(Machine& m, const WorkingRow& row) { JumpWhen<IsPositive>(m, row); }
void RunJle(Machine& m, const WorkingRow& row) { JumpWhen<IsNotNegative>(m, row); }
void RunJg(Machine& m, const WorkingRow& row) { JumpWhen<IsNegative>(m, row); }
void RunJge(Machine& m, const WorkingRow& row) { JumpWhen<IsNotPositive>(m, row); }

// Only the first cell named "cx" counts, whatever its type.
void RunJcxz(Machine& m, const WorkingRow& row) {
  int32_t cx = FirstFixed(m, Fixed::Cx);
  if (cx >= 0 && m.variables[static_cast<std::size_t>(cx)].wert1 == 0) m.current = LabelRow(m, row);
}

// A quote anywhere in operand 2 makes a text comparison however operand 1 reads; quotes are
// removed from operand 2 only.
void RunCmp(Machine& m, const WorkingRow& row) {
  int strings = 0;
  Resolved first = CompareWalk(m, row.op1, strings, m.scratch1);
  Resolved second;
  bool quoted = row.op2.decoded ? row.op2.hasQuote : HasQuote(*row.op2.text);
  if (quoted) {
    m.scratch2 = RemoveAllQuotes(*row.op2.text);
    second.text = &m.scratch2;
    strings = 2;
  } else {
    second = CompareWalk(m, row.op2, strings, m.scratch2);
  }
  if (strings == 1) RaiseAtRow(u"DEBUG >> Abfrage ungueltig! LINE: ", m.current);
  if (strings == 0) {
    m.compare = WrappingSubtract(IntOf(m, first), IntOf(m, second));
    return;
  }
  Text firstText;
  m.compare = TextOf(m, first, firstText) == TextOf(m, second, m.scratch2) ? 0 : 1;
}

void RunRet(Machine& m, const WorkingRow&) {
  if (m.returnDepth < 0) RaiseAtRow(u"DEBUG >> RET ohne CALL! LINE: ", m.current);
  m.current = m.returnStack[static_cast<std::size_t>(m.returnDepth--)];
}

void RunPush(Machine& m, const WorkingRow& row) {
  if (m.valueStack.size() >= m.options.maxStackEntries) RaiseAtRow(u"DEBUG >> PUSH-Stapel voll! LINE: ", m.current);
  Resolved value = ValueOf(m, row.op1, m.scratch1);
  m.valueStack.push_back(TStack{RemoveAllQuotes(TextOf(m, value, m.scratch2))});
}

// An empty operand 1 pops into the wert2 of every cell named "dx", whatever its type.
void RunPop(Machine& m, const WorkingRow& row) {
  if (m.valueStack.empty()) return;
  Text top = std::move(m.valueStack.back().data);
  m.valueStack.pop_back();
  if (row.op1.text->empty()) {
    ForEachFixed(m, Fixed::Dx, [&](TVariable& cell) { cell.wert2 = top; });
    return;
  }
  ForEachDestination(m, row.op1, [&](TVariable& cell) { StoreByType(cell, top); });
}

void RunEnd(Machine&, const WorkingRow&) { EndProgram(); }

}  // namespace orvelt::pelko
