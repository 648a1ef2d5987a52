// The variable list: the cells of a running program (registers first, then declarations in source
// order), the entries of the value stack, and the declarations that fill the list at load time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/text.h"

namespace orvelt::pelko {

// Type codes of a cell; a cell's type never changes after it is made.
enum : uint8_t { kTypInt = 1, kTypString = 2, kTypSingle = 3 };

struct TVariable {
  Text name;
  int32_t wert1 = 0;
  Text wert2;
  float wert3 = 0.0f;
  uint8_t typ = 0;
};

struct TStack {
  Text data;
};

// Cells are only appended, never removed or reordered; names may repeat. Cells are numbered by
// 32-bit integers: a list that would pass that is memory that cannot be had.
using VariableList = std::vector<TVariable>;

// The cells of one array declaration: base[0], base[1] ... base[count - 1], one after another
// from the first. Every cell whose name holds a "[" is one of them.
struct ArrayCells {
  int32_t first;
  int32_t count;
};
using ArrayList = std::vector<ArrayCells>;

// Appends "ax", "bx", "cx", "dx", "cmd" and "kbd" in this order.
void CreateRegisters(VariableList& variables);

// Declares from a row of the line table (name, type word, initial-value text); an array's cells
// are also noted in arrays. Throws std::length_error when the cells cannot be numbered.
void DeclareFromRow(VariableList& variables, ArrayList& arrays, const Text& name, const Text& typeWord,
                    const Text& value);

// What a cell reads as wherever its value is used as text.
Text ValueText(const TVariable& cell);

}  // namespace orvelt::pelko
