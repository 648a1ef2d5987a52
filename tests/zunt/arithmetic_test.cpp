// The arithmetic stages: the fast stages held against their literal recursive definition on many
// generated texts, the scanning helpers, and very long operator chains.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/text.h"
#include "tests/testlib/zunt/arithmetic_reference.h"
#include "zunt/arithmetic.h"
#include "zunt/text_view.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

std::string Utf8(const Text& t) { return EncodeUtf8(t); }

// Texts made of the characters the stages care about, in short runs and long chains.
Text RandomExpression(std::mt19937& rng, TextView alphabet, int maxLength) {
  std::uniform_int_distribution<int> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  Text t;
  for (int n = length(rng); n > 0; --n) t.push_back(alphabet[pick(rng)]);
  return t;
}

using Stage = Text (*)(const Text&);

struct StagePair {
  const char* name;
  Stage fast;
  Stage literal;
};

const StagePair kStages[] = {
    {"CalcPower", CalcPower, reference::CalcPower},
    {"CalcProduct", CalcProduct, reference::CalcProduct},
    {"CalcSum", CalcSum, reference::CalcSum},
    {"CalcArithmetic", CalcArithmetic, reference::CalcArithmetic},
};

void ExpectSameAsReference(TextView alphabet, int maxLength, int count, unsigned seed) {
  std::mt19937 rng(seed);
  for (int i = 0; i < count; ++i) {
    Text t = RandomExpression(rng, alphabet, maxLength);
    for (const StagePair& stage : kStages)
      ASSERT_EQ(Utf8(stage.fast(t)), Utf8(stage.literal(t))) << stage.name << " of " << Utf8(t);
  }
}

TEST(Stages, MatchTheirDefinitionOnDigitsAndOperators) {
  ExpectSameAsReference(u"0123456789+-*/^", 40, 20000, 1);
}

TEST(Stages, MatchTheirDefinitionWithBlanksAndStrangers) {
  ExpectSameAsReference(u"0129 +-*/^x.$%\t", 60, 20000, 2);
}

TEST(Stages, MatchTheirDefinitionOnOperatorHeavyTexts) {
  ExpectSameAsReference(u"12-^^**//", 80, 20000, 3);
}

TEST(Stages, MatchTheirDefinitionOnRepeatedOperands) {
  ExpectSameAsReference(u"22-*^/", 120, 20000, 4);
  ExpectSameAsReference(u"12*/^-", 300, 3000, 5);
}

// Longer chains than the generated ones, where early occurrences of a later canonical text are
// replaced too.
TEST(Stages, MatchTheirDefinitionOnLongerChains) {
  std::mt19937 rng(6);
  const TextView pieces[] = {u"2*3", u"x2*3", u"+", u"*", u"2^31", u"^2", u"-1", u"/0", u" * ", u"1.5"};
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int i = 0; i < 2000; ++i) {
    Text t;
    for (int n = 0; n < 60; ++n) t.append(pieces[pick(rng)]);
    for (const StagePair& stage : kStages)
      ASSERT_EQ(Utf8(stage.fast(t)), Utf8(stage.literal(t))) << stage.name << " of " << Utf8(t);
  }
}

// Repeated units with the odd change: the shape of long lines, where canonical texts come back
// level after level and what was checked about earlier operators is reused.
TEST(Stages, MatchTheirDefinitionOnPeriodicTexts) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> repeats(20, 200), change(0, 9);
  for (int i = 0; i < 1500; ++i) {
    Text unit = RandomExpression(rng, u"112x*-^/.", 8);
    Text t;
    for (int n = repeats(rng); n > 0; --n) {
      t.append(unit);
      if (change(rng) == 0) t.append(RandomExpression(rng, u"0123456789*-^", 3));
    }
    for (const StagePair& stage : kStages)
      ASSERT_EQ(Utf8(stage.fast(t)), Utf8(stage.literal(t))) << stage.name << " of " << Utf8(t);
  }
}

struct ScanRow {
  std::u16string text;
  std::u16string pattern;
  int skip;
  int expected;
};

TEST(LastPosition, FindsTheLastStartAtOrBeforeTheLimit) {
  const ScanRow rows[] = {
      {u"a+b+c", u"+", 0, 4}, {u"a+b+c", u"+", 1, 4}, {u"a+b+c", u"+", 2, 2},
      {u"a+b+", u"+", 1, 2},  {u"abc", u"+", 0, 0},   {u"abc", u"", 0, 0},
      {u"aaa", u"aa", 0, 2},  {u"aaa", u"aa", 1, 2},  {u"aaa", u"aa", 2, 1},
      {u"", u"+", 0, 0},      {u"+", u"+", 1, 0},     {u"+", u"+", -3, 1},
  };
  for (const ScanRow& row : rows)
    EXPECT_EQ(LastPosition(row.text, row.pattern, row.skip), row.expected) << Utf8(row.text);
}

struct OperatorRow {
  std::u16string text;
  ScanMode mode;
  int n;
  int expected;
};

