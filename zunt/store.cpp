// Declarations, assignments and label lookup, walking the script's lists in their order.
#include "zunt/store.h"

#include "runtime/console.h"
#include "zunt/trace.h"

namespace orvelt::zunt {
namespace {

int64_t Length(TextView s) { return static_cast<int64_t>(s.size()); }

Text Without(TextView s, char16_t c) {
  Text result;
  result.reserve(s.size());
  for (char16_t unit : s)
    if (unit != c) result.push_back(unit);
  return result;
}

// The size between the brackets is read as written, not evaluated.
void DeclareArray(TScript& script, TextView line, ElementType type, Text name) {
  int64_t b1 = FindUnit(line, u'[');
  int64_t b2 = FindUnit(line, u']');
  Array array;
  array.name = std::move(name);
  array.typ = type;
  array.amount = TextToInt(MidView(line, b1 + 1, b2 - b1 - 1));
  switch (type) {
    case ElementType::Integer: array.iarray = Elements<int32_t>(array.amount); break;
    case ElementType::Float: array.farray = Elements<float>(array.amount); break;
    case ElementType::String: array.sarray = Elements<Text>(array.amount); break;
    case ElementType::None: break;
  }
  script.Arrays.push_back(std::move(array));
}

// The character right after the "=" is skipped: "x=7" assigns what follows "7", nothing.
TextView RightOfEquals(TextView line, int64_t eq) { return RightView(line, Length(line) - eq - 1); }

// From the first double quote to the end, both quotes kept.
TextView FromFirstQuote(TextView line, int64_t q) { return RightView(line, Length(line) - q + 1); }

void StoreElement(TScript& script, Array& array, int32_t index, TextView line, int64_t eq, int64_t q) {
  switch (array.typ) {
    case ElementType::Integer: array.iarray.Set(index, TextToInt(script.Calc2(RightOfEquals(line, eq)))); break;
    case ElementType::Float: array.farray.Set(index, TextToFloat(script.Calc2(RightOfEquals(line, eq)))); break;
    case ElementType::String: array.sarray.Set(index, Text(FromFirstQuote(line, q))); break;
    case ElementType::None: break;
  }
  if (script.trace) script.trace->Set(array, index);
}

// The records whose names may start the line, in list order: every record when the list is short,
// else those the name index files under the line's first character.
template <typename Records, typename Visit>
void ForEachMatch(Records& records, const NameBuckets& buckets, TextView line, Visit visit) {
  auto visitIfMatching = [&](std::size_t number) {
    if (StartsWithName(line, NameOf(records[number]))) visit(records[number]);
  };
  if (records.size() < kIndexedListSize) {
    for (std::size_t number = 0; number < records.size(); ++number) visitIfMatching(number);
  } else {
    ForEachLineCandidate(buckets, line, visitIfMatching);
  }
}

}  // namespace

void PrintIndexMessage(const TScript& script, int32_t index, const Text& arrayName) {
  if (script.trace) script.trace->Flush();
  PrintLine(u"Auf das Feld " + IntToText(index) + u" im Array <" + arrayName +
            u"> kann nicht zugegriffen werden!");
}

bool StartsWithName(TextView line, const Text& name) {
  if (name.size() > line.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (LowerUnit(line[i]) != LowerUnit(name[i])) return false;
  return true;
}

Declaration DeclarationName(TextView line, ElementType type) {
  int64_t s1 = FindUnit(line, u' ');
  int64_t s2 = FindUnit(line, u' ', s1 + 1);
  if (LowerText(Text(MidView(line, s1 + 1, s2 - s1 - 1))) == u"dim")
    return {Without(MidView(line, s2 + 1, FindUnit(line, u'[') - s2 - 1), u' '), true};
  if (type == ElementType::Integer || type == ElementType::Float)
    return {Without(MidView(line, s1 + 1, FindUnit(line, u'=') - s1 - 1), u' '), false};
  return {Without(Without(MidView(line, s1 + 1, FindUnit(line, u'"') - s1 - 1), u' '), u'='), false};
}

void DeclareFromLine(TScript& script, TextView line, ElementType type) {
  int64_t len = Length(line);
  Declaration declared = DeclarationName(line, type);
  if (declared.array) {
    DeclareArray(script, line, type, std::move(declared.name));
    return;
  }
  if (type == ElementType::Integer || type == ElementType::Float) {
    TextView initial = RightView(line, len - FindUnit(line, u'='));
    if (type == ElementType::Integer) {
      int32_t value = TextToInt(script.Calc2(initial));
      script.IVars.push_back(IVar{std::move(declared.name), value});
      if (script.trace) script.trace->Set(script.IVars.back());
    } else {
      float value = TextToFloat(script.Calc2(TrimView(initial)));
      script.FVars.push_back(FVar{std::move(declared.name), value});
      if (script.trace) script.trace->Set(script.FVars.back());
    }
    return;
  }
  // The opening quote is not kept; a closing one, if written, is.
  script.SVars.push_back(SVar{std::move(declared.name), Text(RightView(line, len - FindUnit(line, u'"')))});
  if (script.trace) script.trace->Set(script.SVars.back());
}

// Every record whose name starts the line is assigned: the walk never stops at the first.
bool AssignFromLine(TScript& script, TextView line) {
  bool assigned = false;
  int64_t eq = FindUnit(line, u'=');
  int64_t q = FindUnit(line, u'"');
  NameIndex& names = script.Names();
  ForEachMatch(script.IVars, names.ivars, line, [&](IVar& v) {
    if (eq == 0) return;
    v.value = TextToInt(script.Calc2(RightOfEquals(line, eq)));
    assigned = true;
    if (script.trace) script.trace->Set(v);
  });
  ForEachMatch(script.FVars, names.fvars, line, [&](FVar& v) {
    if (eq == 0) return;
    v.Value = TextToFloat(script.Calc2(RightOfEquals(line, eq)));
    assigned = true;
    if (script.trace) script.trace->Set(v);
  });
  ForEachMatch(script.SVars, names.svars, line, [&](SVar& v) {
    if (q == 0) return;
    v.value = Text(FromFirstQuote(line, q));
    assigned = true;
    if (script.trace) script.trace->Set(v);
  });
  ForEachMatch(script.Arrays, names.arrays, line, [&](Array& array) {
    int64_t b1 = FindUnit(line, u'[');
    int64_t b2 = FindUnit(line, u']');
    int32_t index = TextToInt(script.Calc2(MidView(line, b1 + 1, b2 - b1 - 1)));
    if (index < 0 || int64_t{index} > int64_t{array.amount} - 1) {
      PrintIndexMessage(script, index, array.name);
      assigned = true;
      return;
    }
    if (eq == 0) return;
    StoreElement(script, array, index, line, eq, q);
    assigned = true;
  });
  return assigned;
}

// The last matching label wins.
std::optional<int32_t> FindLabelLine(const TScript& script, TextView target) {
  std::optional<int32_t> found;
  for (const TGoto& label : script.TGotos)
    if (TextView(label.name) == target) found = label.line;
  return found;
}

}  // namespace orvelt::zunt
