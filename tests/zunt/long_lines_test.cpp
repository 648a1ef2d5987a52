// Lines of a megabyte: long operator chains, deep brackets and nested functions evaluate without
// exhausting the stack or the clock, and give the results the rules give.
#include <gtest/gtest.h>

#include <string>

#include "runtime/text.h"
#include "tests/testlib/runtime/console_capture.h"
#include "zunt/script.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

constexpr int kMegabyte = 1 << 20;

Text Repeat(std::u16string_view piece, int totalLength) {
  Text t;
  while (static_cast<int>(t.size()) + static_cast<int>(piece.size()) <= totalLength) t.append(piece);
  return t;
}

struct LongRow {
  const char* shape;
  Text expr;
  Text expected;
};

TEST(LongLines, EvaluateToTheirResults) {
  const Text brackets = Repeat(u"[", kMegabyte);
  const LongRow rows[] = {
      {"sums", u"0" + Repeat(u"+1", kMegabyte), IntToText(kMegabyte / 2)},
      {"differences", u"0" + Repeat(u"-2", kMegabyte), IntToText(-kMegabyte)},
      {"products", u"1" + Repeat(u"*1", kMegabyte), u"1"},
      {"products that wrap", u"1" + Repeat(u"*2", kMegabyte), u"0"},
      {"powers", u"1" + Repeat(u"^1", kMegabyte), u"1"},
      {"products with blanks", u"2" + Repeat(u" * 2", kMegabyte), u"2"},
      {"unknown names", u"a" + Repeat(u"*a", kMegabyte), u"0"},
      {"periodic operands", Repeat(u"11x21*", kMegabyte) + u"1", u"11"},
      {"brackets without arrays", brackets, brackets},
      {"nested sines", Repeat(u"sin(", kMegabyte) + u"90)", u"0.0000000000000000"},
  };
  for (const LongRow& row : rows) {
    TScript script;
    EXPECT_EQ(script.Calc2(row.expr), row.expected) << row.shape;
  }
}

// Every nested bracket text tests every array: one line per bracket.
TEST(LongLines, DeepBracketsWithAnArray) {
  TScript script;
  Array none;
  none.name = u"z";
  none.typ = ElementType::Integer;
  script.Arrays.push_back(none);
  ConsoleCapture console;
  script.Calc2(Repeat(u"[               ", kMegabyte));
  std::string line = "Auf das Feld 0 im Array <z> kann nicht zugegriffen werden!\r\n";
  std::string out = console.Out();
  EXPECT_EQ(out.size(), line.size() * (kMegabyte / 16));
  EXPECT_EQ(out.substr(0, line.size()), line);
}

}  // namespace
}  // namespace zunt
