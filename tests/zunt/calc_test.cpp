// Calc2 on a script's store: every example of the expression rules, as rows of input and result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/console.h"
#include "runtime/random.h"
#include "runtime/text.h"
#include "zunt/script.h"

namespace zunt {
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

}  // namespace
}  // namespace zunt
