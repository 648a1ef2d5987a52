// Calc2: an expression text evaluated by rewriting it: names replaced by their values, one array
// element, the built-in functions, and then the staged integer arithmetic. Index and sine texts
// are evaluated inside the evaluation that meets them, as levels kept on the heap.
#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>

#include "runtime/random.h"
#include "runtime/window.h"
#include "zunt/arithmetic.h"
#include "zunt/script.h"
#include "zunt/store.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {
namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
const Text kPiDigits = u"3.1415926535897931";

// What the inner levels of one evaluation may cost, in characters handled, and what a level costs
// on its own. Every level may evaluate an index text and a sine argument that each take nearly
// all of the text: a short line can ask for more evaluations than the machine could run in years,
// without taking any memory. Once the inner levels have used this up, further inner texts
// count as they stand; no script that ends in a reasonable time comes near it.
constexpr int64_t kInnerWork = int64_t{1} << 26;
constexpr int64_t kLevelCost = 128;
// Beyond this many levels, the lengths of the texts being evaluated are counted, so that a text
// met again is noticed without a walk over all the levels.
constexpr std::size_t kLevelsWalked = 32;
// After an evaluation, the working texts of this many levels are kept for the next one.
constexpr std::size_t kTextsKept = 16;
constexpr std::size_t kUnitsKept = std::size_t{1} << 16;

Text ElementText(const Array& array, int32_t index) {
  switch (array.typ) {
    case ElementType::Integer: return IntToText(array.iarray.Get(index));
    case ElementType::Float: return FloatToText(array.farray.Get(index));
    default: return array.sarray.Get(index);
  }
}

Level NewLevel(TextView input, Piece work, Stage stage) {
  Level level;
  level.input = input;
  level.work = work;
  level.stage = stage;
  return level;
}

bool InRange(int32_t index, const Array& array) {
  return index >= 0 && int64_t{index} <= int64_t{array.amount} - 1;
}

bool HasElements(const Array& array) {
  return array.typ == ElementType::Integer || array.typ == ElementType::Float || array.typ == ElementType::String;
}

Text Lowered(TextView s) {
  Text result(s);
  for (char16_t& c : result) c = LowerUnit(c);
  return result;
}

Text ValueText(const IVar& v) { return IntToText(v.value); }
Text ValueText(const FVar& v) { return FloatToText(v.Value); }
Text ValueText(const SVar& v) { return v.value; }

// Replaces every occurrence of one record's name; false when the name does not occur.
template <typename Record>
bool SubstituteOne(Text& t, const Record& record) {
  const Text& name = NameOf(record);
  if (name.empty() || name.size() > t.size() || t.find(name[0]) == Text::npos) return false;
  std::optional<Text> replaced = Replaced(t, name, ValueText(record));
  if (!replaced) return false;
  t = std::move(*replaced);
  return true;
}

// One list's names replaced in list order. A name whose first character is nowhere in the text
// cannot occur in it, so the index skips it; the characters a value brings in wake up the names
// that start with them, from the next record on.
template <typename Records>
bool SubstituteList(Text& t, const Records& records, const NameBuckets& buckets, PresentChars& present) {
  bool changed = false;
  if (records.size() < kIndexedListSize) {
    for (const auto& record : records) {
      if (!SubstituteOne(t, record)) continue;
      present.Add(ValueText(record), [](int) {});
      changed = true;
    }
    return changed;
  }
  struct Cursor {
    std::size_t number;
    int bucket;
    std::size_t pos;
    bool operator>(const Cursor& other) const { return number > other.number; }
  };
  std::priority_queue<Cursor, std::vector<Cursor>, std::greater<Cursor>> next;
  auto startAt = [&](int bucket, std::size_t after, bool inclusive) {
    const std::vector<std::size_t>& list = buckets.Exact(bucket);
    auto it = inclusive ? std::lower_bound(list.begin(), list.end(), after)
                        : std::upper_bound(list.begin(), list.end(), after);
    if (it != list.end()) next.push(Cursor{*it, bucket, static_cast<std::size_t>(it - list.begin())});
  };
  present.ForEach([&](int bucket) { startAt(bucket, 0, true); });
  while (!next.empty()) {
    Cursor cursor = next.top();
    next.pop();
    const std::vector<std::size_t>& list = buckets.Exact(cursor.bucket);
    if (cursor.pos + 1 < list.size()) next.push(Cursor{list[cursor.pos + 1], cursor.bucket, cursor.pos + 1});
    const auto& record = records[cursor.number];
    if (!SubstituteOne(t, record)) continue;
    present.Add(ValueText(record), [&](int bucket) { startAt(bucket, cursor.number, false); });
    changed = true;
  }
  return changed;
}

