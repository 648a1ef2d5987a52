// The instructions that compute: copies, arithmetic, logic, trigonometry, random numbers and the
// application title, each acting on every destination cell by that cell's own type.
#pragma once
#include <cmath>

#include "pelko/instructions.h"
#include "pelko/operands.h"
#include "pelko/resolve.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/window.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {

inline bool CountsAsZero(float value) { return value == 0.0f || std::isnan(value); }

// and, or, xor on an integer d with the source's integer a: "xor" is the "or" result minus the
// "and" result.
inline int32_t LogicAnd(int32_t d, int32_t a) { return a != 0 ? d : 0; }
inline int32_t LogicOr(int32_t d, int32_t a) { return a != 0 ? a : d; }
inline int32_t LogicXor(int32_t d, int32_t a) { return WrappingSubtract(LogicOr(d, a), LogicAnd(d, a)); }

// The source of a two-operand instruction, taken as text before the first of several
// destinations changes.
inline Resolved SourceFor(Machine& m, const WorkingRow& row, Resolved source) {
  if (row.op1.names.count > 1) Freeze(m, source, m.scratch1);
  return source;
}

// A single destination takes part as its truth value and receives the integer result as a single.
template <class Path, int32_t (*Logic)(int32_t, int32_t)>
void RunLogic(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, Path::SourceNumeric(m, row.op2, m.scratch1));
  Path::ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = Logic(cell.wert1, IntOf(m, source));
    else if (cell.typ == kTypSingle)
      cell.wert3 = static_cast<float>(Logic(CountsAsZero(cell.wert3) ? 0 : 1, IntOf(m, source)));
  });
}

inline double Cosine(double x) { return std::cos(x); }
inline double Sine(double x) { return std::sin(x); }

// The angle is in degrees.
template <class Path, double (*Function)(double)>
void RunTrigonometry(Machine& m, const WorkingRow& row) {
  int32_t cell = Path::FirstSingleNamed(m, row.op1);
  if (cell < 0) return;
  float& value = m.variables[static_cast<std::size_t>(cell)].wert3;
  constexpr double kPi = 3.14159265358979323846;
  value = static_cast<float>(Function(static_cast<double>(value) * kPi / 180.0));
}

template <class Path>
void RunMov(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, Path::SourceFull(m, row.op2, m.scratch2));
  Path::ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = IntOf(m, source);
    else if (cell.typ == kTypString) cell.wert2 = StripEnclosingQuotes(TextOf(m, source, m.scratch2));
    else if (cell.typ == kTypSingle) cell.wert3 = FloatOf(m, source);
  });
}

template <class Path>
void RunAdd(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, Path::SourceFull(m, row.op2, m.scratch2));
  Path::ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) {
      cell.wert1 = WrappingAdd(cell.wert1, IntOf(m, source));
    } else if (cell.typ == kTypString) {
      // The text grows in place: appending costs what is appended, not what the cell holds.
      cell.wert2 += StripEnclosingQuotes(TextOf(m, source, m.scratch2));
    } else if (cell.typ == kTypSingle) {
      cell.wert3 = cell.wert3 + FloatOf(m, source);
    }
  });
}

template <class Path>
void RunSub(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, Path::SourceNumeric(m, row.op2, m.scratch2));
  Path::ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingSubtract(cell.wert1, IntOf(m, source));
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 - FloatOf(m, source);
  });
}

// An int destination is multiplied in single precision and truncated: 16777217 * 3 gives 50331648.
template <class Path>
void RunMul(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, Path::SourceNumeric(m, row.op2, m.scratch2));
  Path::ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = FloatToInt(static_cast<float>(cell.wert1) * FloatOf(m, source));
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 * FloatOf(m, source);
  });
}

// An int destination divides by the source's single value; a single one by its integer value, so
// 2.5 divides by 2 and 0.5 by 0.
template <class Path>
void RunDiv(Machine& m, const WorkingRow& row) {
  Resolved source = SourceFor(m, row, Path::SourceNumeric(m, row.op2, m.scratch2));
  Path::ForEachDestination(m, row.op1, [&](TVariable& cell) {
    if (cell.typ == kTypInt)
      cell.wert1 = FloatToInt(static_cast<float>(cell.wert1) / FloatOf(m, source));
    else if (cell.typ == kTypSingle)
      cell.wert3 = static_cast<float>(static_cast<double>(cell.wert3) / static_cast<double>(IntOf(m, source)));
  });
}

template <class Path>
void RunCos(Machine& m, const WorkingRow& row) {
  RunTrigonometry<Path, Cosine>(m, row);
}

template <class Path>
void RunSin(Machine& m, const WorkingRow& row) {
  RunTrigonometry<Path, Sine>(m, row);
}

template <class Path>
void RunInc(Machine& m, const WorkingRow& row) {
  Path::ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingAdd(cell.wert1, 1);
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 + 1.0f;
  });
}

template <class Path>
void RunDec(Machine& m, const WorkingRow& row) {
  Path::ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingSubtract(cell.wert1, 1);
    else if (cell.typ == kTypSingle) cell.wert3 = cell.wert3 - 1.0f;
  });
}

template <class Path>
void RunNeg(Machine& m, const WorkingRow& row) {
  Path::ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = WrappingNegate(cell.wert1);
    else if (cell.typ == kTypSingle) cell.wert3 = -cell.wert3;
  });
}

template <class Path>
void RunNot(Machine& m, const WorkingRow& row) {
  Path::ForEachDestination(m, row.op1, [](TVariable& cell) {
    if (cell.typ == kTypInt) cell.wert1 = cell.wert1 == 0 ? 1 : 0;
    else if (cell.typ == kTypSingle) cell.wert3 = CountsAsZero(cell.wert3) ? 1.0f : 0.0f;
  });
}

template <class Path>
void RunAnd(Machine& m, const WorkingRow& row) {
  RunLogic<Path, LogicAnd>(m, row);
}

template <class Path>
void RunOr(Machine& m, const WorkingRow& row) {
  RunLogic<Path, LogicOr>(m, row);
}

template <class Path>
void RunXor(Machine& m, const WorkingRow& row) {
  RunLogic<Path, LogicXor>(m, row);
}

// Operand 2 is the first bound and is substituted first; the result lands in the first cell of the
// list, the register ax, whatever the operands name.
template <class Path>
void RunRnd(Machine& m, const WorkingRow& row) {
  Resolved second = Path::SourceNumeric(m, row.op2, m.scratch2);
  int32_t a = IntOf(m, second);
  Resolved first = Path::SourceNumeric(m, row.op1, m.scratch1);
  int32_t b = IntOf(m, first);
  if (!m.variables.empty()) m.variables.front().wert3 = static_cast<float>(RandomInt(a, b));
}

template <class Path>
void RunApp(Machine& m, const WorkingRow& row) {
  Resolved title = Path::ValueOf(m, row.op1, m.scratch1);
  SetWindowTitle(RemoveAllQuotes(TextOf(m, title, m.scratch2)));
}

}  // namespace orvelt::pelko
