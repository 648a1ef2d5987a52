// The operand procedures that need no walk of the variable list: the pieces of index substitution,
// timer substitution, quotes and key state by name. The walks themselves run through the name
// index (resolve.h, decode.h).
#pragma once
#include <cstdint>

#include "pelko/symbols.h"

namespace orvelt::pelko {

// "[" + inner + "]".
Text Bracketed(const Text& inner);
// What an int or single cell puts between the brackets: its value, a single's truncated.
Text IndexValue(const TVariable& cell);
// Every "__TIMER__" becomes the millisecond clock, read once for the whole operand.
Text SubstituteTimer(Text x);

Text StripEnclosingQuotes(std::u16string_view x);
Text RemoveAllQuotes(std::u16string_view x);
bool HasQuote(std::u16string_view x);

// The virtual-key code of a key name ("LEFT", "ESC", "A" ...), 0 for any other text.
int KeyCodeByName(std::u16string_view name);
// 1 while the named key is held, else 0.
int KeyStateByName(std::u16string_view name);

}  // namespace orvelt::pelko
