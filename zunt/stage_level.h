// One operation of the power or product stage, done by its literal steps on whole texts: the first
// levels of the stages are computed this way.
#pragma once
#include <cstdint>

#include "runtime/text.h"

namespace orvelt::zunt {

// replaced: the trimmed stage text with the left part of its operation at position k already
// replaced by leftValue, the left part as the stage evaluated it. Returns the text with that
// operation carried out, if its canonical text stands in it.
Text ReduceReplaced(const Text& replaced, int64_t k, const Text& leftValue, char16_t op);

}  // namespace orvelt::zunt
