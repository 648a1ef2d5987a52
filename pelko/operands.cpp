// Index pieces, timer substitution, quotes and key names.
#include "pelko/operands.h"

#include "runtime/clock.h"
#include "runtime/window.h"

namespace orvelt::pelko {
namespace {

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

Text SubstituteTimer(Text x) {
  if (FindText(x, u"__TIMER__") == 0) return x;
  return ReplaceText(x, u"__TIMER__", IntToText(static_cast<int32_t>(Millisecs())));
}

// A lone double quote both begins and ends the text, and becomes empty.
Text StripEnclosingQuotes(std::u16string_view x) {
  if (x.empty() || x.front() != u'"' || x.back() != u'"') return Text(x);
  return x.size() < 2 ? Text() : Text(x.substr(1, x.size() - 2));
}

Text RemoveAllQuotes(std::u16string_view x) {
  Text text;
  text.reserve(x.size());
  for (char16_t unit : x)
    if (unit != u'"') text += unit;
  return text;
}

bool HasQuote(std::u16string_view x) { return x.find(u'"') != Text::npos; }

int KeyCodeByName(std::u16string_view name) {
  for (const KeyName& key : kKeyNames)
    if (name == key.name) return key.code;
  return 0;
}

int KeyStateByName(std::u16string_view name) {
  int code = KeyCodeByName(name);
  return code == 0 ? 0 : KeyIsDown(code);
}

}  // namespace orvelt::pelko
