// Calc2: an expression text evaluated by rewriting it: names replaced by their values, one array
// element, the built-in functions, and then the staged integer arithmetic.
#include <cmath>

#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/window.h"
#include "zunt/arithmetic.h"
#include "zunt/script.h"
#include "zunt/text_view.h"

namespace zunt {
namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

// A depth counter that comes down again however the nested evaluation ends.
class NestingGuard {
 public:
  explicit NestingGuard(int& depth) : depth_(depth) { ++depth_; }
  ~NestingGuard() { --depth_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  int& depth_;
};

Text ElementText(const Array& array, int32_t index) {
  switch (array.typ) {
    case 1: return IntToText(array.iarray.Get(index));
    case 2: return FloatToText(array.farray.Get(index));
    default: return array.sarray.Get(index);
  }
}

bool InRange(int32_t index, const Array& array) {
  return index >= 0 && int64_t{index} <= int64_t{array.amount} - 1;
}

using BuiltinValue = Text (*)(TScript& script, const Text& argument);

Text KeyHitValue(TScript&, const Text& argument) { return IntToText(KeyHitCount(TextToInt(argument))); }
Text KeyDownValue(TScript&, const Text& argument) { return IntToText(KeyIsDown(TextToInt(argument))); }
Text RandValue(TScript&, const Text& argument) { return IntToText(RandomInt(TextToInt(argument), 1)); }

// "cos(" computes the sine too, as it always has.
Text SineValue(TScript& script, const Text& argument) {
  int32_t degrees = TextToInt(script.CalcNested(argument));
  return DoubleToText(std::sin(static_cast<double>(degrees) * kRadiansPerDegree));
}

struct Builtin {
  const char16_t* prefix;
  BuiltinValue value;
};

// Looked for once each, in this order.
const Builtin kBuiltins[] = {
    {u"keyhit(", KeyHitValue},  // hits of the key since it was last asked; asking resets them
    {u"keydown(", KeyDownValue},  // 1 while the key is held
    {u"rand(", RandValue},        // between the argument and 1, both included
    {u"sin(", SineValue},         // sine of the evaluated argument in degrees
    {u"cos(", SineValue},
};

}  // namespace

Text TScript::Calc2(const Text& expr) {
  if (nesting_ == 0) nestedLeft_ = limits.nestedWork;
  Text t = expr;
  if (Contains(t, u'"')) return t;
  t = SubstituteNames(std::move(t));
  if (Contains(t, u'[')) t = SubstituteArrayElement(std::move(t));
  if (Contains(t, u'"')) return t;
  t = ApplyBuiltins(std::move(t));
  return CalcArithmetic(t, limits.maxTextLength);
}

// Index and sine texts are evaluated inside the evaluation that found them. Beyond the nesting
// bound, or once the nested texts of one evaluation have used up their share of work, such a text
// counts as it stands: a script that refers to itself this way cannot exhaust the stack or the clock.
Text TScript::CalcNested(const Text& expr) {
  int64_t cost = static_cast<int64_t>(expr.size()) + 1;
  if (nesting_ >= limits.maxNesting || cost > nestedLeft_) return expr;
  nestedLeft_ -= cost;
  NestingGuard guard(nesting_);
  return Calc2(expr);
}

// Every occurrence of every name, in list order; a later name also meets the values put in by
// earlier ones.
Text TScript::SubstituteNames(Text t) const {
  for (const IVar& v : IVars) {
    if (v.Name.empty() || t.find(v.Name) == Text::npos) continue;
    t = ReplaceBounded(std::move(t), v.Name, IntToText(v.value), limits.maxTextLength);
  }
  for (const FVar& v : FVars) {
    if (v.Name.empty() || t.find(v.Name) == Text::npos) continue;
    t = ReplaceBounded(std::move(t), v.Name, FloatToText(v.Value), limits.maxTextLength);
  }
  for (const SVar& v : SVars) {
    if (v.Name.empty() || t.find(v.Name) == Text::npos) continue;
    t = ReplaceBounded(std::move(t), v.Name, v.value, limits.maxTextLength);
  }
  return t;
}

// Only the first bracket pair counts. Every declared array is tested against its index, whether
// the text names it or not.
Text TScript::SubstituteArrayElement(Text t) {
  int open = FindText(t, u"[");
  int close = FindText(t, u"]");
  Text indexText = MidText(t, open + 1, close - open - 1);
  int32_t index = TextToInt(CalcNested(indexText));
  for (const Array& array : Arrays) {
    if (!InRange(index, array)) {
      PrintLine(u"Auf das Feld " + IntToText(index) + u" im Array <" + array.name +
                u"> kann nicht zugegriffen werden!");
      continue;
    }
    if (array.typ < 1 || array.typ > 3) continue;
    t = ReplaceBounded(std::move(t), array.name + u"[" + indexText + u"]", ElementText(array, index),
                       limits.maxTextLength);
  }
  return t;
}

// The call text runs from the function's name to the first ")" of the whole text; replacing it
// lower-cases the whole working text as well.
Text TScript::ApplyBuiltins(Text t) {
  for (const Builtin& builtin : kBuiltins) {
    TextView prefix(builtin.prefix);
    int c = FindLowered(t, prefix);
    if (c == 0) continue;
    int p = c + static_cast<int>(prefix.size());
    int close = FindText(t, u")");
    Text value = builtin.value(*this, MidText(t, p, p - close));
    Text call = LowerText(MidText(t, c, close - c + 1));
    t = ReplaceBounded(LowerText(t), call, value, limits.maxTextLength);
  }
  return t;
}

}  // namespace zunt
