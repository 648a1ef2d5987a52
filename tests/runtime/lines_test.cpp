// The line rule: a line feed or the character 0 ends a line, carriage returns are dropped.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/lines.h"

using namespace orvelt;

namespace {

TEST(Lines, LineFeedOrZeroEndsALineAndCarriageReturnsAreDropped) {
  struct Row {
    Text text;
    std::vector<Text> lines;
  };
  const Row rows[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\n", {u"a"}},
      {u"a\nb", {u"a", u"b"}},
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\rb\n\n", {u"ab", u""}},
      {Text(u"a\0b", 3), {u"a", u"b"}},
      {u"\r\r\n\r", {u"", u""}},
      {u"x\ry\rz", {u"xyz"}},
  };
  for (const Row& row : rows) {
    std::vector<Text> lines;
    for (std::size_t at = 0; at < row.text.size();) lines.push_back(NextLine(row.text, at));
    EXPECT_EQ(lines, row.lines) << EncodeUtf8(row.text);
  }
}

}  // namespace
