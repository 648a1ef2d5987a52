// The operand procedures as literal walks over the variable list, in list order and without early
// stops; the decoded path (decode.cpp) is checked against these.
#include "pelko/operands.h"

#include "runtime/clock.h"
#include "runtime/window.h"

namespace orvelt::pelko {
namespace {

bool TakesPart(const TVariable& cell, SourceVariant variant) {
  return variant == SourceVariant::Full || cell.typ == kTypInt || cell.typ == kTypSingle;
}

struct KeyName {
  const char16_t* name;
  int code;
};

constexpr KeyName kKeyNames[] = {
    {u"LEFT", 37}, {u"RIGHT", 39}, {u"UP", 38}, {u"DOWN", 40}, {u"ESC", 27},
    {u"A", 65},    {u"S", 83},     {u"D", 68},  {u"W", 87},
};

}  // namespace

Text Bracketed(const Text& inner) {
  Text text;
  text.reserve(inner.size() + 2);
  text += u'[';
  text += inner;
  text += u']';
  return text;
}

Text IndexValue(const TVariable& cell) {
  return cell.typ == kTypInt ? IntToText(cell.wert1) : IntToText(FloatToInt(cell.wert3));
}

// String cells replace nothing.
Text SubstituteIndexes(const VariableList& variables, Text x) {
  if (FindText(x, u"[") == 0) return x;
  for (const TVariable& cell : variables) {
    if (cell.typ != kTypInt && cell.typ != kTypSingle) continue;
    Text pattern = Bracketed(cell.name);
    if (FindText(x, pattern) > 0) x = ReplaceText(x, pattern, Bracketed(IndexValue(cell)));
  }
  return x;
}

Text SubstituteTimer(Text x) {
  if (FindText(x, u"__TIMER__") == 0) return x;
  return ReplaceText(x, u"__TIMER__", IntToText(static_cast<int32_t>(Millisecs())));
}

Text SubstituteSource(const VariableList& variables, Text operand, SourceVariant variant) {
  for (const TVariable& cell : variables)
    if (cell.name == operand && TakesPart(cell, variant)) operand = ValueText(cell);
  return operand;
}

Text WalkCountingStrings(const VariableList& variables, Text operand, int& strings) {
  for (const TVariable& cell : variables)
    if (cell.name == operand) {
      operand = ValueText(cell);
      if (cell.typ == kTypString) ++strings;
    }
  return operand;
}

Text OperandValue(const VariableList& variables, const Text& x) {
  for (const TVariable& cell : variables)
    if (cell.name == x) return ValueText(cell);
  return x;
}

// A lone double quote both begins and ends the text, and becomes empty.
Text StripEnclosingQuotes(const Text& x) {
  if (x.empty() || x.front() != u'"' || x.back() != u'"') return x;
  return MidText(x, 2, static_cast<int>(x.size()) - 2);
}

Text RemoveAllQuotes(const Text& x) { return ReplaceText(x, u"\"", u""); }

bool HasQuote(const Text& x) { return x.find(u'"') != Text::npos; }

int KeyCodeByName(const Text& name) {
  for (const KeyName& key : kKeyNames)
    if (name == key.name) return key.code;
  return 0;
}

int KeyStateByName(const Text& name) {
  int code = KeyCodeByName(name);
  return code == 0 ? 0 : KeyIsDown(code);
}

}  // namespace orvelt::pelko
