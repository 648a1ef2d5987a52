// One operation of the power or product stage, done by its literal steps on whole texts: shared
// by the reference stages and by the first levels of the fast ones.
#pragma once
#include "runtime/text.h"

namespace orvelt::zunt {

// s: the trimmed stage text; k: position of its last stage operator; left: the text before it;
// leftValue: left as the stage evaluated it. Returns s with that operation carried out, if its
// canonical text stands in s.
Text ReduceLastOperation(const Text& s, int k, const Text& left, const Text& leftValue);

// The same, given s with left already replaced by leftValue, and the operator at position k of s.
Text ReduceReplaced(const Text& replaced, int k, const Text& leftValue, char16_t op);

// Position of the last character of s that is one of the stage's operators; 0 if none.
int LastStageOperator(const Text& s, const Text& operators);

}  // namespace orvelt::zunt
