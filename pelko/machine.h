// The running program: line table, variable list, stacks, comparison result and current row, the
// limits of a run, and the run from the label "main".
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

struct RunLimits {
  // A string cell that would grow beyond this many units ends the run with a fatal message
  // instead of exhausting memory ("add dx, dx" in a loop doubles it each pass).
  std::size_t maxTextUnits = std::size_t{1} << 24;
  // Likewise the value stack, which otherwise grows until memory runs out.
  std::size_t maxStackEntries = std::size_t{1} << 22;
};

// One operand of the row being executed, as the instructions receive it.
struct WorkingOperand {
  const Text* text = nullptr;
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

// A row as the decoded path keeps it: the instruction found once, and for rows whose operands hold
// neither "[" nor "__TIMER__" the prepared operands with everything they name.
struct DecodedRow {
  int16_t instruction = -1;  // index into the instruction table, -1 for none
  bool dynamic = false;      // prepared again at every execution
  bool bracket1 = false, bracket2 = false;
  bool timer1 = false, timer2 = false;
  Shortcut shortcut = Shortcut::None;
  int32_t cell = -1;  // the shortcut's cell
  int32_t value = 0;  // the shortcut's number, or its jump's label row
  WorkingRow work;
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
  NameRef cx, dx, cmd, kbd;
  std::vector<int32_t> singleSlot;  // per cell: its entry in singles (single cells only)
  std::vector<SingleText> singles;
};

struct Machine {
  LineTable rows;
  VariableList variables;
  bool waitFlag = false;
  TickTimer* frameTimer = nullptr;
  RunLimits limits;

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
void InitMachine(Machine& machine, LoadedProgram&& program, TickTimer* frameTimer, const RunLimits& limits);

// Sets the state a run starts from: comparison result 0, draw position (0, 0), and the given start
// row, the label "main" or row 0.
void StartAt(Machine& machine, int32_t mainRow);

// Runs from the label "main" (or row 0) until "end" or a fatal message ends the program, or until
// it runs past its last row: then it returns, and the program ends normally.
void Run(Machine& machine);

}  // namespace orvelt::pelko