// Does any name of the list occur in the text?
template <typename Records>
bool AnyNameIn(TextView t, const Records& records, const NameBuckets& buckets, const PresentChars& present) {
  auto occurs = [&](const Text& name) {
    return !name.empty() && name.size() <= t.size() && PatternFinder(name).Find(t, 0) != TextView::npos;
  };
  if (records.size() < kIndexedListSize)
    return std::any_of(records.begin(), records.end(), [&](const auto& record) { return occurs(NameOf(record)); });
  bool found = false;
  present.ForEach([&](int bucket) {
    for (std::size_t number : buckets.Exact(bucket))
      if (!found && occurs(NameOf(records[number]))) found = true;
  });
  return found;
}

// What TextToInt reads from CalcArithmetic's result for a text without operator characters: the
// start of the trimmed, lower-cased text with "pi" spelt out, as far as a number can reach.
int32_t PlainNumber(TextView t) {
  TextView s = TrimView(t);
  Text start;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = LowerUnit(s[i]);
    if (c == u'p' && i + 1 < s.size() && LowerUnit(s[i + 1]) == u'i') {
      start += kPiDigits;
      break;
    }
    bool numeric = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || c == u'$' || c == u'%';
    if (!numeric) break;
    start.push_back(c);
  }
  return TextToInt(start);
}

}  // namespace

NameIndex& TScript::Names() {
  names_.ivars.Sync(IVars, [](const IVar& v) -> const Text& { return NameOf(v); });
  names_.fvars.Sync(FVars, [](const FVar& v) -> const Text& { return NameOf(v); });
  names_.svars.Sync(SVars, [](const SVar& v) -> const Text& { return NameOf(v); });
  names_.arrays.Sync(Arrays, [](const Array& a) -> const Text& { return NameOf(a); });
  return names_;
}

// One Calc2 with the texts evaluated inside it, run level by level: a level that meets an index
// or a sine argument puts a level for it on top and goes on once that one has its value.
class TScript::Evaluation {
 public:
  explicit Evaluation(TScript& script) : script_(script), space_(script.calc_) {}
  Text Run(TextView expr);

 private:
  // What a step leaves: the level goes on (perhaps after one put on top of it), or it is over,
  // with its text as it stands (it holds a double quote) or to be computed.
  enum class Next { GoOn, AsItStands, Computed };

  Level& At(std::size_t depth) { return space_.levels[depth]; }
  WorkingText& OwnText(std::size_t depth);
  void Own(std::size_t depth, Text text);

  Next Names(std::size_t depth);
  Next Bracket(std::size_t depth);
  Next Element(std::size_t depth);
  Next Builtins(std::size_t depth);
  void Sine(std::size_t depth);

  bool HasNames() const { return !script_.IVars.empty() || !script_.FVars.empty() || !script_.SVars.empty(); }
  bool SubstituteNames(Text& t);
  bool NamesMayOccur(std::size_t depth, const WorkingText& w);
  void ReplaceCall(std::size_t depth, Text value);
  void Nest(std::size_t depth, Piece inner);
  bool MetBefore(TextView text) const;
  void Pop();
  int32_t NumberOf(std::size_t depth, Next end);
  // Work done by an inner level counts against what the evaluation may spend on them.
  void Charge(std::size_t depth, std::size_t units) {
    if (depth > 0) space_.workLeft -= static_cast<int64_t>(std::min<std::size_t>(units, kInnerWork));
  }
  void KeepLittle();

  TScript& script_;
  CalcLevels& space_;
};

Text TScript::Calc2(TextView expr) { return Evaluation(*this).Run(expr); }

WorkingText& TScript::Evaluation::OwnText(std::size_t depth) {
  while (space_.texts.size() <= depth) space_.texts.push_back(std::make_unique<WorkingText>());
  return *space_.texts[depth];
}

void TScript::Evaluation::Own(std::size_t depth, Text text) {
  Charge(depth, text.size());
  WorkingText& own = OwnText(depth);
  own.Assign(std::move(text));
  At(depth).work = Piece::All(own);
}

Text TScript::Evaluation::Run(TextView expr) {
  if (Contains(expr, u'"')) return Text(expr);
  space_.levels.clear();
  if (!space_.inputLengths.empty()) space_.inputLengths.clear();  // left by an evaluation cut short
  space_.lengthsKept = false;
  space_.workLeft = kInnerWork;
  Text t(expr);
  if (HasNames()) SubstituteNames(t);
  space_.levels.push_back(NewLevel(expr, Piece{}, Stage::Bracket));
  Own(0, std::move(t));
  for (;;) {
    std::size_t depth = space_.levels.size() - 1;
    Next next = Next::GoOn;
    switch (At(depth).stage) {
      case Stage::Names: next = Names(depth); break;
      case Stage::Bracket: next = Bracket(depth); break;
      case Stage::Element: next = Element(depth); break;
      case Stage::Sine: Sine(depth); next = Builtins(depth); break;
      case Stage::Builtins: next = Builtins(depth); break;
    }
    if (next == Next::GoOn) continue;
    if (depth == 0) {
      Text result = next == Next::AsItStands ? Text(At(0).work.view()) : CalcArithmetic(OwnText(0).text());
      KeepLittle();
      return result;
    }
    int32_t value = NumberOf(depth, next);
    Pop();
    At(depth - 1).inner = value;
  }
}

