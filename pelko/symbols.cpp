// The registers, the declarations of the ".data" section and the value text of a cell.
#include "pelko/symbols.h"

#include <algorithm>
#include <stdexcept>

namespace orvelt::pelko {
namespace {

struct RegisterSlot {
  const char* name;
  uint8_t typ;
};

// The order matters: "rnd" writes the first cell, and every lookup meets the registers first.
constexpr RegisterSlot kRegisters[] = {
    {"ax", kTypSingle}, {"bx", kTypSingle}, {"cx", kTypInt},
    {"dx", kTypString}, {"cmd", kTypString}, {"kbd", kTypInt},
};

struct TypeWord {
  const char* word;
  uint8_t typ;
};

constexpr TypeWord kTypeWords[] = {{"int", kTypInt}, {"string", kTypString}, {"single", kTypSingle}};

uint8_t TypOfWord(const Text& word) {
  for (const TypeWord& entry : kTypeWords)
    if (word == TextFromLatin1(entry.word)) return entry.typ;
  return 0;
}

// Every element of an array gets the same converted value, so one prototype cell serves them all.
TVariable PrototypeCell(uint8_t typ, const Text& value) {
  TVariable cell;
  cell.typ = typ;
  if (typ == kTypInt) cell.wert1 = TextToInt(value);
  if (typ == kTypString) cell.wert2 = ReplaceText(value, u"\"", u"");
  if (typ == kTypSingle) cell.wert3 = TextToFloat(value);
  return cell;
}

// Room grows by half at least, so that many small declarations cost no more than one large one.
void MakeRoomFor(VariableList& variables, int64_t more) {
  if (more > INT32_MAX - static_cast<int64_t>(variables.size())) throw std::length_error("cells");
  std::size_t needed = variables.size() + static_cast<std::size_t>(more);
  if (needed > variables.capacity()) variables.reserve(std::max(needed, variables.capacity() + variables.capacity() / 2));
}

// The text between the first "[" and the first "]" when that comes after it; otherwise the rest.
std::u16string_view LargestIndexText(std::u16string_view declared, std::size_t open) {
  std::size_t close = declared.find(u']');
  if (close != Text::npos && close > open) return declared.substr(open + 1, close - open - 1);
  return declared.substr(open + 1);
}

// The element names are made in one buffer whose tail is rewritten for each index.
void DeclareArray(VariableList& variables, ArrayList& arrays, const Text& declared, const TVariable& prototype) {
  const std::size_t open = declared.find(u'[');
  int32_t largest = TextToInt(LargestIndexText(declared, open));
  if (largest < 0) return;
  const int64_t count = static_cast<int64_t>(largest) + 1;
  MakeRoomFor(variables, count);
  arrays.push_back({static_cast<int32_t>(variables.size()), static_cast<int32_t>(count)});
  Text name = declared.substr(0, open + 1);
  const std::size_t base = name.size();
  for (int64_t j = 0; j < count; ++j) {
    name.resize(base);
    name += IntToText(static_cast<int32_t>(j));
    name += u']';
    variables.push_back(prototype);
    variables.back().name = name;
  }
}

}  // namespace

void CreateRegisters(VariableList& variables) {
  for (const RegisterSlot& reg : kRegisters) {
    TVariable cell;
    cell.name = TextFromLatin1(reg.name);
    cell.typ = reg.typ;
    variables.push_back(std::move(cell));
  }
}

void DeclareFromRow(VariableList& variables, ArrayList& arrays, const Text& name, const Text& typeWord,
                    const Text& value) {
  uint8_t typ = TypOfWord(typeWord);
  if (typ == 0) return;
  TVariable prototype = PrototypeCell(typ, value);
  if (name.find(u'[') != Text::npos) return DeclareArray(variables, arrays, name, prototype);
  MakeRoomFor(variables, 1);
  prototype.name = name;
  variables.push_back(std::move(prototype));
}

Text ValueText(const TVariable& cell) {
  switch (cell.typ) {
    case kTypInt:
      return IntToText(cell.wert1);
    case kTypString:
      return cell.wert2;
    case kTypSingle:
      return FloatToText(cell.wert3);
    default:
      return Text();
  }
}

}  // namespace orvelt::pelko
