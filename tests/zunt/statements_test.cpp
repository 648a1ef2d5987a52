// Whole scripts run by the built program: the statement rules a script can observe, compared byte
// for byte on standard output and standard error, with the exit status. "input" statements serve
// as probes: without a window they write their evaluated prompt to standard output.
#include <gtest/gtest.h>

#include <string>

#include "tests/zunt/run_harness.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

using testing::ErrorLine;
using testing::IndexLine;
using testing::kManyLines;
using testing::kSuccessLine;
using testing::RunScript;
using testing::StartLine;

// What the runtime writes once when a window is asked for and no display can show it.
const std::string kNoWindowNotice =
    "Hinweis: Es kann kein Grafikfenster angezeigt werden; das Programm l\xC3\xA4uft ohne Fenster weiter.\r\n";

struct Row {
  const char* rule;
  std::string script;
  std::string out;  // what stands between the start and the success message
  std::string input = kManyLines;
  std::string err = "";
};

// Every row runs to its end: the start message, its own output, the success message, status 0.
void ExpectRuns(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    testing::ScriptRun run = RunScript(row.script, row.input);
    EXPECT_EQ(run.result.out, StartLine(run.path) + row.out + kSuccessLine) << row.rule;
    EXPECT_EQ(run.result.err, row.err) << row.rule;
    EXPECT_EQ(run.result.status, 0) << row.rule;
  }
}

TEST(Statements, LinesCommentsAndCommandWords) {
  ExpectRuns({
      {"an empty script", "", ""},
      {"a comment line", "; int x = 5\ninput 1,0,0\n", "1"},
      {"a comment cut", "int x = 5 ; six\ninput x,0,0 ; shows x\n", "5"},
      {"the cut goes inside quotes too", "string s = \"a;b\"\ninput s,0,0\n", "a"},
      {"any letter case", "INT x = 3\nInPuT x,0,0\nEnD\ninput 9,0,0\n", "3"},
      {"a line starting with a blank", " foo\n  bar = 1\ninput 2,0,0\n", "2"},
      {"a blank line", "\n\ninput 2,0,0\n", "2"},
      {"the parenthesis separates without a blank", "int a = 1\nif(a=2)\ninput 5,0,0\nendif\n", ""},
      {"the end statement", "input 1,0,0\nend\ninput 2,0,0\n", "1"},
  });
}

TEST(Statements, CommandNotFound) {
  ExpectRuns({
      {"the first line is line 0", "x\n", ErrorLine(0, "x")},
      {"the word in lower case", "input 1,0,0\nFooBar 1,2\n", "1" + ErrorLine(1, "foobar")},
      {"a tab is part of the word", "\tinput 1,0,0\n", ErrorLine(0, "\tinput")},
      {"a blank inside the parenthesis", "int a = 1\nif(a = 1)\n", ErrorLine(1, "if(a")},
      {"an assignment matching nothing", "int x = 1\ny = 2\n", ErrorLine(1, "y")},
      {"a string assignment without a quote", "string s = \"a\"\ns = t\n", ErrorLine(1, "s")},
      {"an endif without a skip", "endif\ninput 1,0,0\n", "1"},
      {"a label line", "#here\ninput 1,0,0\n", "1"},
  });
}

// The wait for a key after the error reads one line of standard input when there is no window.
TEST(Statements, TheErrorWaitsForAKey) {
  ExpectRuns({
      {"the wait takes a line", "foo\ninput 1,0,0\ninput input_text,0,0\n", ErrorLine(0, "foo") + "1b",
       "a\nb\nc\n"},
  });
}

TEST(Statements, IfConditions) {
  const std::string a10 = "int a = 10\n";
  auto probe = [](const std::string& condition) { return "if " + condition + "\ninput 1,0,0\nendif\n"; };
  ExpectRuns({
      {"= holds", a10 + probe("a = 10"), "1"},
      {"= fails", a10 + probe("a = 9"), ""},
      {"< holds for equal sides", a10 + probe("a < 10"), "1"},
      {"< fails", a10 + probe("a < 9"), ""},
      {"> holds for equal sides", a10 + probe("a > 10"), "1"},
      {"> fails", a10 + probe("a > 11"), ""},
      {"! holds", a10 + probe("a ! 9"), "1"},
      {"! fails", a10 + probe("a ! 10"), ""},
      {"= wins over <: 3 <= 5 fails", "int a = 3\n" + probe("a <= 5"), ""},
      {"= wins over <: the < stays in the left text", "int a = 3\n" + probe("a <= 3"), "1"},
      {"no operator holds", a10 + probe("a"), "1"},
      {"texts count as 0", probe("\"ja\" = \"nein\""), "1"},
      {"expressions on both sides", a10 + probe("a*2 = 5*4"), "1"},
  });
}