// The start of an inner level: a text with a double quote counts as it stands; names are replaced
// where some may occur. A long piece of a text in which no name occurs holds none either.
TScript::Evaluation::Next TScript::Evaluation::Names(std::size_t depth) {
  Level& level = At(depth);
  if (level.work.Has(Mark::Quote)) return Next::AsItStands;
  level.stage = Stage::Bracket;
  if (!HasNames() || (level.work.size() > kShortPiece && !NamesMayOccur(depth, *level.work.of))) return Next::GoOn;
  Charge(depth, level.work.size());
  Text t(level.work.view());
  if (SubstituteNames(t)) Own(depth, std::move(t));
  return Next::GoOn;
}

// Only the first bracket pair counts: its index text is evaluated inside this level. Without a
// "]" after the "[", the index text runs to the end.
TScript::Evaluation::Next TScript::Evaluation::Bracket(std::size_t depth) {
  Level& level = At(depth);
  std::size_t open = level.work.First(Mark::Open);
  if (open == kNowhere) {
    if (level.work.Has(Mark::Quote)) return Next::AsItStands;
    level.stage = Stage::Builtins;
    level.builtin = 0;
    return Next::GoOn;
  }
  std::size_t close = level.work.First(Mark::Close);
  Piece index{level.work.of, open + 1, close != kNowhere && close > open ? close : level.work.end};
  level.indexText = index;
  level.stage = Stage::Element;
  Nest(depth, index);
  return Next::GoOn;
}

// Every declared array is tested against the index, whether the text names it or not.
TScript::Evaluation::Next TScript::Evaluation::Element(std::size_t depth) {
  int32_t index = At(depth).inner;
  std::optional<Text> indexText;
  for (const Array& array : script_.Arrays) {
    if (!InRange(index, array)) {
      PrintIndexMessage(script_, index, array.name);
      continue;
    }
    Level& level = At(depth);
    if (!HasElements(array) || array.name.size() + level.indexText.size() + 2 > level.work.size()) continue;
    if (!indexText) indexText = Text(level.indexText.view());
    Charge(depth, level.work.size());
    std::optional<Text> replaced =
        Replaced(level.work.view(), array.name + u"[" + *indexText + u"]", ElementText(array, index));
    if (replaced) Own(depth, std::move(*replaced));
  }
  Level& level = At(depth);
  if (level.work.Has(Mark::Quote)) return Next::AsItStands;
  level.stage = Stage::Builtins;
  level.builtin = 0;
  return Next::GoOn;
}

// The built-in functions, each looked for once, in the order of the marks. The argument runs from
// the "(" to the first ")" of the whole text, or on to its end when that ")" stands before.
TScript::Evaluation::Next TScript::Evaluation::Builtins(std::size_t depth) {
  for (;; ++At(depth).builtin) {
    Level& level = At(depth);
    if (level.builtin >= 5) return Next::Computed;
    Mark mark = static_cast<Mark>(static_cast<uint8_t>(Mark::KeyHit) + level.builtin);
    std::size_t name = level.work.First(mark);
    if (name == kNowhere) continue;
    std::size_t close = level.work.First(Mark::Paren);
    level.callStart = static_cast<int64_t>(name - level.work.begin) + 1;
    level.closeParen = close == kNowhere ? 0 : static_cast<int64_t>(close - level.work.begin) + 1;
    int64_t argumentStart = level.callStart + static_cast<int64_t>(MarkName(mark).size());
    Piece argument = level.work.Mid(argumentStart, argumentStart - level.closeParen);
    switch (mark) {
      case Mark::KeyHit: ReplaceCall(depth, IntToText(KeyHitCount(TextToInt(argument.view())))); break;
      case Mark::KeyDown: ReplaceCall(depth, IntToText(KeyIsDown(TextToInt(argument.view())))); break;
      case Mark::Rand: ReplaceCall(depth, IntToText(RandomInt(TextToInt(argument.view()), 1))); break;
      default:  // "sin(" and "cos(" alike: the sine of the evaluated argument in degrees
        level.stage = Stage::Sine;
        Nest(depth, argument);
        return Next::GoOn;
    }
  }
}

