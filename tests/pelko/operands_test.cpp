// Operands: the predefined symbols, index and timer substitution, quotes, key names, and the
// procedures as seen by running programs.
#include <gtest/gtest.h>

#include "pelko/operands.h"
#include "pelko/predefined.h"
#include "tests/pelko/harness.h"

using namespace orvelt;

namespace {

using pelko_test::Lines;
using pelko_test::RunBothWays;

struct ProgramCase {
  std::string name;
  std::string source;
  std::string out;
};

void RunCases(const std::vector<ProgramCase>& cases) {
  for (const ProgramCase& c : cases) {
    pelko_test::Outcome outcome = RunBothWays(c.source);
    EXPECT_EQ(outcome.out, c.out) << c.name;
    EXPECT_EQ(outcome.err, "") << c.name;
  }
}

TEST(Predefined, WholeOperandCellsOnly) {
  RunCases({
      {"line number", ".text\n\n\n\n\n\n\nmov cmd, __LINE__\nint print\n", Lines({"7"})},
      {"merely containing", ".text\nmov cmd, x__LINE__\nint print\n", Lines({"x__LINE__"})},
      {"as a mnemonic", ".text\n__LINE__ cmd, 1\nint print\n", Lines({""})},
      {"as the first operand", ".text\nmov dx, 1\npush __LINE__\npop cmd\nint print\n", Lines({"2"})},
      {"platform", ".text\nmov cmd, __WINDOWS__\nint print\nmov cmd, __LINUX__\nint print\nmov cmd, __MACOS__\nint print\n",
       Lines({"1", "0", "0"})},
      {"function below a label", ".text\nloop:\nmov cmd, __FUNC__\nint print\n", Lines({"loop"})},
      {"function names the nearest label", ".text\na:\nb:\n\nmov cmd, __FUNC__\nint print\n", Lines({"b"})},
      {"function above every label", ".text\nmov cmd, __FUNC__\nint print\nx:\n", Lines({"__FUNC__"})},
      {"function on the label row itself", ".text\nf: mov cmd, __FUNC__\nmov cmd, __FUNC__\nint print\n",
       Lines({"f"})},
      {"start time", ".text\nmov cmd, __CTIMER__\nint print\nmov cmd, __CTIMER__\nint print\n", Lines({"777", "777"})},
      {"quoted stays", ".text\nmov cmd, \"__LINE__\"\nint print\n", Lines({"__LINE__"})},
  });
}

TEST(Predefined, LeavesColumnZeroAndPartialCells) {
  pelko::LineTable rows = {{u"__LINE__", u"__LINE__", u"a__LINE__"}, {u"f:", u"__FUNC__", u"__CTIMER__"}};
  pelko::ApplyPredefinedSymbols(rows, -5);
  const pelko::Row expected[] = {{u"__LINE__", u"0", u"a__LINE__"}, {u"f:", u"f", u"-5"}};
  for (std::size_t r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(rows[r][c], expected[r][c]) << r << ", " << c;
}

TEST(Timer, EachOperandReadsTheClockAnew) {
  // The fake clock moves 1 ms per reading: operand 1 is read before operand 2.
  pelko_test::Outcome outcome = RunBothWays(
      ".text\nmov cx, __TIMER__\nmov cmd, cx\nint print\nmov cmd, __TIMER__\nint print\n"
      "mov cmd, \"t=__TIMER__ and __TIMER__\"\nint print\n");
  EXPECT_EQ(outcome.out, Lines({"1000", "1001", "t=1002 and 1002"}));
}

TEST(Timer, DelayMovesTheClockAndANegativeDelayDoesNot) {
  pelko_test::Outcome outcome = RunBothWays(
      ".text\nint delay, 100\nmov cmd, __TIMER__\nint print\nint delay, -5\nmov cmd, __TIMER__\nint print\n"
      "mov cx, 50\nint delay, cx\nmov cmd, __TIMER__\nint print\n");
  EXPECT_EQ(outcome.out, Lines({"1100", "1101", "1102"}));
}

TEST(Indexes, BracketedNamesBecomeTheirIntegerValues) {
  RunCases({
      {"int index", ".data\ni int 1\narr[2] int 0\n.text\nmov arr[i], 5\nmov cmd, arr[1]\nint print\n", Lines({"5"})},
      {"no such index cell", ".data\narr[2] int 4\n.text\nmov cx, arr[i]\nmov cmd, cx\nint print\n", Lines({"0"})},
      {"single index truncates", ".data\ni single 2.7\narr[2] int 7\n.text\nmov cmd, arr[i]\nint print\n",
       Lines({"7"})},
      {"negative single index", ".data\ni single -2.7\n.text\nmov cmd, \"a[i]\"\nint print\n", Lines({"a[-2]"})},
      {"string cells replace nothing", ".data\ni string 1\n.text\nmov cmd, \"a[i]\"\nint print\n", Lines({"a[i]"})},
      {"every occurrence", ".data\ni int 3\n.text\nmov cmd, \"[i][i]\"\nint print\n", Lines({"[3][3]"})},
      {"an expression is not evaluated", ".data\ni int 3\n.text\nmov cmd, \"a[i+1]\"\nint print\n", Lines({"a[i+1]"})},
      {"registers as index", ".data\na[3] int 8\n.text\nmov cx, 3\nmov cmd, a[cx]\nint print\n", Lines({"8"})},
      {"both operands", ".data\ni int 0\nj int 1\na[1] int 0\n.text\nmov a[j], a[i]\nadd a[j], 6\nmov cmd, a[1]\nint print\n",
       Lines({"6"})},
      {"nested, inner cell first", ".data\nj int 1\nb[1] int 2\na[2] int 9\n.text\nmov cmd, a[b[j]]\nint print\n",
       Lines({"9"})},
      {"nested, inner cell last", ".data\nb[1] int 2\na[2] int 9\nj int 1\n.text\nmov cmd, \"a[b[j]]\"\nint print\n",
       Lines({"a[b[1]]"})},
      {"a number-named cell rewrites a replaced index",
       ".data\ni int 5\n5 int 2\n.text\nmov cmd, \"a[i]\"\nint print\n", Lines({"a[2]"})},
      {"an earlier number-named cell does not", ".data\n5 int 2\ni int 5\n.text\nmov cmd, \"a[i]\"\nint print\n",
       Lines({"a[5]"})},
      {"index inside quotes too", ".data\ni int 4\n.text\nmov cmd, \"[i]\"\nint print\n", Lines({"[4]"})},
      {"empty name", ".data\nx int 5\n\n.text\nmov cmd, \"a[]\"\nint print\n", Lines({"a[5]"})},
  });
}

struct QuoteCase {
  std::string in, stripped, removed;
};

TEST(Quotes, StripEnclosingAndRemoveAll) {
  const QuoteCase cases[] = {
      {"\"abc\"", "abc", "abc"}, {"\"", "", ""},           {"\"\"", "", ""},     {"abc", "abc", "abc"},
      {"\"abc", "\"abc", "abc"}, {"a\"b\"c", "a\"b\"c", "abc"}, {"\"a\"b\"", "a\"b", "ab"}, {"", "", ""},
  };
  for (const QuoteCase& c : cases) {
    EXPECT_EQ(EncodeUtf8(pelko::StripEnclosingQuotes(TextFromLatin1(c.in))), c.stripped) << c.in;
    EXPECT_EQ(EncodeUtf8(pelko::RemoveAllQuotes(TextFromLatin1(c.in))), c.removed) << c.in;
  }
}

TEST(KeyNames, ExactNamesMapToVirtualKeys) {
  const std::pair<const char16_t*, int> cases[] = {
      {u"LEFT", 37}, {u"RIGHT", 39}, {u"UP", 38}, {u"DOWN", 40}, {u"ESC", 27}, {u"A", 65}, {u"S", 83},
      {u"D", 68},    {u"W", 87},     {u"a", 0},   {u"esc", 0},   {u"X", 0},   {u"", 0},   {u"LEFT ", 0},
  };
  for (const auto& [name, code] : cases) EXPECT_EQ(pelko::KeyCodeByName(name), code) << EncodeUtf8(name);
}

TEST(Source, OperandValueTakesTheFirstCellOnly) {
  RunCases({
      {"org reads the first cell",
       ".data\nx int 3\n.text\npush x\npop cmd\nint print\n", Lines({"3"})},
      {"a name given twice: the first cell",
       ".data\nv string first\nv string second\n.text\npush v\npop cmd\nint print\n", Lines({"first"})},
  });
}

}  // namespace
