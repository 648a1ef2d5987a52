// View-based twins of the runtime's text operations, for the hot paths of the interpreter: they
// read parts of a text in place instead of cutting copies, take 64-bit positions, and give exactly
// the runtime's results.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace orvelt::zunt {

using TextView = std::u16string_view;

constexpr char16_t LowerUnit(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// The view MidText(s, pos, count) would copy, for a pos of 1 or more.
TextView MidView(TextView s, int64_t pos, int64_t count);
// LeftText and RightText as views.
TextView LeftView(TextView s, int64_t count);
TextView RightView(TextView s, int64_t count);

// FindText(s, c, start) for a pattern of one character: 1-based, 0 when absent.
int64_t FindUnit(TextView s, char16_t c, int64_t start = 1);
// FindText(LowerText(s), pattern) for a pattern without capital letters, without the copy.
int64_t FindLowered(TextView s, TextView pattern);

bool Contains(TextView s, char16_t c);
bool ContainsAnyOf(TextView s, TextView chars);

// Finds a pattern in texts as Text's own search does. A long pattern is searched with the
// Knuth-Morris-Pratt table, so that a text full of near misses costs no more than its length.
class PatternFinder {
 public:
  explicit PatternFinder(TextView pattern);
  // The first occurrence starting at or after from, or TextView::npos.
  std::size_t Find(TextView text, std::size_t from) const;

 private:
  static constexpr std::size_t kShortPattern = 16;
  TextView pattern_;
  std::vector<std::size_t> fallback_;  // for long patterns: the longest proper border of each prefix
};

// ReplaceText(s, pattern, replacement), or nothing when the pattern does not occur in s.
std::optional<Text> Replaced(TextView s, TextView pattern, TextView replacement);

// The text without the units of 32 or below at either end, as TrimText cuts it.
TextView TrimView(TextView s);

}  // namespace orvelt::zunt
