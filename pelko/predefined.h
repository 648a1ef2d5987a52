// The predefined symbols, applied once to the line table after loading.
#pragma once
#include <cstdint>

#include "pelko/loader.h"

namespace orvelt::pelko {

// Replaces operand cells that are exactly "__LINE__", "__WINDOWS__", "__LINUX__", "__MACOS__",
// "__FUNC__" or "__CTIMER__"; column 0 is never touched.
void ApplyPredefinedSymbols(LineTable& rows, int32_t startTime);

}  // namespace orvelt::pelko
