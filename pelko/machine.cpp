// The execution loop: the instruction table in dispatch order, the start from "main", and the two
// ways of running rows - the literal preparation and dispatch, and the decoded rows.
#include "pelko/machine.h"

#include "pelko/decode.h"
#include "pelko/instructions.h"
#include "pelko/operands.h"
#include "runtime/process.h"
#include "runtime/wrapping.h"

namespace orvelt::pelko {

// Dispatch compares a row's mnemonic with these names in this order; the first that matches runs.
const Instruction kInstructions[] = {
    {u"mov", RunMov, "copy the source value into every destination cell"},
    {u"app", RunApp, "set the application title used by the next window"},
    {u"add", RunAdd, "add; a string destination appends the source"},
    {u"sub", RunSub, "subtract"},
    {u"mul", RunMul, "multiply in single precision"},
    {u"div", RunDiv, "divide"},
    {u"cos", RunCos, "cosine in degrees of the first single cell of that name"},
    {u"sin", RunSin, "sine in degrees of the first single cell of that name"},
    {u"inc", RunInc, "add 1"},
    {u"dec", RunDec, "subtract 1"},
    {u"ce", RunCe, "call when S = 0"},
    {u"cz", RunCe, "call when S = 0"},
    {u"cne", RunCne, "call when S differs from 0"},
    {u"cnz", RunCne, "call when S differs from 0"},
    {u"cg", RunCg, "call when S < 0"},
    {u"cge", RunCge, "call when S <= 0"},
    {u"cl", RunCl, "call when S > 0"},
    {u"cle", RunCle, "call when S >= 0"},
    {u"jmp", RunJmp, "jump"},
    {u"jz", RunJz, "jump when S = 0"},
    {u"je", RunJz, "jump when S = 0"},
    {u"jnz", RunJnz, "jump when S differs from 0"},
    {u"jne", RunJnz, "jump when S differs from 0"},
    {u"jl", RunJl, "jump when S > 0"},
    {u"jle", RunJle, "jump when S >= 0"},
    {u"jg", RunJg, "jump when S < 0"},
    {u"jge", RunJge, "jump when S <= 0"},
    {u"neg", RunNeg, "change the sign"},
    {u"not", RunNot, "1 when zero, else 0"},
    {u"jcxz", RunJcxz, "jump when the register cx holds 0"},
    {u"and", RunAnd, "logical and"},
    {u"or", RunOr, "logical or"},
    {u"xor", RunXor, "logical exclusive or"},
    {u"gfx", RunGfx, "open the graphics window"},
    {u"org", RunOrg, "set the draw position"},
    {u"cls", RunCls, "clear the canvas"},
    {u"flip", RunFlip, "show the canvas"},
    {u"wait", RunWait, "wait until the frame timer has ticked"},
    {u"dot", RunDot, "plot a point"},
    {u"rect", RunRect, "filled rectangle at the draw position"},
    {u"oval", RunOval, "filled oval at the draw position"},
    {u"text", RunText, "draw text at the draw position"},
    {u"rnd", RunRnd, "random integer between the two bounds into ax"},
    {u"cmp", RunCmp, "set the comparison result S"},
    {u"call", RunCall, "call"},
    {u"ret", RunRet, "return to the row after the last call"},
    {u"int", RunInt, "console and keyboard services"},
    {u"push", RunPush, "push onto the value stack"},
    {u"pop", RunPop, "pop from the value stack"},
    {u"end", RunEnd, "end the program"},
};

const int kInstructionCount = static_cast<int>(sizeof kInstructions / sizeof kInstructions[0]);

int FindInstruction(const Text& mnemonic) {
  for (int i = 0; i < kInstructionCount; ++i)
    if (mnemonic == kInstructions[i].mnemonic) return i;
  return -1;
}

int32_t ScanLabel(const LineTable& rows, const Text& name) {
  Text label = name + u":";
  for (std::size_t r = 0; r < rows.size(); ++r)
    if (rows[r][0] == label) return static_cast<int32_t>(r);
  return name == u"main" ? kLabelDefault : kLabelMissing;
}

void InitMachine(Machine& machine, LoadedProgram&& program, TickTimer* frameTimer, const RunOptions& options) {
  machine.rows = std::move(program.rows);
  machine.variables = std::move(program.variables);
  machine.waitFlag = program.waitFlag;
  machine.frameTimer = frameTimer;
  machine.options = options;
  if (!options.literalWalks) DecodeRows(machine);
}

namespace {

// Prepares a row by the reference rules: copies of the columns, index substitution of operand 1
// then 2, then "__TIMER__" in operand 1 then 2, each with its own clock reading.
const WorkingRow& PrepareLiteralRow(Machine& machine, int32_t row) {
  const Row& columns = machine.rows[static_cast<std::size_t>(row)];
  machine.prepared1 = SubstituteIndexes(machine.variables, columns[1]);
  machine.prepared2 = SubstituteIndexes(machine.variables, columns[2]);
  machine.prepared1 = SubstituteTimer(std::move(machine.prepared1));
  machine.prepared2 = SubstituteTimer(std::move(machine.prepared2));
  machine.working = WorkingRow();
  machine.working.op1.text = &machine.prepared1;
  machine.working.op2.text = &machine.prepared2;
  return machine.working;
}

int32_t StartRow(Machine& machine) {
  int32_t start = machine.options.literalWalks ? ScanLabel(machine.rows, u"main") : machine.decoded.labels.Target(u"main");
  return start < 0 ? 0 : start;
}

uint64_t Budget(const RunOptions& options) { return options.rowBudget == 0 ? UINT64_MAX : options.rowBudget; }

bool RunLiteral(Machine& machine) {
  const int32_t count = static_cast<int32_t>(machine.rows.size());
  for (uint64_t left = Budget(machine.options); machine.current < count; ++machine.current) {
    if (left-- == 0) return false;
    const WorkingRow& working = PrepareLiteralRow(machine, machine.current);
    int instruction = FindInstruction(machine.rows[static_cast<std::size_t>(machine.current)][0]);
    if (instruction >= 0) kInstructions[instruction].run(machine, working);
  }
  return true;
}

// Rows without an instruction are still prepared when they read the clock, as the literal loop
// prepares every row.
void RunDecodedRow(Machine& machine, const DecodedRow& row) {
  if (row.dynamic) {
    const WorkingRow& working = PrepareDynamicRow(machine, machine.current);
    if (row.instruction >= 0) kInstructions[row.instruction].run(machine, working);
  } else if (row.instruction >= 0) {
    kInstructions[row.instruction].run(machine, row.work);
  }
}

bool RunDecoded(Machine& machine) {
  const int32_t count = static_cast<int32_t>(machine.rows.size());
  const DecodedRow* rows = machine.decoded.rows.data();
  // No cell is added or removed while the program runs.
  TVariable* cells = machine.variables.data();
  for (uint64_t left = Budget(machine.options); machine.current < count; ++machine.current) {
    if (left-- == 0) return false;
    const DecodedRow& row = rows[machine.current];
    const int32_t s = machine.compare;
    switch (row.shortcut) {
      case Shortcut::None:
        RunDecodedRow(machine, row);
        break;
      case Shortcut::IncInt:
        cells[row.cell].wert1 = WrappingAdd(cells[row.cell].wert1, 1);
        break;
      case Shortcut::DecInt:
        cells[row.cell].wert1 = WrappingAdd(cells[row.cell].wert1, -1);
        break;
      case Shortcut::CmpIntLiteral:
        machine.compare = WrappingSubtract(cells[row.cell].wert1, row.value);
        break;
      case Shortcut::JumpAlways:
        machine.current = row.value;
        break;
      case Shortcut::JumpZero:
        if (s == 0) machine.current = row.value;
        break;
      case Shortcut::JumpNonZero:
        if (s != 0) machine.current = row.value;
        break;
      case Shortcut::JumpNegative:
        if (s < 0) machine.current = row.value;
        break;
      case Shortcut::JumpNotPositive:
        if (s <= 0) machine.current = row.value;
        break;
      case Shortcut::JumpPositive:
        if (s > 0) machine.current = row.value;
        break;
      case Shortcut::JumpNotNegative:
        if (s >= 0) machine.current = row.value;
        break;
    }
  }
  return true;
}

}  // namespace

void Run(Machine& machine) {
  machine.compare = 0;
  machine.current = StartRow(machine);
  machine.drawX = 0;
  machine.drawY = 0;
  bool ended = machine.options.literalWalks ? RunLiteral(machine) : RunDecoded(machine);
  if (ended) EndProgram();
}

}  // namespace orvelt::pelko
