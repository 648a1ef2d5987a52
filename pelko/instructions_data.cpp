// The instructions that compute: copies, arithmetic, logic, trigonometry, random numbers and the
// application title, each acting on every destination cell by that cell's own type.
#include <cmath>

#include "pelko/instructions.h"
#include "pelko/operands.h"
#include "pelko/resolve.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/window.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool CountsAsZero(float value) { return value == 0.0f || std::isnan(value); }

// The source of a two-operand instruction, taken as text before the first of several
// destinations changes.
Resolved SourceFor(Machine& m, const WorkingRow& row, Resolved source) {
  if (row.op1.decoded && row.op1.names.count > 1) Freeze(m, source, m.scratch1);
  return source;
}

void CheckTextLength(const Machine& m, std::size_t length) {
  if (length > m.options.maxTextUnits) RaiseFatalError(u"DEBUG >> Text zu lang! LINE: " + IntToText(m.current));
}

// and, or, xor on an integer d with the source's integer a: "xor" is the "or" result minus the
// "and" result.
int32_t And(int32_t d, int32_t a) { return a != 0 ? d : 0; }
int32_t Or(int32_t d, int32_t a) { return a != 0 ? a : d; }
int32_t Xor(int32_t d, int32_t a) { return WrappingSubtract(Or(d, a), And(d, a)); }

// A single destination takes part as its truth value and receives the integer result as a single.
template <int32_t (*Logic)(int32_t, int32_t)>
void RunLogic(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, SourceNumeric(m, row.op2, m.scratch1));
  ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = Logic(cell.wert1, IntOf(m, source));
    else if (cell.typ == kTypSingle)
      cell.wert3 = static_cast<float>(Logic(CountsAsZero(cell.wert3) ? 0 : 1, IntOf(m, source)));
  });
}

template <double (*Function)(double)>
void RunTrigonometry(Machine& m, const WorkingRow& row) {
  int32_t cell = FirstSingleNamed(m, row.op1);
  if (cell < 0) return;
  float& value = m.variables[static_cast<std::size_t>(cell)].wert3;
  value = static_cast<float>(Function(static_cast<double>(value) * kPi / 180.0));
}

double Cosine(double x) { return std::cos(x); }
double Sine(double x) { return std::sin(x); }

}  // namespace

void RunMov(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, SourceFull(m, row.op2, m.scratch2));
  ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = IntOf(m, source);
    else if (cell.typ == kTypString) cell.wert2 = StripEnclosingQuotes(TextOf(m, source, m.scratch2));
    else if (cell.typ == kTypSingle) cell.wert3 = FloatOf(m, source);
  });
}

void RunAdd(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, SourceFull(m, row.op2, m.scratch2));
  ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) {
      cell.wert1 = WrappingAdd(cell.wert1, IntOf(m, source));
    } else if (cell.typ == kTypString) {
      Text tail = StripEnclosingQuotes(TextOf(m, source, m.scratch2));
      CheckTextLength(m, cell.wert2.size() + tail.size());
      cell.wert2 += tail;
    } else if (cell.typ == kTypSingle) {
      cell.wert3 = cell.wert3 + FloatOf(m, source);
    }
  });
}

void RunSub(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, SourceNumeric(m, row.op2, m.scratch2));
  ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingSubtract(cell.wert1, IntOf(m, source));
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 - FloatOf(m, source);
  });
}

// An int destination is multiplied in single precision and truncated: 16777217 * 3 gives 50331648.
void RunMul(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, SourceNumeric(m, row.op2, m.scratch2));
  ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = FloatToInt(static_cast<float>(cell.wert1) * FloatOf(m, source));
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 * FloatOf(m, source);
  });
}

// An int destination divides by the source's single value; a single one by its integer value, so
// 2.5 divides by 2 and 0.5 by 0.
void RunDiv(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, SourceNumeric(m, row.op2, m.scratch2));
  ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt)
      cell.wert1 = FloatToInt(static_cast<float>(cell.wert1) / FloatOf(m, source));
    else if (cell.typ == kTypSingle)
      cell.wert3 = static_cast<float>(static_cast<double>(cell.wert3) / static_cast<double>(IntOf(m, source)));
  });
}

void RunCos(Machine& m, const WorkingRow& row) { RunTrigonometry<Cosine>(m, row); }
void RunSin(Machine& m, const WorkingRow& row) { RunTrigonometry<Sine>(m, row); }

void RunInc(Machine& m, const WorkingRow& row) {
  ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingAdd(cell.wert1, 1);
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 + 1.0f;
  });
}

void RunDec(Machine& m, const WorkingRow& row) {
  ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingSubtract(cell.wert1, 1);
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 - 1.0f;
  });
}

void RunNeg(Machine& m, const WorkingRow& row) {
  ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingNegate(cell.wert1);
    else if (cell.typ == kTypSingle) cell.wert3 = -cell.wert3;
  });
}

void RunNot(Machine& m, const WorkingRow& row) {
  ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = cell.wert1 == 0 ? 1 : 0;
    else if (cell.typ == kTypSingle) cell.wert3 = CountsAsZero(cell.wert3) ? 1.0f : 0.0f;
  });
}

void RunAnd(Machine& m, const WorkingRow& row) { RunLogic<And>(m, row); }
void RunOr(Machine& m, const WorkingRow& row) { RunLogic<Or>(m, row); }
void RunXor(Machine& m, const WorkingRow& row) { RunLogic<Xor>(m, row); }

// Operand 2 is the first bound and is substituted first; the result lands in the first cell of the
// list, the register ax, whatever the operands name.
void RunRnd(Machine& m, const WorkingRow& row) {
  Resolved second = SourceNumeric(m, row.op2, m.scratch2);
  int32_t a = IntOf(m, second);
  Resolved first = SourceNumeric(m, row.op1, m.scratch1);
  int32_t b = IntOf(m, first);
  if (!m.variables.empty()) m.variables.front().wert3 = static_cast<float>(RandomInt(a, b));
}

void RunApp(Machine& m, const WorkingRow& row) {
  Resolved title = ValueOf(m, row.op1, m.scratch1);
  SetWindowTitle(RemoveAllQuotes(TextOf(m, title, m.scratch2)));
}

}  // namespace orvelt::pelko
