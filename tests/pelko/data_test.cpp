// The data instructions on int, string and single destinations, run in-process through both the
// literal walks and the decoded rows.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "runtime/window.h"
#include "tests/pelko/harness.h"

using namespace orvelt;

namespace {

using pelko_test::Lines;
using pelko_test::RunBothWays;

struct Case {
  const char* data;  // lines of the ".data" section
  const char* text;  // lines of the ".text" section; "show x" prints x through cmd
  std::string out;
};

// "show x" lines become "mov cmd, x" and "int print".
std::string Source(const Case& c) {
  std::string source = std::string(".data\n") + c.data + "\n.text\n";
  std::istringstream lines(c.text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("show ", 0) == 0) source += "mov cmd, " + line.substr(5) + "\nint print\n";
    else source += line + "\n";
  }
  return source;
}

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    pelko_test::Outcome outcome = RunBothWays(Source(c));
    EXPECT_EQ(outcome.out, c.out) << Source(c);
    EXPECT_EQ(outcome.err, "") << Source(c);
    EXPECT_EQ(outcome.status, 0) << Source(c);
  }
}

TEST(Mov, ConvertsTheSourceByEachDestinationsType) {
  RunCases({
      {"", "mov cx, 7\nshow cx", Lines({"7"})},
      {"", "mov cx, 7.9\nshow cx", Lines({"7"})},
      {"", "mov cx, $ff\nshow cx", Lines({"255"})},
      {"", "mov cx, \"5\"\nshow cx", Lines({"0"})},
      {"", "mov ax, 2.5\nshow ax", Lines({"2.50000000"})},
      {"", "mov ax, \"2.5\"\nshow ax", Lines({"0.00000000"})},
      {"", "mov dx, \"Hello\"\nshow dx", Lines({"Hello"})},
      {"", "mov dx, \"ax\"\nshow dx", Lines({"ax"})},
      {"", "mov dx, \"\nshow dx", Lines({""})},
      {"", "mov dx, \"a\"b\"\nshow dx", Lines({"a\"b"})},
      {"", "mov cx, 5\nmov dx, cx\nshow dx", Lines({"5"})},
      {"", "mov ax, 1.5\nmov dx, ax\nshow dx", Lines({"1.50000000"})},
      {"", "mov ax, 2.75\nmov cx, ax\nshow cx", Lines({"2"})},
      {"", "mov ax, 1.0e10\nmov cx, ax\nshow cx", Lines({"1"})},
      {"", "mov cx, 9\nmov cx\nshow cx", Lines({"0"})},
      {"x int 5\n", "mov cx\nshow cx", Lines({"5"})},
      {"x int 1\nx int 2", "mov x, 5\npush x\nmov cx, x\nshow cx\npop cx\nshow cx", Lines({"5", "5"})},
      {"", "mov nothing, 5\nshow cx", Lines({"0"})},
  });
}

TEST(Mov, SourceSubstitutionFollowsStringCellsDownTheList) {
  RunCases({
      // A string naming a register gives the name: the registers were passed before it.
      {"s string cx", "mov cx, 4\nmov dx, s\nshow dx", Lines({"cx"})},
      // A string naming a later cell leads on to that cell's value.
      {"s string later\nlater int 9", "mov cx, s\nshow cx", Lines({"9"})},
      {"a string b\nb string c\nc int 3", "mov dx, a\nshow dx", Lines({"3"})},
      // Cells named like numbers take part like any other name.
      {"5 int 7", "mov cx, 5\nshow cx", Lines({"7"})},
      {"1.50000000 string hi", "mov ax, 1.5\nmov dx, ax\nshow dx", Lines({"hi"})},
      {"3 string \"x\"", "mov dx, 3\nshow dx\nmov cx, 3\nshow cx", Lines({"x", "0"})},
  });
}

TEST(Add, AddsOrAppends) {
  RunCases({
      {"", "mov cx, 1\nadd cx, 2147483647\nshow cx", Lines({"-2147483648"})},
      {"", "mov cx, 5\nadd cx, -7\nshow cx", Lines({"-2"})},
      {"", "mov ax, 1.5\nadd ax, 0.25\nshow ax", Lines({"1.75000000"})},
      {"", "mov dx, \"Hello\"\nadd dx, \" World\"\nshow dx", Lines({"Hello World"})},
      {"", "mov dx, \"a\"\nadd dx, dx\nadd dx, dx\nshow dx", Lines({"aaaa"})},
      {"", "mov ax, 0.1\nadd ax, 0.2\nshow ax", Lines({"0.300000012"})},
      {"", "mov dx, \"3\"\nadd cx, dx\nshow cx", Lines({"3"})},
  });
}

