// The literal walks: every step of the evaluation, declaration and assignment rules as written.
#include "tests/testlib/zunt/literal_walks.h"

#include <algorithm>
#include <cmath>

#include "runtime/console.h"
#include "runtime/random.h"
#include "runtime/window.h"
#include "tests/testlib/zunt/arithmetic_reference.h"

namespace orvelt::zunt::reference {
namespace {

int Length(const Text& s) { return static_cast<int>(s.size()); }

bool Matches(const Text& line, const Text& name) {
  return LowerText(LeftText(line, Length(name))) == LowerText(name);
}

void PrintIndexLine(int32_t index, const Text& name) {
  PrintLine(u"Auf das Feld " + IntToText(index) + u" im Array <" + name + u"> kann nicht zugegriffen werden!");
}

}  // namespace

void LiteralWalks::Spend(std::size_t units) {
  if (units > workLeft_) throw GaveUp{};
  workLeft_ -= units;
}

Text LiteralWalks::Calc2(const Text& expr) {
  running_.assign(1, expr);
  return Evaluate(expr);
}

// A text met again inside its own evaluation counts as it stands.
Text LiteralWalks::Nested(const Text& text) {
  if (std::find(running_.begin(), running_.end(), text) != running_.end()) return text;
  if (running_.size() >= maxDepth_) throw GaveUp{};
  Spend(text.size() + 1);
  running_.push_back(text);
  Text result = Evaluate(text);
  running_.pop_back();
  return result;
}

Text LiteralWalks::Evaluate(const Text& expr) {
  Text t = expr;
  if (FindText(t, u"\"") > 0) return t;
  for (const IVar& v : script_.IVars) t = ReplaceText(t, v.Name, IntToText(v.value));
  for (const FVar& v : script_.FVars) t = ReplaceText(t, v.Name, FloatToText(v.Value));
  for (const SVar& v : script_.SVars) t = ReplaceText(t, v.Name, v.value);
  if (running_.size() > 1) Spend(t.size());
  if (FindText(t, u"[") > 0) {
    int a = FindText(t, u"[");
    int b = FindText(t, u"]");
    Text indexText = MidText(t, a + 1, b - a - 1);
    int32_t index = TextToInt(Nested(indexText));
    for (const Array& array : script_.Arrays) {
      if (index < 0 || index > int64_t{array.amount} - 1) {
        PrintIndexLine(index, array.name);
        continue;
      }
      Text element;
      switch (array.typ) {
        case ElementType::Integer: element = IntToText(array.iarray.Get(index)); break;
        case ElementType::Float: element = FloatToText(array.farray.Get(index)); break;
        case ElementType::String: element = array.sarray.Get(index); break;
        default: continue;
      }
      t = ReplaceText(t, array.name + u"[" + indexText + u"]", element);
      if (running_.size() > 1) Spend(t.size());
    }
  }
  if (FindText(t, u"\"") > 0) return t;
  for (const char16_t* prefix : {u"keyhit(", u"keydown(", u"rand(", u"sin(", u"cos("}) {
    Text name = prefix;
    int c = FindText(LowerText(t), name);
    if (c == 0) continue;
    int p = c + Length(name);
    int close = FindText(t, u")");
    Text argument = MidText(t, p, p - close);
    Text value;
    if (name == u"keyhit(") value = IntToText(KeyHitCount(TextToInt(argument)));
    else if (name == u"keydown(") value = IntToText(KeyIsDown(TextToInt(argument)));
    else if (name == u"rand(") value = IntToText(RandomInt(TextToInt(argument), 1));
    else value = DoubleToText(std::sin(TextToInt(Nested(argument)) * 0.017453292519943295));
    t = ReplaceText(LowerText(t), LowerText(MidText(t, c, close - c + 1)), value);
    if (running_.size() > 1) Spend(t.size());
  }
  return CalcArithmetic(t);
}

void LiteralWalks::DeclareFromLine(const Text& line, ElementType type) {
  int len = Length(line);
  int s1 = FindText(line, u" ");
  int s2 = FindText(line, u" ", s1 + 1);
  if (LowerText(MidText(line, s1 + 1, s2 - s1 - 1)) == u"dim") {
    int b1 = FindText(line, u"[");
    int b2 = FindText(line, u"]");
    Array array;
    array.name = ReplaceText(MidText(line, s2 + 1, b1 - s2 - 1), u" ", u"");
    array.typ = type;
    array.amount = TextToInt(MidText(line, b1 + 1, b2 - b1 - 1));
    if (type == ElementType::Integer) array.iarray = Elements<int32_t>(array.amount);
    if (type == ElementType::Float) array.farray = Elements<float>(array.amount);
    if (type == ElementType::String) array.sarray = Elements<Text>(array.amount);
    script_.Arrays.push_back(std::move(array));
    return;
  }
  if (type == ElementType::String) {
    int q = FindText(line, u"\"");
    Text name = ReplaceText(ReplaceText(MidText(line, s1 + 1, q - s1 - 1), u" ", u""), u"=", u"");
    script_.SVars.push_back(SVar{name, RightText(line, len - q)});
    return;
  }
  int e = FindText(line, u"=");
  Text name = ReplaceText(MidText(line, s1 + 1, e - s1 - 1), u" ", u"");
  if (type == ElementType::Integer)
    script_.IVars.push_back(IVar{name, TextToInt(Calc2(RightText(line, len - e)))});
  else
    script_.FVars.push_back(FVar{name, TextToFloat(Calc2(TrimText(RightText(line, len - e))))});
}

bool LiteralWalks::AssignFromLine(const Text& line) {
  bool flag = false;
  int len = Length(line);
  int eq = FindText(line, u"=");
  int q = FindText(line, u"\"");
  for (IVar& v : script_.IVars) {
    if (!Matches(line, v.Name) || eq == 0) continue;
    v.value = TextToInt(Calc2(RightText(line, len - eq - 1)));
    flag = true;
  }
  for (FVar& v : script_.FVars) {
    if (!Matches(line, v.Name) || eq == 0) continue;
    v.Value = TextToFloat(Calc2(RightText(line, len - eq - 1)));
    flag = true;
  }
  for (SVar& v : script_.SVars) {
    if (!Matches(line, v.Name) || q == 0) continue;
    v.value = RightText(line, len - q + 1);
    flag = true;
  }
  for (Array& array : script_.Arrays) {
    if (!Matches(line, array.name)) continue;
    int b1 = FindText(line, u"[");
    int b2 = FindText(line, u"]");
    int32_t index = TextToInt(Calc2(MidText(line, b1 + 1, b2 - b1 - 1)));
    if (index < 0 || index > int64_t{array.amount} - 1) {
      PrintIndexLine(index, array.name);
      flag = true;
      continue;
    }
    if (eq == 0) continue;
    Text value = RightText(line, len - eq - 1);
    if (array.typ == ElementType::Integer) array.iarray.Set(index, TextToInt(Calc2(value)));
    if (array.typ == ElementType::Float) array.farray.Set(index, TextToFloat(Calc2(value)));
    if (array.typ == ElementType::String) array.sarray.Set(index, RightText(line, len - q + 1));
    flag = true;
  }
  return flag;
}

}  // namespace orvelt::zunt::reference
