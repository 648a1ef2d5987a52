// Operand resolution on the decoded path: the operand procedures' walks taken as jumps from one
// matching cell to the next through the name index, and the numbers and texts of what they find.
#include "pelko/resolve.h"

#include <bit>

#include "runtime/window.h"

namespace orvelt::pelko {
namespace {

const SingleText& CachedSingle(Machine& machine, int32_t cell) {
  SingleText& cached = machine.decoded.singles[machine.decoded.singleSlot[static_cast<std::size_t>(cell)]];
  float value = machine.variables[static_cast<std::size_t>(cell)].wert3;
  uint32_t bits = std::bit_cast<uint32_t>(value);
  if (!cached.valid || cached.bits != bits) {
    cached.text = FloatToText(value);
    cached.asInt = TextToInt(cached.text);
    cached.asFloat = TextToFloat(cached.text);
    cached.bits = bits;
    cached.valid = true;
  }
  return cached;
}

// The cell after which the walk goes on, found by the value text the operand now reads.
int32_t NextInChain(Machine& machine, int32_t cell, bool numericOnly) {
  const NameIndex& names = machine.decoded.names;
  const TVariable& v = machine.variables[static_cast<std::size_t>(cell)];
  if (v.typ == kTypString) return names.NextNamed(v.wert2, cell, numericOnly);
  if (!names.NumberMayNameAfter(cell)) return -1;
  if (v.typ == kTypSingle) return names.NextNamed(CachedSingle(machine, cell).text, cell, numericOnly);
  return names.NextNamed(ValueText(v), cell, numericOnly);
}

Resolved FollowChain(Machine& machine, const WorkingOperand& op, bool numericOnly, int* strings) {
  int32_t cell = numericOnly ? op.names.FirstNumeric() : op.names.First();
  if (cell < 0) return Resolved{-1, op.text, op.numbers ? &op : nullptr};
  for (;;) {
    if (strings && machine.variables[static_cast<std::size_t>(cell)].typ == kTypString) ++*strings;
    int32_t next = NextInChain(machine, cell, numericOnly);
    if (next < 0) return Resolved{cell, {}, nullptr};
    cell = next;
  }
}

}  // namespace

Resolved DecodedPath::SourceFull(Machine& machine, const WorkingOperand& op, Text&) {
  return FollowChain(machine, op, false, nullptr);
}

Resolved DecodedPath::SourceNumeric(Machine& machine, const WorkingOperand& op, Text&) {
  return FollowChain(machine, op, true, nullptr);
}

Resolved DecodedPath::CompareWalk(Machine& machine, const WorkingOperand& op, int& strings, Text&) {
  return FollowChain(machine, op, false, &strings);
}

Resolved DecodedPath::ValueOf(Machine&, const WorkingOperand& op, Text&) {
  int32_t cell = op.names.First();
  return cell < 0 ? Resolved{-1, op.text, op.numbers ? &op : nullptr} : Resolved{cell, {}, nullptr};
}

int32_t IntOf(Machine& machine, const Resolved& value) {
  if (value.cell >= 0) {
    const TVariable& v = machine.variables[static_cast<std::size_t>(value.cell)];
    if (v.typ == kTypInt) return v.wert1;  // IntToText and TextToInt undo each other
    if (v.typ == kTypSingle) return CachedSingle(machine, value.cell).asInt;
    return TextToInt(v.wert2);
  }
  if (value.operand) return value.operand->asInt;
  return TextToInt(value.text);
}

float FloatOf(Machine& machine, const Resolved& value) {
  if (value.cell >= 0) {
    const TVariable& v = machine.variables[static_cast<std::size_t>(value.cell)];
    // The decimal text of a 32-bit integer reads back exactly as a double, which then rounds to
    // the same single as the integer does.
    if (v.typ == kTypInt) return static_cast<float>(v.wert1);
    if (v.typ == kTypSingle) return CachedSingle(machine, value.cell).asFloat;
    return TextToFloat(v.wert2);
  }
  if (value.operand) return value.operand->asFloat;
  return TextToFloat(value.text);
}

std::u16string_view TextOf(Machine& machine, const Resolved& value, Text& scratch) {
  if (value.cell < 0) return value.text;
  const TVariable& v = machine.variables[static_cast<std::size_t>(value.cell)];
  if (v.typ == kTypString) return v.wert2;
  if (v.typ == kTypSingle) return CachedSingle(machine, value.cell).text;
  scratch = ValueText(v);
  return scratch;
}

void Freeze(Machine& machine, Resolved& value, Text& scratch) {
  if (value.cell < 0) return;
  Text text(TextOf(machine, value, scratch));
  scratch = std::move(text);
  value = ResolvedText(scratch);
}

const Text& FixedName(Fixed which) {
  static const Text kNames[] = {u"cx", u"dx", u"cmd", u"kbd"};
  return kNames[static_cast<int>(which)];
}

const NameRef& DecodedPath::FixedRef(Machine& machine, Fixed which) {
  switch (which) {
    case Fixed::Cx:
      return machine.decoded.cx;
    case Fixed::Dx:
      return machine.decoded.dx;
    case Fixed::Cmd:
      return machine.decoded.cmd;
    case Fixed::Kbd:
      break;
  }
  return machine.decoded.kbd;
}

int32_t DecodedPath::FirstFixed(Machine& machine, Fixed which) { return FixedRef(machine, which).First(); }

void DecodedPath::OpenWindow(int32_t width, int32_t height) {
  OpenGraphicsWindow(width, height, 0, 0, WindowPlacement::Corner32);
}

}  // namespace orvelt::pelko
