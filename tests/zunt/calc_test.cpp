// Calc2 on a script's store: every example of the expression rules, as rows of input and result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/console.h"
#include "runtime/random.h"
#include "runtime/text.h"
#include "tests/testlib/runtime/memory_display.h"
#include "runtime/process.h"
#include "runtime/window.h"
#include "tests/testlib/runtime/console_capture.h"
#include "zunt/script.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

struct Row {
  std::u16string expr;
  std::u16string expected;
};

std::string Utf8(const Text& t) { return EncodeUtf8(t); }

void ExpectRows(TScript& script, const std::vector<Row>& rows) {
  for (const Row& row : rows)
    EXPECT_EQ(Utf8(script.Calc2(row.expr)), Utf8(row.expected)) << "expression: " << Utf8(row.expr);
}

TEST(Calc2, ArithmeticExamples) {
  TScript script;
  ExpectRows(script, {
                         {u"3+4", u"7"},
                         {u"10-2-3", u"5"},
                         {u"-5", u"-5"},
                         {u"2+3*4", u"14"},
                         {u"7/2", u"3"},
                         {u"-7/2", u"-3"},
                         {u"2^10", u"1024"},
                         {u"2^3^2", u"64"},
                         {u"2*3", u"6"},
                         {u"2 * 3", u"2"},
                         {u"2 + 3", u"5"},
                         {u"(1+2)*3", u"2"},
                         {u"2*-3", u"-1"},
                         {u"1.5+1", u"2"},
                         {u"pi", u"3.1415926535897931"},
                         {u"PI*2", u"3"},
                         {u"pi+1", u"4"},
                     });
}

TEST(Calc2, TextsWithoutOperators) {
  TScript script;
  ExpectRows(script, {
                         {u"Hello", u"hello"},
                         {u"  Hello World  ", u"hello world"},
                         {u"\"Hello\" + \"World\"", u"\"Hello\" + \"World\""},
                         {u"  \"Mixed Case\"  ", u"  \"Mixed Case\"  "},
                         {u"spiel", u"s3.1415926535897931el"},
                         {u"", u""},
                     });
}

Array IntArray(const char16_t* name, int32_t amount) {
  Array array;
  array.name = name;
  array.typ = 1;
  array.amount = amount;
  array.iarray = Elements<int32_t>(amount);
  return array;
}

TEST(Calc2, NamesAreReplacedEverywhereInListOrder) {
  TScript script;
  script.IVars.push_back({u"a", 5});
  script.IVars.push_back({u"i", 3});
  script.FVars.push_back({u"f", 1.5f});
  script.SVars.push_back({u"s1", u"t"});   // its value names a later variable
  script.SVars.push_back({u"t", u"7"});
  script.SVars.push_back({u"n", u"12"});
  script.SVars.push_back({u"q", u"\"x\""});
  ExpectRows(script, {
                         {u"a*2", u"10"},
                         {u"f", u"1.50000000"},
                         {u"f+1", u"2"},
                         {u"n+1", u"13"},
                         {u"s1", u"7"},
                         {u"rand(6)", u"r512d(6)"},  // "a" and then "n" are replaced inside the name
                         {u"pi", u"p3"},            // and "i" inside "pi", before "pi" is spelt out
                         {u"q", u"\"x\""},         // a value with a quote stops the evaluation
                         {u"A", u"a"},              // reading is case-sensitive
                     });
}

TEST(Calc2, AVariableNameInsideAFunctionName) {
  TScript script;
  script.IVars.push_back({u"a", 5});
  ExpectRows(script, {{u"rand(6)", u"r5nd(6)"}, {u"RAND(1)", u"1"}});  // reading is case-sensitive
}

// Keys come from a window kept in memory; asking for the hits of a key resets them.
TEST(Calc2, KeyFunctions) {
  orvelt::memory::Install();
  OpenGraphicsWindow(64, 48, 0, 60);
  TScript script;
  orvelt::memory::KeyPress(27);
  orvelt::memory::KeyPress(27);
  orvelt::memory::KeyDown(37);
  ExpectRows(script, {
                         {u"keyhit(27)", u"2"},
                         {u"keyhit(27)", u"0"},
                         {u"keydown(37)", u"1"},
                         {u"keyhit(37)+keyhit(37)", u"2"},  // one call text, computed once
                         {u"keydown(38)", u"0"},
                         {u"keyhit(20+7)", u"0"},           // the argument is not evaluated
                         {u"keyhit(99999)", u"0"},
                     });
  orvelt::memory::Remove();
}

