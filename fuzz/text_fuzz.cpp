// Arbitrary bytes through the text readers, cuts, search and replace, and the byte decoding:
// nothing may crash, read outside a text or break the rules every result must keep.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/text.h"

using namespace orvelt;

namespace {

// Takes a small integer from the front of the input; positions and counts near the text matter,
// together with the extremes.
int TakeInt(std::string_view* data) {
  if (data->size() < 4) return 0;
  int32_t value;
  std::memcpy(&value, data->data(), 4);
  data->remove_prefix(4);
  return value;
}

Text TakeText(std::string_view* data) {
  std::size_t length = data->empty() ? 0 : static_cast<unsigned char>(data->front()) % 64;
  if (!data->empty()) data->remove_prefix(1);
  length = std::min(length, data->size());
  Text text = DecodeBytes(data->substr(0, length));
  data->remove_prefix(length);
  return text;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckCuts(const Text& s, int pos, int count) {
  Text mid = MidText(s, pos, count);
  if (count >= 0) Check(mid.size() <= static_cast<std::size_t>(count));
  Check(mid.size() <= s.size() + (std::size_t{1} << 24));
  Check(LeftText(s, count).size() <= s.size());
  Check(RightText(s, count).size() <= s.size());
}

void CheckSearch(const Text& s, const Text& pattern, int start) {
  int found = FindText(s, pattern, start);
  Check(found >= 0 && static_cast<std::size_t>(found) <= s.size() + 1);
  if (found > 0) Check(s.compare(static_cast<std::size_t>(found - 1), pattern.size(), pattern) == 0);
  Text replaced = ReplaceText(s, pattern, pattern);
  Check(replaced == s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  Check(EncodeUtf8(DecodeBytes(data)).size() <= size * 3 + 3);
  int pos = TakeInt(&data);
  int count = TakeInt(&data);
  Text s = TakeText(&data);
  Text pattern = TakeText(&data);
  Text replacement = TakeText(&data);

  TextToInt(s);
  float value = TextToFloat(s);
  Check(FloatToText(value).size() < 32);
  Check(IntToText(TextToInt(s)) == IntToText(TextToInt(IntToText(TextToInt(s)))));
  // A position far before the text with a negative count asks for the longest padding; the unit
  // tests cover that, here it would only slow every run down.
  if (pos > -4096 || count >= 0) CheckCuts(s, pos, count);
  CheckCuts(s, pos % 100, count % 100);
  CheckSearch(s, pattern, pos);
  CheckSearch(s, pattern, pos % 100);
  ReplaceText(s, pattern, replacement);
  TrimText(s);
  CompareText(s, pattern);
  return 0;
}
