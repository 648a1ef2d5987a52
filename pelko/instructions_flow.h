// The instructions that steer the loop: "cmp", the jumps, calls and conditional calls, "jcxz",
// "ret", the value stack ("push", "pop") and "end", with the fatal messages they raise.
#pragma once
#include "pelko/instructions.h"
#include "pelko/operands.h"
#include "pelko/resolve.h"
#include "runtime/process.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {

[[noreturn]] void RaiseAtRow(const char16_t* message, int32_t row);
[[noreturn]] void RaiseLabelMissing(const Text& name);
// The row after which a call goes on; ends the run when the return stack is full.
void PushReturn(Machine& machine);

void StoreByType(TVariable& cell, const Text& value);

// The label row of operand 1; the current row itself for a missing "main".
template <class Path>
int32_t LabelRow(Machine& machine, const WorkingRow& row) {
  int32_t target = Path::LabelTarget(machine, row);
  if (target == kLabelMissing) RaiseLabelMissing(Text(row.op1.text));
  return target == kLabelDefault ? machine.current : target;
}

// "call" and the conditional calls, by the condition the instruction list gives the row.
template <class Path>
void RunCall(Machine& m, const WorkingRow& row) {
  if (!Holds(row.condition, m.compare)) return;
  PushReturn(m);
  m.current = LabelRow<Path>(m, row);
}

// "jmp" and the conditional jumps.
template <class Path>
void RunJump(Machine& m, const WorkingRow& row) {
  if (Holds(row.condition, m.compare)) m.current = LabelRow<Path>(m, row);
}

// Only the first cell named "cx" counts, whatever its type.
template <class Path>
void RunJcxz(Machine& m, const WorkingRow& row) {
  int32_t cx = Path::FirstFixed(m, Fixed::Cx);
  if (cx >= 0 && m.variables[static_cast<std::size_t>(cx)].wert1 == 0) m.current = LabelRow<Path>(m, row);
}

// A quote anywhere in operand 2 makes a text comparison however operand 1 reads; quotes are
// removed from operand 2 only.
template <class Path>
void RunCmp(Machine& m, const WorkingRow& row) {
  int strings = 0;
  Resolved first = Path::CompareWalk(m, row.op1, strings, m.scratch1);
  Resolved second;
  if (row.op2.hasQuote) {
    m.scratch2 = RemoveAllQuotes(row.op2.text);
    second.text = m.scratch2;
    strings = 2;
  } else {
    second = Path::CompareWalk(m, row.op2, strings, m.scratch2);
  }
  if (strings == 1) RaiseAtRow(u"DEBUG >> Abfrage ungueltig! LINE: ", m.current);
  if (strings == 0) {
    m.compare = WrappingSubtract(IntOf(m, first), IntOf(m, second));
    return;
  }
  Text firstText;
  m.compare = TextOf(m, first, firstText) == TextOf(m, second, m.scratch2) ? 0 : 1;
}

template <class Path>
void RunRet(Machine& m, const WorkingRow&) {
  if (m.returnDepth < 0) RaiseAtRow(u"DEBUG >> RET ohne CALL! LINE: ", m.current);
  m.current = m.returnStack[static_cast<std::size_t>(m.returnDepth--)];
}

template <class Path>
void RunPush(Machine& m, const WorkingRow& row) {
  Resolved value = Path::ValueOf(m, row.op1, m.scratch1);
  m.valueStack.push_back(TStack{RemoveAllQuotes(TextOf(m, value, m.scratch2))});
}

// An empty operand 1 pops into the wert2 of every cell named "dx", whatever its type.
template <class Path>
void RunPop(Machine& m, const WorkingRow& row) {
  if (m.valueStack.empty()) return;
  Text top = std::move(m.valueStack.back().data);
  m.valueStack.pop_back();
  if (row.op1.text.empty()) {
    Path::ForEachFixed(m, Fixed::Dx, [&](TVariable& cell) { cell.wert2 = top; });
    return;
  }
  Path::ForEachDestination(m, row.op1, [&](TVariable& cell) { StoreByType(cell, top); });
}

template <class Path>
void RunEnd(Machine&, const WorkingRow&) {
  EndProgram();
}

}  // namespace orvelt::pelko
