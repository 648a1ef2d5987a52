// The name index gives what the whole walks give: substitution in Calc2 and matching in
// assignments, on generated stores large enough to be indexed, compared with literal walks.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "runtime/text.h"
#include "tests/testlib/runtime/console_capture.h"
#include "tests/testlib/zunt/literal_walks.h"
#include "zunt/script.h"
#include "zunt/store.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

std::string Utf8(const Text& t) { return EncodeUtf8(t); }

Text RandomText(std::mt19937& rng, TextView alphabet, int minLength, int maxLength) {
  std::uniform_int_distribution<int> length(minLength, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  Text t;
  for (int n = length(rng); n > 0; --n) t.push_back(alphabet[pick(rng)]);
  return t;
}

// Names from few characters, so that they occur in one another and in the values.
const TextView kNameChars = u"abcAB1\u00e4";

TScript RandomStore(std::mt19937& rng) {
  TScript s;
  std::uniform_int_distribution<int> count(20, 60), number(-50, 500);
  for (int i = count(rng); i > 0; --i) s.IVars.push_back({RandomText(rng, kNameChars, 0, 3), number(rng)});
  for (int i = count(rng); i > 0; --i)
    s.FVars.push_back({RandomText(rng, kNameChars, 1, 3), static_cast<float>(number(rng)) / 4});
  for (int i = count(rng); i > 0; --i)
    s.SVars.push_back({RandomText(rng, kNameChars, 1, 3), RandomText(rng, u"abcB1+ \u00e4", 0, 4)});
  for (int i = count(rng); i > 0; --i) {
    Array a;
    a.name = RandomText(rng, kNameChars, 1, 2);
    a.typ = static_cast<ElementType>(1 + i % 3);
    a.amount = 4;
    a.iarray = Elements<int32_t>(4);
    a.farray = Elements<float>(4);
    a.sarray = Elements<Text>(4);
    s.Arrays.push_back(std::move(a));
  }
  return s;
}

std::string Dump(const TScript& s) {
  std::string out;
  for (const IVar& v : s.IVars) out += Utf8(v.Name) + "=" + std::to_string(v.value) + ";";
  for (const FVar& v : s.FVars) {
    uint32_t bits;
    std::memcpy(&bits, &v.Value, sizeof bits);
    out += Utf8(v.Name) + "=" + std::to_string(bits) + ";";
  }
  for (const SVar& v : s.SVars) out += Utf8(v.Name) + "=" + Utf8(v.value) + ";";
  for (const Array& a : s.Arrays)
    for (int32_t i = 0; i < 4; ++i)
      out += std::to_string(a.iarray.Get(i)) + "," + std::to_string(a.farray.Get(i)) + "," + Utf8(a.sarray.Get(i)) + ";";
  return out;
}

TEST(NameIndex, SubstitutionMatchesTheWholeWalk) {
  std::mt19937 rng(21);
  for (int round = 0; round < 300; ++round) {
    TScript indexed = RandomStore(rng);
    reference::LiteralWalks literal(indexed);
    for (int i = 0; i < 30; ++i) {
      Text expr = RandomText(rng, u"abcAB1\u00e4+* ", 0, 8);
      Text expected = literal.Calc2(expr);
      ASSERT_EQ(Utf8(indexed.Calc2(expr)), Utf8(expected)) << Utf8(expr);
    }
  }
}

TEST(NameIndex, AssignmentMatchesTheWholeWalk) {
  std::mt19937 rng(22);
  for (int round = 0; round < 300; ++round) {
    TScript indexed = RandomStore(rng);
    TScript literalStore = indexed;
    reference::LiteralWalks literal(literalStore, 200);
    for (int i = 0; i < 20; ++i) {
      Text line = RandomText(rng, u"abcAB1\u00e4", 0, 3) + RandomText(rng, u"[]1 =\"ab+", 0, 8);
      std::string indexedOut, literalOut;
      bool indexedFlag, literalFlag;
      try {
        ConsoleCapture console;
        literalFlag = literal.AssignFromLine(line);
        literalOut = console.Out();
      } catch (const reference::GaveUp&) {
        break;  // a string that names itself and grows on ends only with the memory or the work meter
      }
      {
        ConsoleCapture console;
        indexedFlag = AssignFromLine(indexed, line);
        indexedOut = console.Out();
      }
      ASSERT_EQ(indexedFlag, literalFlag) << Utf8(line);
      ASSERT_EQ(indexedOut, literalOut) << Utf8(line);
      ASSERT_EQ(Dump(indexed), Dump(literalStore)) << Utf8(line);
    }
  }
}

// Records appended after the index was first asked are found too, and a list that was emptied
// and filled again is indexed anew.
TEST(NameIndex, FollowsTheListsAsTheyGrowAndShrink) {
  TScript s;
  for (int i = 0; i < 40; ++i) s.IVars.push_back({u"v" + IntToText(i), i});
  EXPECT_EQ(Utf8(s.Calc2(u"v9")), "9");
  s.IVars.push_back({u"w", 7});
  EXPECT_EQ(Utf8(s.Calc2(u"w")), "7");
  s.IVars.clear();
  for (int i = 0; i < 40; ++i) s.IVars.push_back({u"x" + IntToText(i), 2 * i});
  EXPECT_EQ(Utf8(s.Calc2(u"x9")), "18");
  EXPECT_EQ(Utf8(s.Calc2(u"w")), "w");
}

}  // namespace
}  // namespace zunt
