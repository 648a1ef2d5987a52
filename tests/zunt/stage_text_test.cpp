// The indexed working text of the power and product stages: replacing canonical texts as
// ReplaceText does, and never trusting an earlier miss once the characters around it changed.
#include <gtest/gtest.h>

#include <string>

#include "runtime/text.h"
#include "zunt/stage_text.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

std::string Utf8(const Text& t) { return EncodeUtf8(t); }

struct ReplaceRow {
  std::u16string text;
  std::u16string a;
  char16_t op;
  std::u16string b;
  std::u16string replacement;
  std::u16string expected;
};

TEST(StageText, ReplacesLikeReplaceText) {
  const ReplaceRow rows[] = {
      {u"2*3", u"2", u'*', u"3", u"6", u"6"},
      {u"12*3", u"2", u'*', u"3", u"6", u"16"},
      {u"2*2*2", u"2", u'*', u"2", u"4", u"4*2"},
      {u"2*3+2*3", u"2", u'*', u"3", u"6", u"6+6"},
      {u"2*-3", u"2", u'*', u"-3", u"-6", u"-6"},
      {u"2 * 3", u"2", u'*', u"3", u"6", u"2 * 3"},
      {u"2/3", u"2", u'*', u"3", u"6", u"2/3"},
      {u"2*3", u"2", u'/', u"3", u"0", u"2*3"},
  };
  for (const ReplaceRow& row : rows) {
    StageText w(u"*/", row.text);
    w.ReplaceAll(row.a, row.op, row.b, row.replacement);
    EXPECT_EQ(Utf8(w.text()), Utf8(ReplaceText(row.text, row.a + row.op + row.b, row.replacement)));
    EXPECT_EQ(Utf8(w.text()), Utf8(row.expected));
  }
}

// A miss is remembered only for operators whose every character in reach is written.
TEST(StageText, AMissNearTheEndIsNotRemembered) {
  StageText w(u"*/", u"5*1");
  w.ReplaceAll(u"5", u'*', u"12", u"60");
  EXPECT_EQ(Utf8(w.text()), "5*1");
  w.Append(u"2+00000000000000");
  w.ReplaceAll(u"5", u'*', u"12", u"60");
  EXPECT_EQ(Utf8(w.text()), "60+00000000000000");
}

// A replacement further on changes what stands after an operator that missed before.
TEST(StageText, AMissIsForgottenWhenTheTextAfterItChanges) {
  StageText w(u"*/", u"5*12*3+00000000000000");
  w.ReplaceAll(u"5", u'*', u"16", u"80");
  EXPECT_EQ(Utf8(w.text()), "5*12*3+00000000000000");
  w.ReplaceAll(u"2", u'*', u"3", u"6");
  EXPECT_EQ(Utf8(w.text()), "5*16+00000000000000");
  w.ReplaceAll(u"5", u'*', u"16", u"80");
  EXPECT_EQ(Utf8(w.text()), "80+00000000000000");
}

TEST(StageText, OperatorQueries) {
  StageText w(u"^", u"1+2^3-4");
  EXPECT_EQ(w.LastOperatorBelow(w.size() - 1), 5);
  EXPECT_EQ(w.LastOperatorBelow(5), 3);
  EXPECT_EQ(w.LastOperatorBelow(1), -1);
  EXPECT_EQ(w.FirstFrom(OperatorIndex(u'-'), 0), 5);
  EXPECT_EQ(w.FirstFrom(OperatorIndex(u'+'), 2), -1);
  EXPECT_EQ(w.LastOf(OperatorIndex(u'^')), 3);
}

}  // namespace
}  // namespace zunt
