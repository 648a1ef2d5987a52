// View-based twins of the runtime's text operations; tests hold them against the runtime's own.
#include "zunt/text_view.h"

#include <algorithm>
#include <array>

namespace orvelt::zunt {

TextView MidView(TextView s, int64_t pos, int64_t count) {
  int64_t length = static_cast<int64_t>(s.size());
  if (pos > length || pos < 1) return TextView();
  int64_t start = pos - 1;
  int64_t end = count >= 0 ? std::min(start + count, length) : length;
  if (end <= start) return TextView();
  return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

TextView LeftView(TextView s, int64_t count) {
  if (count <= 0) return TextView();
  return s.substr(0, static_cast<std::size_t>(std::min<int64_t>(count, static_cast<int64_t>(s.size()))));
}

TextView RightView(TextView s, int64_t count) {
  if (count <= 0) return TextView();
  std::size_t n = static_cast<std::size_t>(std::min<int64_t>(count, static_cast<int64_t>(s.size())));
  return s.substr(s.size() - n);
}

int64_t FindUnit(TextView s, char16_t c, int64_t start) {
  int64_t from = std::max<int64_t>(start, 1);
  if (from > static_cast<int64_t>(s.size())) return 0;
  std::size_t found = s.find(c, static_cast<std::size_t>(from - 1));
  return found == TextView::npos ? 0 : static_cast<int64_t>(found) + 1;
}

int64_t FindLowered(TextView s, TextView pattern) {
  if (pattern.empty()) return 1;
  if (pattern.size() > s.size()) return 0;
  for (std::size_t i = 0; i + pattern.size() <= s.size(); ++i) {
    if (LowerUnit(s[i]) != pattern[0]) continue;
    std::size_t k = 1;
    while (k < pattern.size() && LowerUnit(s[i + k]) == pattern[k]) ++k;
    if (k == pattern.size()) return static_cast<int64_t>(i) + 1;
  }
  return 0;
}

bool Contains(TextView s, char16_t c) { return s.find(c) != TextView::npos; }

// The characters looked for are few and plain: one table of the ASCII ones answers for each unit.
bool ContainsAnyOf(TextView s, TextView chars) {
  std::array<bool, 128> wanted{};
  for (char16_t c : chars) {
    if (c >= 128) return s.find_first_of(chars) != TextView::npos;
    wanted[c] = true;
  }
  return std::any_of(s.begin(), s.end(), [&](char16_t c) { return c < 128 && wanted[c]; });
}

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
std::optional<Text> Replaced(TextView s, TextView pattern, TextView replacement) {
  if (pattern.empty() || pattern.size() > s.size()) return std::nullopt;
  PatternFinder finder(pattern);
  std::size_t found = finder.Find(s, 0);
  if (found == TextView::npos) return std::nullopt;
  Text result;
  std::size_t from = 0;
  for (; found != TextView::npos; found = finder.Find(s, from)) {
    result.append(s.substr(from, found - from));
    result.append(replacement);
    from = found + pattern.size();
  }
  result.append(s.substr(from));
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
