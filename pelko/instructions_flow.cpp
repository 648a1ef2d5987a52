// The fatal messages of the flow instructions, the return stack's bound, and storing a popped text.
#include "pelko/instructions_flow.h"

namespace orvelt::pelko {

void RaiseAtRow(const char16_t* message, int32_t row) { RaiseFatalError(message + IntToText(row)); }

void RaiseLabelMissing(const Text& name) {
  RaiseFatalError(u"DEBUG >> pelko kann das Label '" + name + u"' nicht finden!");
}

void PushReturn(Machine& machine) {
  if (machine.returnDepth + 1 >= kReturnStackSize) RaiseAtRow(u"DEBUG >> CALL-Stapel voll! LINE: ", machine.current);
  machine.returnStack[static_cast<std::size_t>(++machine.returnDepth)] = machine.current;
}

void StoreByType(TVariable& cell, const Text& value) {
  if (cell.typ == kTypInt) cell.wert1 = TextToInt(value);
  else if (cell.typ == kTypString) cell.wert2 = value;
  else if (cell.typ == kTypSingle) cell.wert3 = TextToFloat(value);
}

}  // namespace orvelt::pelko
