// Calc2 on a script's store: every example of the expression rules, as rows of input and result.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/console.h"
#include "runtime/random.h"
#include "runtime/text.h"
#include "tests/testlib/runtime/memory_display.h"
#include "runtime/process.h"
#include "runtime/window.h"
#include "tests/testlib/runtime/console_capture.h"
#include "tests/testlib/zunt/literal_walks.h"
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
  array.typ = ElementType::Integer;
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

std::string IndexLines(const std::string& index, const std::string& array, int count) {
  std::string line = "Auf das Feld " + index + " im Array <" + array + "> kann nicht zugegriffen werden!\r\n";
  std::string lines;
  for (int i = 0; i < count; ++i) lines += line;
  return lines;
}

Text Repeat(std::u16string_view piece, int count) {
  Text t;
  for (int i = 0; i < count; ++i) t.append(piece);
  return t;
}

struct NestingRow {
  const char* rule;
  Text expr;
  Text result;
  std::string out;
};

// A string naming itself in an index or a sine argument would be evaluated without end: the text
// met again inside its own evaluation counts as it stands. Other nesting has no depth bound.
TEST(Calc2, Nesting) {
  TScript script;
  script.SVars.push_back({u"w", u"x[w"});
  script.SVars.push_back({u"v", u"sin(v"});
  script.Arrays.push_back(IntArray(u"z", 0));
  const Text deep70 = Repeat(u"z[", 70) + u"5" + Repeat(u"]", 70);
  const Text deep10000 = Repeat(u"z[", 10000) + u"5" + Repeat(u"]", 10000);
  const NestingRow rows[] = {
      {"an index naming itself", u"w", u"x[w", IndexLines("0", "z", 1)},
      {"a sine naming itself", u"v", u"sin(v", ""},
      {"indexes 70 deep", deep70, deep70, IndexLines("5", "z", 1) + IndexLines("0", "z", 69)},
      {"indexes 10,000 deep", deep10000, deep10000, IndexLines("5", "z", 1) + IndexLines("0", "z", 9999)},
      {"sines 10,000 deep", Repeat(u"sin(", 10000) + u"90)", u"0.0000000000000000", ""},
  };
  for (const NestingRow& row : rows) {
    ConsoleCapture console;
    EXPECT_EQ(Utf8(script.Calc2(row.expr)), Utf8(row.result)) << row.rule;
    EXPECT_EQ(console.Out(), row.out) << row.rule;
  }
}

// Every level can evaluate an index text and a sine argument that each take nearly all of the
// text: the number of evaluations asked for doubles with every "[sin(". The inner levels
// stop at the work they may do; the outermost sine still sees 0 degrees.
TEST(Calc2, NestingThatBranchesAtEveryLevelEnds) {
  TScript script;
  EXPECT_EQ(Utf8(script.Calc2(Repeat(u"[sin(", 60) + u")")), "[0.0000000000000000");
}

// Long texts with deep index and sine nesting, the inner texts looked at in place: the same results
// and the same lines as the literal walk.
TEST(Calc2, DeepTextsMatchTheLiteralWalk) {
  const TextView pieces[] = {u"z[", u"z[", u"[", u"sin(", u"COS(", u"sin(", u")", u"1", u"+", u"*2", u"w", u"q",
                             u"pi", u" ", u"keyhit(1)", u"rand(1)", u"x", u"b[0]", u"z[1]", u"]"};
  std::mt19937 rng(31);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(100, 700);
  int compared = 0;
  for (int i = 0; i < 300; ++i) {
    TScript script;
    script.IVars.push_back({u"q", 2});
    script.SVars.push_back({u"w", i % 2 ? u"z[1]+q" : u"[q"});
    script.Arrays.push_back(IntArray(u"z", 3));
    script.Arrays[0].iarray.Set(1, 7);
    Array strings;
    strings.name = u"b";
    strings.typ = ElementType::String;
    strings.amount = 2;
    strings.sarray = Elements<Text>(2);
    strings.sarray.Set(0, u"sin(z[");
    script.Arrays.push_back(std::move(strings));
    Text expr;
    for (int n = length(rng); n > 0; --n) expr.append(pieces[pick(rng)]);
    TScript literalStore = script;
    reference::LiteralWalks literal(literalStore, 2000);
    std::string expected, expectedOut;
    try {
      ConsoleCapture console;
      expected = Utf8(literal.Calc2(expr));
      expectedOut = console.Out();
    } catch (const reference::GaveUp&) {
      continue;
    }
    ConsoleCapture console;
    ASSERT_EQ(Utf8(script.Calc2(expr)), expected) << Utf8(expr);
    ASSERT_EQ(console.Out(), expectedOut) << Utf8(expr);
    ++compared;
  }
  EXPECT_GT(compared, 200);
}

}  // namespace
}  // namespace zunt