TEST(Calc2, TheFirstOfTwoRecordsWithOneNameIsSeen) {
  TScript script;
  script.IVars.push_back({u"x", 1});
  script.IVars.push_back({u"x", 2});
  ExpectRows(script, {{u"x", u"1"}, {u"x+x", u"2"}});
}

TEST(Calc2, BuiltinFunctions) {
  TScript script;
  ExpectRows(script, {
                         {u"sin(90)", u"1.0000000000000000"},
                         {u"cos(90)", u"1.0000000000000000"},
                         {u"sin(0)", u"0.0000000000000000"},
                         {u"cos(0)", u"0.0000000000000000"},
                         {u"SIN(90)", u"1.0000000000000000"},
                         {u"sin(180)", u"-15"},  // 1.2246467991473532e-016, taken apart at its "-"
                         {u"sin(45+45)", u"1.0000000000000000"},
                         {u"keyhit(27)", u"0"},
                         {u"keydown(27)", u"0"},
                         {u"rand(1)", u"1"},
                         {u"2*rand(1)", u"2"},
                     });
}

TEST(Calc2, RandomNumbersStayBetweenTheArgumentAndOne) {
  TScript script;
  SeedRandom(1234);
  for (int i = 0; i < 200; ++i) {
    int32_t six = TextToInt(script.Calc2(u"rand(6)"));
    EXPECT_GE(six, 1);
    EXPECT_LE(six, 6);
    int32_t zero = TextToInt(script.Calc2(u"rand(0)"));
    EXPECT_TRUE(zero == 0 || zero == 1) << zero;
  }
}

TEST(Calc2, ArrayElementAndTheOutOfRangeLineForEveryArray) {
  TScript script;
  script.Arrays.push_back(IntArray(u"a", 5));
  script.Arrays.push_back(IntArray(u"b", 3));
  script.Arrays[0].iarray.Set(4, 44);
  script.Arrays[0].iarray.Set(0, 10);
  ConsoleCapture console;
  EXPECT_EQ(Utf8(script.Calc2(u"a[4]")), "44");
  EXPECT_EQ(console.Out(), "Auf das Feld 4 im Array <b> kann nicht zugegriffen werden!\r\n");
  EXPECT_EQ(Utf8(script.Calc2(u"a[7]")), "a[7]");
  EXPECT_EQ(Utf8(script.Calc2(u"a[ 4]+1")), "45");
  EXPECT_EQ(Utf8(script.Calc2(u"a[b[1]]")), "10]");
}

TEST(Calc2, SelfReferenceStopsAtTheNestingBound) {
  TScript script;
  script.limits.maxNesting = 3;
  script.SVars.push_back({u"s", u"x[s"});
  script.Arrays.push_back(IntArray(u"z", 0));
  ConsoleCapture console;
  EXPECT_EQ(Utf8(script.Calc2(u"s")), "x[s");
  std::string line = "Auf das Feld 0 im Array <z> kann nicht zugegriffen werden!\r\n";
  EXPECT_EQ(console.Out(), line + line + line + line);
}

TEST(Calc2, NestedWorkIsBounded) {
  TScript script;
  script.limits.nestedWork = 30;
  script.Arrays.push_back(IntArray(u"z", 0));
  ConsoleCapture console;
  script.Calc2(u"[[[[[[[[[[[[[[[[[[[[");
  std::string line = "Auf das Feld 0 im Array <z> kann nicht zugegriffen werden!\r\n";
  EXPECT_EQ(console.Out(), line + line);  // the second nested text, 19 characters, finds 10 left
}

TEST(Calc2, ATextGrowingBeyondTheBoundEndsTheProgram) {
  TScript script;
  script.limits.maxTextLength = 1000;
  for (int i = 0; i < 20; ++i) script.SVars.push_back({u"a", u"aa"});
  ConsoleCapture console;
  try {
    script.Calc2(u"a");
    FAIL() << "no fatal error";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.status, -1);
  }
  EXPECT_EQ(console.Err(), "Out of memory");
}

}  // namespace
}  // namespace zunt
