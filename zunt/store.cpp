// Declarations, assignments and label lookup, walking the script's lists in their order.
#include "zunt/store.h"

#include "runtime/console.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {
namespace {

constexpr char16_t LowerUnit(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

int Length(const Text& s) { return static_cast<int>(s.size()); }

Text WithoutBlanks(const Text& s) { return ReplaceText(s, u" ", u""); }

void PrintIndexMessage(int32_t index, const Text& name) {
  PrintLine(u"Auf das Feld " + IntToText(index) + u" im Array <" + name + u"> kann nicht zugegriffen werden!");
}

// The size between the brackets is read as written, not evaluated.
void DeclareArray(TScript& script, const Text& line, int typ, Text name) {
  int b1 = FindText(line, u"[");
  int b2 = FindText(line, u"]");
  Array array;
  array.name = std::move(name);
  array.typ = static_cast<uint8_t>(typ);
  array.amount = TextToInt(MidText(line, b1 + 1, b2 - b1 - 1));
  if (typ == 1) array.iarray = Elements<int32_t>(array.amount);
  if (typ == 2) array.farray = Elements<float>(array.amount);
  if (typ == 3) array.sarray = Elements<Text>(array.amount);
  script.Arrays.push_back(std::move(array));
}

// The character right after the "=" is skipped: "x=7" assigns what follows "7", nothing.
Text RightOfEquals(const Text& line, int eq) { return RightText(line, Length(line) - eq - 1); }

// From the first double quote to the end, both quotes kept.
Text FromFirstQuote(const Text& line, int q) { return RightText(line, Length(line) - q + 1); }

void StoreElement(TScript& script, Array& array, int32_t index, const Text& line, int eq, int q) {
  switch (array.typ) {
    case 1: array.iarray.Set(index, TextToInt(script.Calc2(RightOfEquals(line, eq)))); break;
    case 2: array.farray.Set(index, TextToFloat(script.Calc2(RightOfEquals(line, eq)))); break;
    case 3: array.sarray.Set(index, FromFirstQuote(line, q)); break;
    default: break;
  }
}

}  // namespace

bool StartsWithName(const Text& line, const Text& name) {
  if (name.size() > line.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (LowerUnit(line[i]) != LowerUnit(name[i])) return false;
  return true;
}

Declaration DeclarationName(const Text& line, int typ) {
  int s1 = FindText(line, u" ");
  int s2 = FindText(line, u" ", s1 + 1);
  if (LowerText(MidText(line, s1 + 1, s2 - s1 - 1)) == u"dim")
    return {WithoutBlanks(MidText(line, s2 + 1, FindText(line, u"[") - s2 - 1)), true};
  if (typ == 1 || typ == 2) return {WithoutBlanks(MidText(line, s1 + 1, FindText(line, u"=") - s1 - 1)), false};
  int q = FindText(line, u"\"");
  return {ReplaceText(WithoutBlanks(MidText(line, s1 + 1, q - s1 - 1)), u"=", u""), false};
}

void DeclareFromLine(TScript& script, const Text& line, int typ) {
  int len = Length(line);
  Declaration declared = DeclarationName(line, typ);
  if (declared.array) {
    DeclareArray(script, line, typ, std::move(declared.name));
    return;
  }
  if (typ == 1 || typ == 2) {
    Text initial = RightText(line, len - FindText(line, u"="));
    if (typ == 1) {
      int32_t value = TextToInt(script.Calc2(initial));
      script.IVars.push_back(IVar{std::move(declared.name), value});
    } else {
      float value = TextToFloat(script.Calc2(TrimText(initial)));
      script.FVars.push_back(FVar{std::move(declared.name), value});
    }
    return;
  }
  // The opening quote is not kept; a closing one, if written, is.
  script.SVars.push_back(SVar{std::move(declared.name), RightText(line, len - FindText(line, u"\""))});
}

// The records whose names may start the line, in list order: every record when the list is short
// or the walk is asked for whole, else those the name index files under the line's first character.
template <typename Records, typename Visit>
void ForEachMatch(TScript& script, Records& records, const NameBuckets& buckets, const Text& line, Visit visit) {
  auto visitIfMatching = [&](std::size_t number) {
    if (StartsWithName(line, NameOf(records[number]))) visit(records[number]);
  };
  if (script.limits.literalWalks || records.size() < kIndexedListSize) {
    for (std::size_t number = 0; number < records.size(); ++number) visitIfMatching(number);
  } else {
    ForEachLineCandidate(buckets, line, visitIfMatching);
  }
}

// Every record whose name starts the line is assigned: the walk never stops at the first.
bool AssignFromLine(TScript& script, const Text& line) {
  bool assigned = false;
  int eq = FindText(line, u"=");
  int q = FindText(line, u"\"");
  NameIndex& names = script.Names();
  ForEachMatch(script, script.IVars, names.ivars, line, [&](IVar& v) {
    if (eq == 0) return;
    v.value = TextToInt(script.Calc2(RightOfEquals(line, eq)));
    assigned = true;
  });
  ForEachMatch(script, script.FVars, names.fvars, line, [&](FVar& v) {
    if (eq == 0) return;
    v.Value = TextToFloat(script.Calc2(RightOfEquals(line, eq)));
    assigned = true;
  });
  ForEachMatch(script, script.SVars, names.svars, line, [&](SVar& v) {
    if (q == 0) return;
    v.value = FromFirstQuote(line, q);
    assigned = true;
  });
  ForEachMatch(script, script.Arrays, names.arrays, line, [&](Array& array) {
    int b1 = FindText(line, u"[");
    int b2 = FindText(line, u"]");
    int32_t index = TextToInt(script.Calc2(MidText(line, b1 + 1, b2 - b1 - 1)));
    if (index < 0 || int64_t{index} > int64_t{array.amount} - 1) {
      PrintIndexMessage(index, array.name);
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
std::optional<int32_t> FindLabelLine(const TScript& script, const Text& target) {
  std::optional<int32_t> found;
  for (const TGoto& label : script.TGotos)
    if (CompareText(label.name, target) == 0) found = label.line;
  return found;
}

}  // namespace orvelt::zunt
