// Text operations: trimming, letter case, searching, replacing, cutting, comparing.
// Positions are 1-based; counts and positions are clamped so that no argument reads outside a text.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "runtime/text.h"

namespace orvelt {

namespace {

// A position far before the text asks for billions of blanks; the padding stops at this many.
constexpr int64_t kMaxPadding = int64_t{1} << 24;

int64_t Length(const Text& s) { return static_cast<int64_t>(s.size()); }

int ClampToInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

Text Slice(const Text& s, int64_t from, int64_t to) {
  if (to <= from) return Text();
  return s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

}  // namespace

Text TrimText(const Text& s) {
  std::size_t first = 0;
  std::size_t last = s.size();
  while (first < last && s[first] <= 32) ++first;
  while (last > first && s[last - 1] <= 32) --last;
  return s.substr(first, last - first);
}

Text LowerText(const Text& s) {
  Text result = s;
  for (char16_t& c : result)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return result;
}

Text UpperText(const Text& s) {
  Text result = s;
  for (char16_t& c : result)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return result;
}

int FindText(const Text& s, const Text& pattern, int start) {
  int64_t from = std::max(start, 1);
  if (from > Length(s) + 1) return 0;
  if (pattern.empty()) return ClampToInt(from);
  std::size_t found = s.find(pattern, static_cast<std::size_t>(from - 1));
  if (found == Text::npos) return 0;
  return ClampToInt(static_cast<int64_t>(found) + 1);
}

// The scan goes on right after each occurrence, so replaced text is never scanned again.
Text ReplaceText(const Text& s, const Text& pattern, const Text& replacement) {
  if (pattern.empty()) return s;
  Text result;
  std::size_t from = 0;
  for (std::size_t found = s.find(pattern); found != Text::npos; found = s.find(pattern, from)) {
    result.append(s, from, found - from);
    result += replacement;
    from = found + pattern.size();
  }
  result.append(s, from, Text::npos);
  return result;
}

Text LeftText(const Text& s, int count) {
  if (count <= 0) return Text();
  return Slice(s, 0, std::min<int64_t>(count, Length(s)));
}

Text RightText(const Text& s, int count) {
  if (count <= 0) return Text();
  return Slice(s, Length(s) - std::min<int64_t>(count, Length(s)), Length(s));
}

// A start before the first character with a negative count keeps one blank per missing position.
Text MidText(const Text& s, int pos, int count) {
  int64_t length = Length(s);
  if (pos > length) return Text();
  int64_t start = int64_t{pos} - 1;
  int64_t wanted = count;
  int64_t end = length;
  if (wanted >= 0) {
    if (start < 0) wanted += start, start = 0;
    end = std::min(start + wanted, length);
  }
  if (start >= 0) return Slice(s, start, end);
  Text result(static_cast<std::size_t>(std::min(-start, kMaxPadding)), u' ');
  return result + s;
}

Text CharText(int code) { return Text(1, static_cast<char16_t>(static_cast<uint32_t>(code) & 0xFFFF)); }

int CompareText(const Text& a, const Text& b) {
  std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i)
    if (a[i] != b[i]) return int{a[i]} - int{b[i]};
  return ClampToInt(Length(a) - Length(b));
}

}  // namespace orvelt
