// View-based twins of the runtime's text operations, for the hot paths of the evaluator: they
// read parts of a text in place instead of cutting copies, and give exactly the runtime's results.
#pragma once
#include <cstdint>
#include <string_view>

#include "runtime/text.h"

namespace zunt {

using TextView = std::u16string_view;

// TextToInt of the viewed characters.
int32_t ReadInt(TextView s);

// The view MidText(s, pos, count) would copy, for a pos of 1 or more.
TextView MidView(TextView s, int64_t pos, int64_t count);

// FindText(LowerText(s), pattern) for a pattern without capital letters, without the copy.
int FindLowered(TextView s, TextView pattern);

bool Contains(TextView s, char16_t c);
bool ContainsAnyOf(TextView s, TextView chars);

// ReplaceText(s, pattern, replacement), except that a result longer than maxLength ends the
// program with the fatal error "Out of memory" before it is built.
Text ReplaceBounded(Text s, TextView pattern, TextView replacement, std::size_t maxLength);

// The text without the units of 32 or below at either end, as TrimText cuts it.
TextView TrimView(TextView s);

}  // namespace zunt