// The largest of the five positions, not the nearest operator.
TEST(OperatorScan, TakesTheLargestOfTheFivePositions) {
  const OperatorRow rows[] = {
      {u"2*3+4-5", ScanMode::first, 1, 6}, {u"2*3+4-5", ScanMode::first, 7, 0},
      {u"2*3+4-5", ScanMode::last, 1, 6},  {u"1+2-", ScanMode::last, 1, 2},
      {u"1+2-", ScanMode::last, 0, 4},     {u"6", ScanMode::last, 1, 0},
      {u"^/*-+", ScanMode::first, 1, 5},   {u"abc", ScanMode::first, 1, 0},
  };
  for (const OperatorRow& row : rows)
    EXPECT_EQ(OperatorScan(row.text, row.mode, row.n), row.expected) << Utf8(row.text);
}

struct OperateRow {
  int32_t a;
  char16_t op;
  int32_t b;
  int32_t expected;
};

TEST(Operate, WrapsAndNeverTraps) {
  const OperateRow rows[] = {
      {7, u'/', 2, 3},
      {-7, u'/', 2, -3},
      {5, u'/', 0, INT32_MIN},
      {0, u'/', 0, INT32_MIN},
      {INT32_MIN, u'/', -1, INT32_MIN},
      {INT32_MAX, u'+', 1, INT32_MIN},
      {INT32_MIN, u'-', 1, INT32_MAX},
      {65536, u'*', 65536, 0},
      {INT32_MIN, u'*', -1, INT32_MIN},
      {2, u'^', 31, INT32_MIN},
      {2, u'^', 30, 1073741824},
      {0, u'^', -1, INT32_MIN},
      {2, u'^', -1, 0},
      {-2, u'^', 3, -8},
      {0, u'^', 0, 1},
  };
  for (const OperateRow& row : rows) EXPECT_EQ(Operate(row.a, row.op, row.b), row.expected);
}

struct ArithmeticRow {
  std::u16string text;
  std::u16string expected;
};

TEST(CalcArithmetic, DivisionByZeroAndTheSmallestQuotient) {
  const ArithmeticRow rows[] = {
      {u"5/0", u"-2147483648"},
      {u"0/0", u"-2147483648"},
      {u"1+5/0", u"-2147483647"},          // the quotient's "-" is then read by the sum stage
      {u"-2147483648/-1+0", u"-2147483648"},
      {u"2147483647+1", u"-2147483648"},
      {u"2^31", u"-2147483648"},
      {u"0^-1+0", u"-2147483648"},
  };
  for (const ArithmeticRow& row : rows) {
    EXPECT_EQ(Utf8(CalcArithmetic(row.text)), Utf8(row.expected)) << Utf8(row.text);
    EXPECT_EQ(Utf8(reference::CalcArithmetic(row.text)), Utf8(row.expected)) << Utf8(row.text);
  }
}

Text Repeat(TextView piece, int count) {
  Text t;
  t.reserve(piece.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) t.append(piece);
  return t;
}

// A hundred thousand operators take no stack and no quadratic time.
TEST(CalcArithmetic, LongChainsOfOneOperator) {
  EXPECT_EQ(Utf8(CalcArithmetic(u"1" + Repeat(u"+1", 100000))), "100001");
  EXPECT_EQ(Utf8(CalcArithmetic(u"1" + Repeat(u"*1", 100000))), "1");
  EXPECT_EQ(Utf8(CalcArithmetic(u"3" + Repeat(u"*1", 100000))), "3");
  EXPECT_EQ(Utf8(CalcArithmetic(u"1" + Repeat(u"^1", 100000))), "1");
  EXPECT_EQ(Utf8(CalcArithmetic(u"2" + Repeat(u"*2", 100000))), "0");
  EXPECT_EQ(Utf8(CalcArithmetic(u"1" + Repeat(u"-1", 100000))), "-99999");
}

// Operator characters alone: the fast stages agree with the definition on short runs, and the
// long run gives what the short runs show.
TEST(CalcArithmetic, LongRunsOfOperatorCharacters) {
  for (TextView op : {TextView(u"^"), TextView(u"*"), TextView(u"+"), TextView(u"/"), TextView(u"-")}) {
    for (int n = 1; n < 40; ++n) {
      Text t = Repeat(op, n);
      ASSERT_EQ(Utf8(CalcArithmetic(t)), Utf8(reference::CalcArithmetic(t))) << Utf8(t);
    }
    EXPECT_EQ(Utf8(CalcArithmetic(Repeat(op, 100000))), Utf8(reference::CalcArithmetic(Repeat(op, 39))))
        << Utf8(Text(op));
  }
}

TEST(CalcArithmetic, LongChainsAgreeWithTheDefinitionWhereItCanStillBeComputed) {
  for (TextView piece : {TextView(u"*2"), TextView(u" * 2"), TextView(u"^1"), TextView(u"*x2*3"),
                         TextView(u"+2^31"), TextView(u"*1.5")}) {
    Text t = u"7" + Repeat(piece, 3000);
    ASSERT_EQ(Utf8(CalcArithmetic(t)), Utf8(reference::CalcArithmetic(t))) << Utf8(Text(piece));
  }
}

}  // namespace
}  // namespace zunt
