// View-based twins of the runtime's text operations; tests hold them against the runtime's own.
#include "zunt/text_view.h"

#include <algorithm>

#include "runtime/process.h"

namespace orvelt::zunt {
namespace {

constexpr char16_t LowerUnit(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

}  // namespace

TextView MidView(TextView s, int64_t pos, int64_t count) {
  int64_t length = static_cast<int64_t>(s.size());
  if (pos > length || pos < 1) return TextView();
  int64_t start = pos - 1;
  int64_t end = count >= 0 ? std::min(start + count, length) : length;
  if (end <= start) return TextView();
  return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

int FindLowered(TextView s, TextView pattern) {
  if (pattern.empty()) return 1;
  if (pattern.size() > s.size()) return 0;
  for (std::size_t i = 0; i + pattern.size() <= s.size(); ++i) {
    if (LowerUnit(s[i]) != pattern[0]) continue;
    std::size_t k = 1;
    while (k < pattern.size() && LowerUnit(s[i + k]) == pattern[k]) ++k;
    if (k == pattern.size()) return static_cast<int>(i + 1);
  }
  return 0;
}

bool Contains(TextView s, char16_t c) { return s.find(c) != TextView::npos; }

bool ContainsAnyOf(TextView s, TextView chars) { return s.find_first_of(chars) != TextView::npos; }

PatternFinder::PatternFinder(TextView pattern) : pattern_(pattern) {
  if (pattern.size() <= kShortPattern) return;
  fallback_.assign(pattern.size(), 0);
  std::size_t border = 0;
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    while (border > 0 && pattern[i] != pattern[border]) border = fallback_[border - 1];
    if (pattern[i] == pattern[border]) ++border;
    fallback_[i] = border;
  }
}

std::size_t PatternFinder::Find(TextView text, std::size_t from) const {
  if (fallback_.empty()) return text.find(pattern_, from);
  std::size_t matched = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    while (matched > 0 && text[i] != pattern_[matched]) matched = fallback_[matched - 1];
    if (text[i] == pattern_[matched]) ++matched;
    if (matched == pattern_.size()) return i + 1 - matched;
  }
  return TextView::npos;
}

// Same scan as ReplaceText: from the left, going on right after each occurrence.
Text ReplaceBounded(Text s, TextView pattern, TextView replacement, std::size_t maxLength, bool* replaced) {
  if (replaced) *replaced = false;
  if (pattern.empty() || pattern.size() > s.size()) return s;
  PatternFinder finder(pattern);
  std::size_t found = finder.Find(s, 0);
  if (found == TextView::npos) return s;
  if (replaced) *replaced = true;
  Text result;
  std::size_t from = 0;
  for (; found != TextView::npos; found = finder.Find(s, from)) {
    if (result.size() + (found - from) + replacement.size() > maxLength) RaiseFatalError(u"Out of memory");
    result.append(s, from, found - from);
    result.append(replacement);
    from = found + pattern.size();
  }
  if (result.size() + (s.size() - from) > maxLength) RaiseFatalError(u"Out of memory");
  result.append(s, from, Text::npos);
  return result;
}

TextView TrimView(TextView s) {
  std::size_t first = 0;
  std::size_t last = s.size();
  while (first < last && s[first] <= 32) ++first;
  while (last > first && s[last - 1] <= 32) --last;
  return s.substr(first, last - first);
}

}  // namespace orvelt::zunt