TEST(Statements, SkippingToEndif) {
  ExpectRuns({
      {"a false if skips to its endif",
       "if 1 = 2\ninput 1,0,0\nendif\ninput 2,0,0\n", "2"},
      {"an inner if ends the skip early",
       "if 1 = 2\nif 1 = 1\ninput 1,0,0\nendif\ninput 2,0,0\nendif\ninput 3,0,0\n", "23"},
      {"an indented endif does not end it",
       "if 1 = 2\n  endif\ninput 1,0,0\nendif\ninput 2,0,0\n", "2"},
      {"skipped lines do not run or fail", "if 1 = 2\nfoo\nend\nendif\ninput 2,0,0\n", "2"},
      {"endif in any case", "if 1 = 2\ninput 1,0,0\nENDIF\ninput 2,0,0\n", "2"},
  });
}

TEST(Statements, Goto) {
  ExpectRuns({
      {"a loop", "int i = 0\n#loop\ni = i + 1\nif i < 2\ngoto loop\nendif\ninput i,0,0\n", "3"},
      {"on after the label line", "goto there\ninput 1,0,0\n#there\ninput 2,0,0\n", "2"},
      {"labels are lower case", "goto Here\ninput 1,0,0\n#Here\ninput 2,0,0\n", "12"},
      {"a missing label goes on", "goto nowhere\ninput 1,0,0\n", "1"},
      {"the last of two labels wins",
       "goto x\n#x\ninput 1,0,0\nend\n#x\ninput 2,0,0\n", "2"},
      {"a label with pi spelt out", "goto s3.1415926535897931el\ninput 1,0,0\n#spiel\ninput 2,0,0\n", "2"},
      {"a label named with its comment cannot be reached",
       "goto loop\ninput 1,0,0\n#loop ; main\ninput 2,0,0\n", "12"},
      {"only a # in the first column makes a label", "goto x\ninput 1,0,0\n #x\ninput 2,0,0\n", "12"},
      {"a label computed", "goto 5\ninput 1,0,0\n#2+3\ninput 2,0,0\n", "2"},
  });
}

TEST(Statements, InputWithoutAWindow) {
  ExpectRuns({
      {"the typed text in quotes", "input 1,0,0\nif input_text = 0\ninput input_text,0,0\nendif\n", "1abc",
       "abc\n\n"},
      {"only characters 33 to 126 kept", "input \"Name: \",0,0\ninput input_text,0,0\n", "Name: abc",
       "a b\t\xC3\xA4" "c\r\n\n"},
      {"input_text compares as 0", "input 1,0,0\nif input_text = 0\ninput 2,0,0\nendif\n", "12", "ja\n\n"},
      {"input_text moves behind later strings",
       "string input = \"1\ninput 1,0,0\ninput input_text,0,0\n", "1" "1_text", "q\n\n"},
  });
}

TEST(Statements, DrawingWithoutADisplayHasNoEffect) {
  ExpectRuns({
      {"before a window", "color 255,0,0\nrect 0,0,10,10\noval 1,1,5,5\nline 0,0,9,9\nplot 1,1\ncls\nflip\n"
                          "clscolor 1,2,3\nprint \"hi\",1,1\napptitle \"T\"\ninput 1,0,0\n", "1"},
      {"after a window in memory", "window 64,48\nrect 0,0,10,10\nflip\nwaitkey\ninput 1,0,0\n"
                                   "input input_text,0,0\n", "1y", "x\ny\n\n", kNoWindowNotice},
  });
}

// A last line without a line end is still a line; the end of the input at the next statement
// ends the program after its prompt.
TEST(Statements, ALastInputLineWithoutALineEnd) {
  testing::ScriptRun run = RunScript("input 1,0,0\ninput input_text,0,0\n", "xy");
  EXPECT_EQ(run.result.out, StartLine(run.path) + "1xy");
  EXPECT_EQ(run.result.status, 0);
}

// The end of the input while an input statement waits ends the program like Escape: status 0,
// no success message.
TEST(Statements, EndOfInputEndsTheProgram) {
  testing::ScriptRun run = RunScript("input \"Name? \",0,0\ninput 2,0,0\n", "");
  EXPECT_EQ(run.result.out, StartLine(run.path) + "Name? ");
  EXPECT_EQ(run.result.err, "");
  EXPECT_EQ(run.result.status, 0);
}

TEST(Statements, TheErrorStatementIsFatal) {
  testing::ScriptRun run = RunScript("input 1,0,0\nerror whatever follows\ninput 2,0,0\n");
  EXPECT_EQ(run.result.out, StartLine(run.path) + "1");
  EXPECT_EQ(run.result.err, "Unknown error");
  EXPECT_EQ(run.result.status, 255);
}

}  // namespace
}  // namespace zunt
