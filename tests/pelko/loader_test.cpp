// Loading: line reading, cleaning of comments, sections, the two passes, splitting into columns
// and the wait flag.
#include <gtest/gtest.h>

#include "pelko/loader.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "tests/pelko/harness.h"

using namespace orvelt;

namespace {

using pelko::LoadedProgram;
using pelko::LoadSource;
using pelko::Row;

Text T(const std::string& s) { return TextFromLatin1(s); }
std::string S(std::u16string_view t) { return EncodeUtf8(Text(t)); }

std::vector<std::vector<std::string>> Rows(const LoadedProgram& program) {
  std::vector<std::vector<std::string>> rows;
  for (std::size_t r = 0; r < program.rows.size(); ++r)
    rows.push_back({S(program.rows[r][0]), S(program.rows[r][1]), S(program.rows[r][2])});
  return rows;
}

struct ReadCase {
  std::string source;
  std::vector<std::string> lines;
};

TEST(LineReader, EndsAtLineFeedZeroOrEndAndDropsCarriageReturns) {
  const ReadCase cases[] = {
      {"a\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\n", {"ab"}},
      {std::string("a\0b", 3), {"a", "b"}},
      {"\n\n", {"", ""}},
      {"x", {"x"}},
  };
  for (const ReadCase& c : cases) {
    Text source = TextFromLatin1(c.source);
    pelko::LineReader reader(source);
    std::vector<std::string> lines;
    while (!reader.AtEnd()) lines.push_back(S(reader.Next()));
    EXPECT_EQ(lines, c.lines) << c.source;
  }
}

struct CleanCase {
  std::string raw;
  bool blockBefore;
  std::string cleaned;
  bool comment;
  bool blockAfter;
};

TEST(Clean, TrimsAndCutsCommentsByTheQuoteRules) {
  const CleanCase cases[] = {
      {"  mov cx, 5  ", false, "mov cx, 5", false, false},
      {"mov cx, 5 ' five", false, "mov cx, 5", false, false},
      {"mov dx, \"it\\'s\"", false, "mov dx, \"it's\"", false, false},
      {"mov dx, \"a'b\"", false, "mov dx, \"a", false, false},
      {"' whole line", false, "", false, false},
      {"/' block", false, "/' block", true, true},
      {"inside", true, "inside", true, true},
      {".data", true, ".data", true, true},
      {"'/ end", true, "", false, false},
      {"/' opens '/ and stays open", false, "/' opens '/ and stays open", true, true},
      {std::string("a \x7f b"), false, "a \x7f b", false, false},
      {std::string("a \x7f b ' c"), false, "a ' b", false, false},
      {"\t x \t", false, "x", false, false},
  };
  for (const CleanCase& c : cases) {
    pelko::CleanState state;
    state.block = c.blockBefore;
    pelko::CleanLine line = pelko::Clean(T(c.raw), state);
    EXPECT_EQ(S(line.text), c.cleaned) << c.raw;
    EXPECT_EQ(line.comment, c.comment) << c.raw;
    EXPECT_EQ(state.block, c.blockAfter) << c.raw;
  }
}

struct SplitCase {
  std::string line;
  bool data;
  std::vector<std::string> before;
  std::vector<std::string> after;
};

TEST(SplitLine, FirstSpaceThenFirstCommaOrSecondSpaceInData) {
  const SplitCase cases[] = {
      {"mov cx, 5", false, {"", "", ""}, {"mov", "cx", "5"}},
      {"mov  cx ,  5 ", false, {"", "", ""}, {"mov", "cx", "5"}},
      {"mov cx 5", false, {"", "", ""}, {"mov", "cx 5", ""}},
      {"mov dx, a, b", false, {"", "", ""}, {"mov", "dx", "a, b"}},
      {"x int 5", true, {"", "", ""}, {"x", "int", "5"}},
      {"x int 5", false, {"", "", ""}, {"x", "int 5", ""}},
      {"s string \"a b c\"", true, {"", "", ""}, {"s", "string", "\"a b c\""}},
      {"s string \"a,b\"", true, {"", "", ""}, {"s", "string \"a", "b\""}},
      {"x  int 5", true, {"", "", ""}, {"x", "", "int 5"}},
      {"x int    5", true, {"", "", ""}, {"x", "int", "5"}},
      {"y", true, {"x", "int", "5"}, {"y", "int", "5"}},
      {"", true, {"x", "int", "5"}, {"", "int", "5"}},
      {"ret", false, {"old", "a", "b"}, {"ret", "a", "b"}},
      {"mov,cx 5", false, {"", "", ""}, {"mov,cx", "5", "cx 5"}},
      {"wait\tx", false, {"", "", ""}, {"wait\tx", "", ""}},
  };
  for (const SplitCase& c : cases) {
    Row row{T(c.before[0]), T(c.before[1]), T(c.before[2])};
    pelko::SplitLine(T(c.line), c.data, row);
    EXPECT_EQ((std::vector<std::string>{S(row[0]), S(row[1]), S(row[2])}), c.after) << c.line;
  }
}

struct LoadCase {
  std::string name;
  std::string source;
  std::vector<std::vector<std::string>> rows;
};

TEST(LoadSource, FillsOneRowPerTextLine) {
  const LoadCase cases[] = {
      {"empty source", "", {}},
      {"no text section", "mov cx, 5\nint print\n", {}},
      {"text first", ".text\nmov cx, 5\nend", {{".text", "", ""}, {"mov", "cx", "5"}, {"end", "", ""}}},
      {"empty and comment lines keep rows",
       ".text\n\n' note\nmov cx, 1",
       {{".text", "", ""}, {"", "", ""}, {"", "", ""}, {"mov", "cx", "1"}}},
      {"block comment rows stay empty",
       ".text\n/' a\n.data\n'/\ninc cx",
       {{".text", "", ""}, {"", "", ""}, {"", "", ""}, {"", "", ""}, {"inc", "cx", ""}}},
      {"data before text shares the first text row",
       "' head\n.data\nx int 5\n.text\ninc x",
       {{".text", "int", "5"}, {"inc", "x", ""}}},
      {"lines after the last text row are never read",
       ".text\ninc cx\n.data\ny int 1\n",
       {{".text", "", ""}, {"inc", "cx", ""}}},
      {"upper-case section is another section", ".TEXT\ninc cx\n.text\nend", {{".text", "cx", ""}, {"end", "", ""}}},
      {"text with more words is another section", ".text main\ninc cx\n", {}},
      {"empty lines up to the end", ".text\n\n\n", {{".text", "", ""}, {"", "", ""}, {"", "", ""}}},
  };
  for (const LoadCase& c : cases) {
    LoadedProgram program = LoadSource(TextFromLatin1(c.source));
    EXPECT_EQ(Rows(program), c.rows) << c.name;
  }
}

TEST(LoadSource, CreatesRegistersThenDeclarationsInOrder) {
  LoadedProgram program = LoadSource(T(".data\nx int 5\ncx int 7\narr[2] single 1.5\n.text\nend"));
  std::vector<std::string> names;
  for (const pelko::TVariable& cell : program.variables) names.push_back(S(cell.name));
  EXPECT_EQ(names, (std::vector<std::string>{"ax", "bx", "cx", "dx", "cmd", "kbd", "x", "cx", "arr[0]", "arr[1]",
                                             "arr[2]"}));
  EXPECT_EQ(program.variables[7].wert1, 7);
  EXPECT_EQ(program.variables[10].wert3, 1.5f);
}

TEST(LoadSource, DataLineWithoutSpaceReusesThePreviousColumns) {
  LoadedProgram program = LoadSource(T(".data\nx int 5\ny\n\n.text\n"));
  ASSERT_EQ(program.variables.size(), 9u);
  EXPECT_EQ(S(program.variables[7].name), "y");
  EXPECT_EQ(program.variables[7].wert1, 5);
  EXPECT_EQ(S(program.variables[8].name), "");
  EXPECT_EQ(program.variables[8].wert1, 5);
}

TEST(LoadSource, DataAfterTheLastTextRowDeclaresNothing) {
  EXPECT_EQ(LoadSource(T(".text\ninc cx\n.data\ny int 1\n")).variables.size(), 6u);
}

TEST(LoadSource, SectionLineDataDeclaresWhenPreviousColumnsHoldAType) {
  // ".data" itself is declared with the columns the line before left: here a type word.
  LoadedProgram program = LoadSource(T(".data\nx int 5\n.data\n.text\n"));
  ASSERT_EQ(program.variables.size(), 8u);
  EXPECT_EQ(S(program.variables[7].name), ".data");
}

struct WaitCase {
  std::string source;
  bool wait;
};

TEST(LoadSource, WaitFlagFromAStoredMnemonic) {
  const WaitCase cases[] = {
      {".text\nwait", true},
      {".text\nend\nwait 1, 2", true},
      {".text\nwaiting", false},
      {".text\n/'\nwait\n'/", false},
      {".text\n' wait", false},
      {"wait\n.text\n", true},
      {".text\nWAIT", false},
  };
  for (const WaitCase& c : cases) EXPECT_EQ(LoadSource(T(c.source)).waitFlag, c.wait) << c.source;
}

TEST(LoadSource, UnitsAboveAByteSurviveDecoding) {
  LoadedProgram program = LoadSource(DecodeBytes(".text\nmov dx, \"Grüße\"\n"));
  ASSERT_EQ(program.rows.size(), 2u);
  EXPECT_EQ(program.rows[1][2], u"\"Grüße\"");
}

// Cells are numbered by 32-bit integers: a declaration beyond that is memory that cannot be had,
// reported at the row its line went to.
TEST(LoadSource, CellsThatCannotBeNumberedEndWithTheOutOfMemoryMessage) {
  const std::pair<const char*, const char*> cases[] = {
      {".data\nb[2147483647] int 0\n.text\n", "DEBUG >> Kein Speicher mehr! LINE: 0"},
      {".text\nend\n.data\nx int 1\nb[2147483646] int 0\n.text\n", "DEBUG >> Kein Speicher mehr! LINE: 2"},
  };
  for (const auto& [source, message] : cases) {
    pelko_test::Outcome outcome = pelko_test::RunPelko(source);
    EXPECT_EQ(outcome.err, message) << source;
    EXPECT_EQ(outcome.status, -1) << source;
  }
}

}  // namespace
