// The levels of one Calc2: the evaluation itself at the bottom, and above it the index and sine
// texts evaluated inside it, each waiting for the one above it. They are kept on the heap, so that
// nesting is bounded by the memory it takes, not by the machine's stack.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "zunt/working_text.h"

namespace orvelt::zunt {

// Where a level goes on: at its start (names); at the bracket; at the array element, once its
// index is known; at the built-in functions; with a sine, once its argument is known.
enum class Stage : uint8_t { Names, Bracket, Element, Builtins, Sine };

struct Level {
  TextView input;        // the text this level evaluates, to notice it again further in
  Piece work;            // its working text: a piece of the text it was cut from, or its own
  Stage stage = Stage::Names;
  uint8_t builtin = 0;   // the function looked for next, or whose argument is being evaluated
  Piece indexText;       // the index text, while it is evaluated
  int64_t callStart = 0;   // where the function's name stands in the working text (1-based)
  int64_t closeParen = 0;  // where its first ")" stands, 0 if nowhere
  int32_t inner = 0;     // the integer value of the text evaluated inside this level
};

class CalcLevels {
 public:
  CalcLevels() = default;
  // A copied script starts with levels of its own.
  CalcLevels(const CalcLevels&) {}
  CalcLevels& operator=(const CalcLevels&) { return *this; }

  std::vector<Level> levels;
  std::vector<std::unique_ptr<WorkingText>> texts;  // the own working text of the level at each depth
  // How many levels evaluate a text of each length; kept once the nesting is deep.
  std::unordered_map<std::size_t, std::size_t> inputLengths;
  bool lengthsKept = false;
  int64_t workLeft = 0;  // what the inner levels of this evaluation may still cost

};

}  // namespace orvelt::zunt
