// Calc2: an expression text evaluated by rewriting it: names replaced by their values, one array
// element, the built-in functions, and then the staged integer arithmetic.
#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>

#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/window.h"
#include "zunt/arithmetic.h"
#include "zunt/script.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {
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

Text ValueText(const IVar& v) { return IntToText(v.value); }
Text ValueText(const FVar& v) { return FloatToText(v.Value); }
Text ValueText(const SVar& v) { return v.value; }

// Replaces every occurrence of one record's name; false when the name does not occur.
template <typename Record>
bool SubstituteOne(Text& t, const Record& record, std::size_t maxLength) {
  const Text& name = NameOf(record);
  if (name.empty() || name.size() > t.size() || t.find(name[0]) == Text::npos) return false;
  bool replaced = false;
  t = ReplaceBounded(std::move(t), name, ValueText(record), maxLength, &replaced);
  return replaced;
}

// One list's names replaced in list order. A name whose first character is nowhere in the text
// cannot occur in it, so the index skips it; the characters a value brings in wake up the names
// that start with them, from the next record on.
template <typename Records>
void SubstituteList(Text& t, const Records& records, const NameBuckets& buckets, PresentChars& present,
                    bool literal, std::size_t maxLength) {
  if (literal || records.size() < kIndexedListSize) {
    for (const auto& record : records)
      if (SubstituteOne(t, record, maxLength)) present.Add(ValueText(record), [](int) {});
    return;
  }
  struct Cursor {
    uint32_t number;
    int bucket;
    std::size_t pos;
    bool operator>(const Cursor& other) const { return number > other.number; }
  };
  std::priority_queue<Cursor, std::vector<Cursor>, std::greater<Cursor>> next;
  auto startAt = [&](int bucket, uint32_t after, bool inclusive) {
    const std::vector<uint32_t>& list = buckets.Exact(bucket);
    auto it = inclusive ? std::lower_bound(list.begin(), list.end(), after)
                        : std::upper_bound(list.begin(), list.end(), after);
    if (it != list.end()) next.push(Cursor{*it, bucket, static_cast<std::size_t>(it - list.begin())});
  };
  present.ForEach([&](int bucket) { startAt(bucket, 0, true); });
  while (!next.empty()) {
    Cursor cursor = next.top();
    next.pop();
    const std::vector<uint32_t>& list = buckets.Exact(cursor.bucket);
    if (cursor.pos + 1 < list.size()) next.push(Cursor{list[cursor.pos + 1], cursor.bucket, cursor.pos + 1});
    const auto& record = records[cursor.number];
    if (SubstituteOne(t, record, maxLength))
      present.Add(ValueText(record), [&](int bucket) { startAt(bucket, cursor.number, false); });
  }
}

}  // namespace

NameIndex& TScript::Names() {
  names_.ivars.Sync(IVars, [](const IVar& v) -> const Text& { return NameOf(v); });
  names_.fvars.Sync(FVars, [](const FVar& v) -> const Text& { return NameOf(v); });
  names_.svars.Sync(SVars, [](const SVar& v) -> const Text& { return NameOf(v); });
  names_.arrays.Sync(Arrays, [](const Array& a) -> const Text& { return NameOf(a); });
  return names_;
}

Text TScript::Calc2(const Text& expr) {
  if (nesting_ == 0) nestedLeft_ = limits.nestedWork;
  Text t = expr;
  if (Contains(t, u'"')) return t;
  t = SubstituteNames(std::move(t));
  if (Contains(t, u'[')) t = SubstituteArrayElement(std::move(t));
  if (Contains(t, u'"')) return t;
  t = ApplyBuiltins(std::move(t));
  if (limits.literalWalks) return reference::CalcArithmetic(t, limits.maxTextLength);
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
Text TScript::SubstituteNames(Text t) {
  NameIndex& names = Names();
  PresentChars present(t);
  std::size_t maxLength = limits.maxTextLength;
  SubstituteList(t, IVars, names.ivars, present, limits.literalWalks, maxLength);
  SubstituteList(t, FVars, names.fvars, present, limits.literalWalks, maxLength);
  SubstituteList(t, SVars, names.svars, present, limits.literalWalks, maxLength);
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

}  // namespace orvelt::zunt
