// The evaluator's view-based text helpers give what the runtime's text operations give.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/text.h"
#include "zunt/text_view.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

std::string Utf8(const Text& t) { return EncodeUtf8(t); }

Text RandomText(std::mt19937& rng, TextView alphabet, int maxLength) {
  std::uniform_int_distribution<int> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  Text t;
  for (int n = length(rng); n > 0; --n) t.push_back(alphabet[pick(rng)]);
  return t;
}

const TextView kAlphabet = u" \t\r-+$%019aAfFgxX.()[]\u00e4\u0130\u0663";

TEST(TextView, MidViewIsMidTextForPositionsFromOne) {
  std::mt19937 rng(12);
  std::uniform_int_distribution<int> pos(1, 12), count(-3, 12);
  for (int i = 0; i < 20000; ++i) {
    Text t = RandomText(rng, u"abc", 10);
    int p = pos(rng), n = count(rng);
    ASSERT_EQ(Utf8(Text(MidView(t, p, n))), Utf8(MidText(t, p, n))) << Utf8(t) << " " << p << " " << n;
  }
}

TEST(TextView, FindUnitLeftViewAndRightViewAreTheRuntimes) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> number(-3, 12);
  for (int i = 0; i < 20000; ++i) {
    Text t = RandomText(rng, u"ab,", 10);
    int n = number(rng);
    ASSERT_EQ(FindUnit(t, u',', n), FindText(t, u",", n)) << Utf8(t) << " " << n;
    ASSERT_EQ(Utf8(Text(LeftView(t, n))), Utf8(LeftText(t, n))) << Utf8(t) << " " << n;
    ASSERT_EQ(Utf8(Text(RightView(t, n))), Utf8(RightText(t, n))) << Utf8(t) << " " << n;
  }
}

TEST(TextView, FindLoweredIsFindTextOfTheLoweredText) {
  std::mt19937 rng(13);
  for (int i = 0; i < 20000; ++i) {
    Text t = RandomText(rng, u"sSiInN(()", 12);
    for (const char16_t* prefix : {u"sin(", u"in", u"(", u"n(("})
      ASSERT_EQ(FindLowered(t, prefix), FindText(LowerText(t), prefix)) << Utf8(t);
  }
}

Text ReplacedOrSame(const Text& t, TextView pattern, TextView replacement) {
  std::optional<Text> replaced = Replaced(t, pattern, replacement);
  return replaced ? *replaced : t;
}

TEST(TextView, ReplacedIsReplaceText) {
  std::mt19937 rng(14);
  for (int i = 0; i < 20000; ++i) {
    Text t = RandomText(rng, u"ab", 12);
    Text pattern = RandomText(rng, u"ab", 3);
    Text replacement = RandomText(rng, u"abc", 4);
    ASSERT_EQ(Utf8(ReplacedOrSame(t, pattern, replacement)), Utf8(ReplaceText(t, pattern, replacement)))
        << Utf8(t) << " / " << Utf8(pattern) << " / " << Utf8(replacement);
  }
}

// Long patterns take the table-driven search; its occurrences are those of the plain search.
TEST(TextView, LongPatternsAreFoundWhereTheyStand) {
  std::mt19937 rng(16);
  std::uniform_int_distribution<std::size_t> from(0, 40);
  for (int i = 0; i < 20000; ++i) {
    Text pattern = RandomText(rng, u"aab", 40);
    if (pattern.size() < 17) pattern = Text(17, u'a') + pattern;
    Text t = RandomText(rng, u"aaab", 120) + pattern + RandomText(rng, u"ab", 20);
    PatternFinder finder(pattern);
    std::size_t start = from(rng);
    ASSERT_EQ(finder.Find(t, start), t.find(pattern, start)) << Utf8(t) << " / " << Utf8(pattern);
    ASSERT_EQ(Utf8(ReplacedOrSame(t, pattern, u"X")), Utf8(ReplaceText(t, pattern, u"X")));
  }
}

TEST(TextView, TrimViewIsTrimText) {
  std::mt19937 rng(15);
  for (int i = 0; i < 20000; ++i) {
    Text t = RandomText(rng, u" \t\x01 a\u00a0", 8);
    ASSERT_EQ(Utf8(Text(TrimView(t))), Utf8(TrimText(t)));
  }
}

}  // namespace
}  // namespace zunt
