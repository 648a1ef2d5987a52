// The registers, the declarations of the ".data" section and the value text of a cell.
#include "pelko/symbols.h"

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

bool Fits(const VariableList& variables, int64_t more, std::size_t maxCells) {
  return more <= static_cast<int64_t>(maxCells) - static_cast<int64_t>(variables.size());
}

bool DeclareArray(VariableList& variables, const Text& declared, const TVariable& prototype,
                  std::size_t maxCells) {
  int open = FindText(declared, u"[");
  int close = FindText(declared, u"]");
  int32_t largest = TextToInt(MidText(declared, open + 1, close - open - 1));
  if (largest < 0) return true;
  if (!Fits(variables, static_cast<int64_t>(largest) + 1, maxCells)) return false;
  Text base = LeftText(declared, open - 1);
  for (int64_t j = 0; j <= largest; ++j) {
    TVariable cell = prototype;
    cell.name = base;
    cell.name += u'[';
    cell.name += IntToText(static_cast<int32_t>(j));
    cell.name += u']';
    variables.push_back(std::move(cell));
  }
  return true;
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

bool DeclareFromRow(VariableList& variables, const Text& name, const Text& typeWord, const Text& value,
                    std::size_t maxCells) {
  uint8_t typ = TypOfWord(typeWord);
  if (typ == 0) return true;
  TVariable prototype = PrototypeCell(typ, value);
  if (FindText(name, u"[") > 0) return DeclareArray(variables, name, prototype, maxCells);
  if (!Fits(variables, 1, maxCells)) return false;
  prototype.name = name;
  variables.push_back(std::move(prototype));
  return true;
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
