// The running program: line table, variable list, stacks, comparison result and current row, the
// rows as decoded once, and the run from the label "main".
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pelko/instruction_list.h"
#include "pelko/loader.h"
#include "pelko/name_index.h"
#include "pelko/symbols.h"
#include "runtime/clock.h"

namespace orvelt::pelko {

constexpr int32_t kReturnStackSize = 400;

// One operand of the row being executed, as the instructions receive it.
struct WorkingOperand {
  std::u16string_view text;
  bool hasQuote = false;
  NameRef names;  // what the text names (decoded rows only)
  // When numbers is true (rows decoded once), TextToInt and TextToFloat of the text.
  bool numbers = false;
  int32_t asInt = 0;
  float asFloat = 0.0f;
};

struct WorkingRow {
  WorkingOperand op1, op2;
  Condition condition = Condition::None;  // of a jump or call, from the instruction list
  int32_t target = kLabelUnresolved;      // decoded label row of operand 1
};

// The commonest rows in a form that the loop runs without calling a handler; each does exactly
// what the instruction's handler would do for that row.
enum class Shortcut : uint8_t {
  None,
  IncInt,         // "inc" of a name that only one int cell bears
  DecInt,         // "dec" likewise
  CmpIntLiteral,  // "cmp" of such an int cell, whose value text names no later cell, with a number
  // "jmp" and the conditional jumps to a label row: JumpAlways, JumpZero ..., in the order of the
  // conditions.
#define PELKO_JUMP_SHORTCUT(condition, holds) Jump##condition,
  PELKO_CONDITIONS(PELKO_JUMP_SHORTCUT)
#undef PELKO_JUMP_SHORTCUT
};

// The shortcut of a jump by the condition it tests.
constexpr Shortcut JumpShortcut(Condition condition) {
  return static_cast<Shortcut>(static_cast<uint8_t>(Shortcut::JumpAlways) + static_cast<uint8_t>(condition) -
                               static_cast<uint8_t>(Condition::Always));
}
static_assert(JumpShortcut(Condition::NotNegative) == Shortcut::JumpNotNegative);

// An operand as decoded once: what its text names and its numbers, or, for an operand of the form
// NAME[INDEX] whose index cell is known, the entry in Decoded::indexed that finds its element.
struct DecodedOperand {
  int32_t entry = -1;  // the name index entry of its text, or the entry in Decoded::indexed
  int32_t asInt = 0;
  float asFloat = 0.0f;
  bool hasQuote = false;
  bool indexed = false;
  bool bracket = false;  // a "[" in the text (Literal rows)
  bool timer = false;    // a "__TIMER__" in the text (Literal rows)
};

// How a row's operands are prepared at each execution.
enum class Preparing : uint8_t {
  Decoded,  // not at all: the operands as decoded
  Indexed,  // an element found from its index cell's value, the other operand as decoded
  Literal,  // index and timer substitution of the texts, then a lookup by name
};

// A row as the decoded path keeps it: the instruction found once, its operands, and the shortcut
// the loop runs it by.
struct DecodedRow {
  int16_t instruction = -1;  // index into the instruction table, -1 for none
  Preparing preparing = Preparing::Decoded;
  Shortcut shortcut = Shortcut::None;
  int32_t cell = -1;  // the shortcut's cell
  int32_t value = kLabelUnresolved;  // the shortcut's number, or the label row of a jump or call
  DecodedOperand op1, op2;
};

// An operand NAME[INDEX] whose index substitution always puts the index cell's value between the
// brackets: the cells named NAME[k] are those of the arrays declared as NAME.
struct IndexedOperand {
  int32_t indexCell;
  std::u16string_view base;  // NAME, with its "["
  std::vector<ArrayCells> arrays;  // the declarations of NAME, in list order
};

// A single cell's value text with its numbers, kept until the cell's bits change.
struct SingleText {
  bool valid = false;
  uint32_t bits = 0;
  Text text;
  int32_t asInt = 0;
  float asFloat = 0.0f;
};

struct Decoded {
  NameIndex names;
  LabelIndex labels;
  std::vector<DecodedRow> rows;
  std::vector<IndexedOperand> indexed;
  NameRef cx, dx, cmd, kbd;
  std::vector<int32_t> singleSlot;  // per cell: its entry in singles (single cells only)
  std::vector<SingleText> singles;
};

struct Machine {
  LineTable rows;
  VariableList variables;
  ArrayList arrays;
  bool waitFlag = false;
  TickTimer* frameTimer = nullptr;

  std::vector<TStack> valueStack;
  std::array<int32_t, kReturnStackSize> returnStack{};
  int32_t returnDepth = -1;
  int32_t current = 0;
  int32_t compare = 0;
  int32_t drawX = 0, drawY = 0;
  Text lastInput;

  Decoded decoded;
  // Storage for the row being executed: its prepared operands and the texts its lookups produce.
  Text prepared1, prepared2;
  WorkingRow working;
  Text scratch1, scratch2;
};

// Takes over a loaded program (after the predefined symbols) and builds the decoded tables.
void InitMachine(Machine& machine, LoadedProgram&& program, TickTimer* frameTimer);

// Sets the state a run starts from: comparison result 0, draw position (0, 0), and the given start
// row, the label "main" or row 0.
void StartAt(Machine& machine, int32_t mainRow);

// Runs from the label "main" (or row 0) until "end" or a fatal message ends the program, or until
// it runs past its last row: then it returns, and the program ends normally. Memory that runs out
// ends the run with the out-of-memory message at the current row.
void Run(Machine& machine);

}  // namespace orvelt::pelko