TEST(Sub, SubtractsNumbersAndLeavesStrings) {
  RunCases({
      {"", "mov cx, -2147483648\nsub cx, 1\nshow cx", Lines({"2147483647"})},
      {"", "mov ax, 1.5\nsub ax, 2\nshow ax", Lines({"-0.500000000"})},
      {"", "mov dx, \"abc\"\nsub dx, 1\nshow dx", Lines({"abc"})},
      // The numeric walk passes over string cells: dx stays the two letters dx.
      {"", "mov dx, \"3\"\nmov cx, 10\nsub cx, dx\nshow cx", Lines({"10"})},
  });
}

TEST(Mul, MultipliesInSinglePrecision) {
  RunCases({
      {"", "mov cx, 3\nmul cx, 2.5\nshow cx", Lines({"7"})},
      {"", "mov cx, 16777217\nmul cx, 3\nshow cx", Lines({"50331648"})},
      {"", "mov cx, -3\nmul cx, 2.5\nshow cx", Lines({"-7"})},
      {"", "mov cx, 2000000000\nmul cx, 2\nshow cx", Lines({"-2147483648"})},
      {"", "mov ax, 1.5\nmul ax, 3\nshow ax", Lines({"4.50000000"})},
      {"", "mov dx, \"x\"\nmul dx, 3\nshow dx", Lines({"x"})},
  });
}

TEST(Div, DividesIntThroughSingleAndSingleByAnInteger) {
  RunCases({
      {"", "mov cx, 7\ndiv cx, 2\nshow cx", Lines({"3"})},
      {"", "mov cx, -7\ndiv cx, 2\nshow cx", Lines({"-3"})},
      {"", "mov cx, 7\ndiv cx, 0\nshow cx", Lines({"-2147483648"})},
      {"", "mov cx, 16777217\ndiv cx, 1\nshow cx", Lines({"16777216"})},
      {"", "mov cx, 10\ndiv cx, 2.5\nshow cx", Lines({"4"})},
      {"", "mov ax, 10\ndiv ax, 2.5\nshow ax", Lines({"5.00000000"})},
      {"", "mov ax, 10\ndiv ax, 0\nshow ax", Lines({"inf"})},
      {"", "mov ax, 1\ndiv ax, 0.5\nshow ax", Lines({"inf"})},
      {"", "div ax, 0\nshow ax", Lines({"nan"})},
      {"", "mov ax, -1\ndiv ax, 0\nshow ax", Lines({"-inf"})},
  });
}

TEST(IncDecNegNot, ChangeNumbersAndLeaveStrings) {
  RunCases({
      {"", "mov cx, 2147483647\ninc cx\nshow cx", Lines({"-2147483648"})},
      {"", "mov cx, -2147483648\ndec cx\nshow cx", Lines({"2147483647"})},
      {"", "inc ax\ninc ax\nshow ax", Lines({"2.00000000"})},
      {"", "dec ax\nshow ax", Lines({"-1.00000000"})},
      {"", "mov cx, -2147483648\nneg cx\nshow cx", Lines({"-2147483648"})},
      {"", "mov cx, 5\nneg cx\nshow cx", Lines({"-5"})},
      {"", "mov ax, 2.5\nneg ax\nshow ax", Lines({"-2.50000000"})},
      {"", "mov cx, 7\nnot cx\nshow cx\nnot cx\nshow cx", Lines({"0", "1"})},
      {"", "not ax\nshow ax\nnot ax\nshow ax", Lines({"1.00000000", "0.00000000"})},
      {"", "div ax, 0\nnot ax\nshow ax", Lines({"1.00000000"})},
      {"", "mov dx, \"s\"\ninc dx\ndec dx\nneg dx\nnot dx\nshow dx", Lines({"s"})},
      {"x int 1\nx int 2", "inc x\npop cx\npush x\npop cx\nshow cx", Lines({"2"})},
  });
}

