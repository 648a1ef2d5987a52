// Reading a script: its text split into lines, with a jump label for every line starting with "#".
#pragma once
#include "runtime/text.h"
#include "zunt/script.h"

namespace orvelt::zunt {

// Stores the lines of the decoded file text after those already stored, as Load does. False, and
// nothing stored, when the lines would be more than a line number can count.
bool StoreScriptLines(TScript& script, const Text& content);

}  // namespace orvelt::zunt
