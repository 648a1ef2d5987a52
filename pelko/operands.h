// The operand procedures as plain walks over the variable list: index and timer substitution,
// source substitution, the walk of "cmp", operand value, quotes and key state by name. These walks
// are the reference; the decoded rows (decode.h) must give the same results.
#pragma once
#include <cstdint>

#include "pelko/symbols.h"

namespace orvelt::pelko {

// "arr[i]" becomes "arr[2]" for an int or single cell i; every cell is visited in list order and
// sees the text as the cells before it left it.
Text SubstituteIndexes(const VariableList& variables, Text x);
// "[" + inner + "]".
Text Bracketed(const Text& inner);
// What an int or single cell puts between the brackets: its value, a single's truncated.
Text IndexValue(const TVariable& cell);
// Every "__TIMER__" becomes the millisecond clock, read once for the whole operand.
Text SubstituteTimer(Text x);

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

Text StripEnclosingQuotes(const Text& x);
Text RemoveAllQuotes(const Text& x);
bool HasQuote(const Text& x);

// The virtual-key code of a key name ("LEFT", "ESC", "A" ...), 0 for any other text.
int KeyCodeByName(const Text& name);
// 1 while the named key is held, else 0.
int KeyStateByName(const Text& name);

}  // namespace orvelt::pelko