TEST(Logic, FollowsTheRulesOfAndOrXor) {
  RunCases({
      {"", "mov cx, 5\nand cx, 0\nshow cx", Lines({"0"})},
      {"", "mov cx, 5\nand cx, 3\nshow cx", Lines({"5"})},
      {"", "mov cx, 5\nor cx, 0\nshow cx", Lines({"5"})},
      {"", "mov cx, 5\nor cx, 3\nshow cx", Lines({"3"})},
      {"", "mov cx, 1\nxor cx, 1\nshow cx", Lines({"0"})},
      {"", "mov cx, 1\nxor cx, 0\nshow cx", Lines({"1"})},
      {"", "mov cx, 2\nxor cx, 7\nshow cx", Lines({"5"})},
      {"", "mov ax, 2.5\nand ax, 3\nshow ax", Lines({"1.00000000"})},
      {"", "mov ax, 2.5\nor ax, 5\nshow ax", Lines({"5.00000000"})},
      {"", "mov ax, 2.5\nor ax, 0\nshow ax", Lines({"1.00000000"})},
      {"", "mov ax, 2.5\nxor ax, 5\nshow ax", Lines({"4.00000000"})},
      {"", "xor ax, 0\nshow ax", Lines({"0.00000000"})},
      {"", "mov dx, \"q\"\nand dx, 0\nor dx, 1\nxor dx, 1\nshow dx", Lines({"q"})},
  });
}

TEST(Trigonometry, WorksInDegreesOnTheFirstSingleCell) {
  RunCases({
      {"", "mov ax, 90\nsin ax\nshow ax", Lines({"1.00000000"})},
      {"", "mov ax, 180\ncos ax\nshow ax", Lines({"-1.00000000"})},
      {"", "mov ax, 0\ncos ax\nshow ax", Lines({"1.00000000"})},
      {"", "mov cx, 90\nsin cx\ncos cx\nshow cx", Lines({"90"})},
      {"v single 90\nv single 90", "sin v\npush v\npop dx\nshow dx", Lines({"1.00000000"})},
      {"v int 5\nv single 90", "sin v\nmov cx, v\nshow cx", Lines({"5"})},
  });
}

TEST(Sin, ChangesOnlyTheFirstOfTwoSingleCells) {
  // The second v is reached through a string cell naming it after the first one has been passed.
  RunCases({{"v single 90\nw string v\nv single 90",
             "sin v\nmov dx, v\nshow dx\nmov dx, w\nshow dx",
             Lines({"1.00000000", "90.0000000"})}});
}

TEST(Rnd, StoresIntoAxBetweenBothBounds) {
  RunCases({
      {"", "rnd 3, 3\nshow ax", Lines({"3.00000000"})},
      {"", "mov cx, 1\nrnd 3, 3\nshow cx", Lines({"1"})},
  });
  for (const char* line : {"rnd 1, 6", "rnd 6, 1", "rnd 6"}) {
    std::string source = std::string(".text\nmov cx, 300\nloop:\n") + line +
                         "\nmov cmd, ax\nint print\ndec cx\ncmp cx, 0\njl loop\n";
    std::set<std::string> seen;
    std::istringstream out(RunBothWays(source).out);
    for (std::string value; std::getline(out, value);) seen.insert(value);
    std::set<std::string> expected = {"1.00000000\r", "2.00000000\r", "3.00000000\r",
                                      "4.00000000\r", "5.00000000\r", "6.00000000\r"};
    if (std::string(line) == "rnd 6") expected.insert("0.00000000\r");
    EXPECT_EQ(seen, expected) << line;
  }
}

TEST(App, SetsTheTitleWithoutQuotes) {
  struct TitleCase {
    std::string source;
    std::string title;
  };
  const TitleCase cases[] = {
      {".text\napp \"Mein Spiel\"", "Mein Spiel"},
      {".text\nmov dx, \"aus dx\"\napp dx", "aus dx"},
      {".text\napp \"a\"b\"", "ab"},
  };
  for (const TitleCase& c : cases) {
    RunBothWays(c.source);
    EXPECT_EQ(EncodeUtf8(WindowTitle()), c.title);
  }
  SetWindowTitle(u"Orvelt Application");
}

TEST(Add, AStringGrowsWithoutALengthLimit) {
  pelko_test::Outcome outcome = RunBothWays(
      ".data\nn int 0\n.text\nmov dx, \"ab\"\nloop:\nadd dx, dx\ninc n\ncmp n, 20\njg loop\nmov cmd, dx\nint print\n");
  std::string doubled;
  for (int i = 0; i < 1 << 20; ++i) doubled += "ab";
  EXPECT_EQ(outcome.out, doubled + "\r\n");
}

}  // namespace
