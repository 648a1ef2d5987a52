// The arithmetic stages exactly as they are defined, recursion and copies included: the reference
// that the fast stages are compared with. Not used by a running script.
#include "runtime/process.h"
#include "zunt/arithmetic.h"
#include "zunt/stage_level.h"

namespace orvelt::zunt::reference {
namespace {

bool Has(const Text& s, const Text& chars) { return s.find_first_of(chars) != Text::npos; }

Text Stage(const Text& input, const Text& operators) {
  Text s = TrimText(input);
  if (!Has(s, operators)) return s;
  int k = LastStageOperator(s, operators);
  Text left = LeftText(s, k - 1);
  Text leftValue = Has(left, operators) ? Stage(left, operators) : left;
  return ReduceLastOperation(s, k, left, leftValue);
}

}  // namespace

Text CalcPower(const Text& s) { return Stage(s, u"^"); }

Text CalcProduct(const Text& s) { return Stage(s, u"*/"); }

Text CalcSum(const Text& input) {
  Text s = TrimText(input);
  if (!Has(s, u"+-")) return s;
  int lp = LastPosition(s, u"+", 0);
  int lm = LastPosition(s, u"-", 0);
  char16_t op = lp > lm ? u'+' : u'-';
  int k = lp > lm ? lp : lm;
  Text left = LeftText(s, k - 1);
  if (Has(left, u"+-")) left = CalcSum(left);
  int32_t a = TextToInt(left);
  int32_t b = TextToInt(RightText(s, static_cast<int>(s.size()) - k));
  return IntToText(Operate(a, op, b));
}

Text CalcArithmetic(const Text& t, std::size_t maxLength) {
  Text s = ReplaceText(LowerText(TrimText(t)), u"pi", u"3.1415926535897931");
  if (s.size() > maxLength) RaiseFatalError(u"Out of memory");
  if (!Has(s, u"+-*/^")) return s;
  return IntToText(TextToInt(CalcSum(CalcProduct(CalcPower(s)))));
}

}  // namespace orvelt::zunt::reference
