// The arithmetic stages exactly as they are defined, recursion and copies included.
#include "tests/testlib/zunt/arithmetic_reference.h"

#include "zunt/arithmetic.h"
#include "zunt/stage_level.h"

namespace orvelt::zunt::reference {
namespace {

bool Has(const Text& s, const Text& chars) { return s.find_first_of(chars) != Text::npos; }

// The power or product stage: the last operator's left part evaluated first, by the same stage.
Text Stage(const Text& input, const Text& operators) {
  Text s = TrimText(input);
  if (!Has(s, operators)) return s;
  int k = static_cast<int>(s.find_last_of(operators)) + 1;
  Text left = LeftText(s, k - 1);
  Text leftValue = Has(left, operators) ? Stage(left, operators) : left;
  return ReduceReplaced(ReplaceText(s, left, leftValue), k, leftValue, s[static_cast<std::size_t>(k - 1)]);
}

}  // namespace

Text CalcPower(const Text& s) { return Stage(s, u"^"); }

Text CalcProduct(const Text& s) { return Stage(s, u"*/"); }

Text CalcSum(const Text& input) {
  Text s = TrimText(input);
  if (!Has(s, u"+-")) return s;
  int64_t lp = LastPosition(s, u"+", 0);
  int64_t lm = LastPosition(s, u"-", 0);
  char16_t op = lp > lm ? u'+' : u'-';
  int k = static_cast<int>(lp > lm ? lp : lm);
  Text left = LeftText(s, k - 1);
  if (Has(left, u"+-")) left = CalcSum(left);
  int32_t a = TextToInt(left);
  int32_t b = TextToInt(RightText(s, static_cast<int>(s.size()) - k));
  return IntToText(Operate(a, op, b));
}

Text CalcArithmetic(const Text& t) {
  Text s = ReplaceText(LowerText(TrimText(t)), u"pi", u"3.1415926535897931");
  if (!Has(s, u"+-*/^")) return s;
  return IntToText(TextToInt(CalcSum(CalcProduct(CalcPower(s)))));
}

}  // namespace orvelt::zunt::reference