void TScript::Evaluation::Sine(std::size_t depth) {
  Level& level = At(depth);
  level.stage = Stage::Builtins;
  ReplaceCall(depth, DoubleToText(std::sin(static_cast<double>(level.inner) * kRadiansPerDegree)));
  ++At(depth).builtin;
}

// The call text runs from the function's name to the first ")"; the whole working text is
// lower-cased as it is replaced. No occurrence of it can start before the name, which is the
// first of its kind, so only the rest after it is searched again.
void TScript::Evaluation::ReplaceCall(std::size_t depth, Text value) {
  Level& level = At(depth);
  TextView w = level.work.view();
  TextView call = MidView(w, level.callStart, level.closeParen - level.callStart + 1);
  Text result;
  if (call.empty()) {
    result = Lowered(w);
  } else {
    std::size_t start = static_cast<std::size_t>(level.callStart - 1);
    TextView rest = w.substr(start + call.size());
    Text loweredRest = Lowered(rest);
    result = Lowered(w.substr(0, start));
    result += value;
    std::optional<Text> replaced;
    if (rest.size() >= call.size()) replaced = Replaced(loweredRest, Lowered(call), value);
    result += replaced ? *replaced : loweredRest;
  }
  Own(depth, std::move(result));
}

// A text met again inside its own evaluation would be evaluated the same way without end: it
// counts as it stands, as does every inner text once the inner levels have used up their work.
void TScript::Evaluation::Nest(std::size_t depth, Piece inner) {
  if (space_.workLeft <= 0 || MetBefore(inner.view())) {
    At(depth).inner = TextToInt(inner.view());
    return;
  }
  Charge(depth + 1, kLevelCost + (inner.size() <= kShortPiece ? inner.size() : 0));
  if (inner.of->TableToMake(inner.size())) Charge(depth + 1, inner.of->text().size());
  if (space_.levels.size() >= kLevelsWalked && !space_.lengthsKept) {
    for (const Level& level : space_.levels) ++space_.inputLengths[level.input.size()];
    space_.lengthsKept = true;
  }
  if (space_.lengthsKept) ++space_.inputLengths[inner.size()];
  space_.levels.push_back(NewLevel(inner.view(), inner, Stage::Names));
}

bool TScript::Evaluation::MetBefore(TextView text) const {
  if (space_.lengthsKept && space_.inputLengths.count(text.size()) == 0) return false;
  return std::any_of(space_.levels.begin(), space_.levels.end(),
                     [&](const Level& level) { return level.input.size() == text.size() && level.input == text; });
}

void TScript::Evaluation::Pop() {
  if (space_.lengthsKept) {
    auto found = space_.inputLengths.find(space_.levels.back().input.size());
    if (--found->second == 0) space_.inputLengths.erase(found);
  }
  space_.levels.pop_back();
}

// An inner level's result is wanted only as a number.
int32_t TScript::Evaluation::NumberOf(std::size_t depth, Next end) {
  const Level& level = At(depth);
  TextView w = level.work.view();
  if (end == Next::AsItStands) return TextToInt(w);
  if (level.work.Has(Mark::Operator)) {
    Charge(depth, w.size());
    return TextToInt(CalcArithmetic(Text(w)));
  }
  return PlainNumber(w);
}

void TScript::Evaluation::KeepLittle() {
  if (space_.texts.size() > kTextsKept) space_.texts.resize(kTextsKept);
  for (auto& text : space_.texts)
    if (text->text().capacity() > kUnitsKept) text->Assign(Text());
  if (space_.levels.capacity() > kLevelsWalked) std::vector<Level>().swap(space_.levels);
  if (space_.lengthsKept) std::unordered_map<std::size_t, std::size_t>().swap(space_.inputLengths);
}

// Every occurrence of every name, in list order; a later name also meets the values put in by
// earlier ones.
bool TScript::Evaluation::SubstituteNames(Text& t) {
  NameIndex& names = script_.Names();
  PresentChars present(t);
  bool changed = SubstituteList(t, script_.IVars, names.ivars, present);
  changed |= SubstituteList(t, script_.FVars, names.fvars, present);
  changed |= SubstituteList(t, script_.SVars, names.svars, present);
  return changed;
}

bool TScript::Evaluation::NamesMayOccur(std::size_t depth, const WorkingText& w) {
  if (w.namesFound < 0) {
    Charge(depth, w.text().size());
    NameIndex& names = script_.Names();
    TextView t(w.text());
    PresentChars present(t);
    bool found = AnyNameIn(t, script_.IVars, names.ivars, present) ||
                 AnyNameIn(t, script_.FVars, names.fvars, present) ||
                 AnyNameIn(t, script_.SVars, names.svars, present);
    const_cast<WorkingText&>(w).namesFound = found ? 1 : 0;
  }
  return w.namesFound == 1;
}

}  // namespace orvelt::zunt
