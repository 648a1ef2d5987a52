// The instruction set: one table of mnemonic, handler and effect, in dispatch order, and the
// handlers it names (flow in instructions_flow.cpp, data in instructions_data.cpp, the outside
// world in instructions_io.cpp).
#pragma once
#include "pelko/machine.h"

namespace orvelt::pelko {

using Handler = void (*)(Machine& machine, const WorkingRow& row);

struct Instruction {
  const char16_t* mnemonic;
  Handler run;
  const char* effect;
};

extern const Instruction kInstructions[];
extern const int kInstructionCount;

// The first table entry whose mnemonic equals the text exactly, or -1.
int FindInstruction(const Text& mnemonic);

void RunMov(Machine&, const WorkingRow&);
void RunApp(Machine&, const WorkingRow&);
void RunAdd(Machine&, const WorkingRow&);
void RunSub(Machine&, const WorkingRow&);
void RunMul(Machine&, const WorkingRow&);
void RunDiv(Machine&, const WorkingRow&);
void RunCos(Machine&, const WorkingRow&);
void RunSin(Machine&, const WorkingRow&);
void RunInc(Machine&, const WorkingRow&);
void RunDec(Machine&, const WorkingRow&);
void RunNeg(Machine&, const WorkingRow&);
void RunNot(Machine&, const WorkingRow&);
void RunAnd(Machine&, const WorkingRow&);
void RunOr(Machine&, const WorkingRow&);
void RunXor(Machine&, const WorkingRow&);
void RunRnd(Machine&, const WorkingRow&);

// Calls and jumps by the comparison result S; the names are those of the first mnemonic of each.
void RunCe(Machine&, const WorkingRow&);
void RunCne(Machine&, const WorkingRow&);
void RunCg(Machine&, const WorkingRow&);
void RunCge(Machine&, const WorkingRow&);
void RunCl(Machine&, const WorkingRow&);
void RunCle(Machine&, const WorkingRow&);
void RunCall(Machine&, const WorkingRow&);
void RunJmp(Machine&, const WorkingRow&);
void RunJz(Machine&, const WorkingRow&);
void RunJnz(Machine&, const WorkingRow&);
void RunJl(Machine&, const WorkingRow&);
void RunJle(Machine&, const WorkingRow&);
void RunJg(Machine&, const WorkingRow&);
void RunJge(Machine&, const WorkingRow&);
void RunJcxz(Machine&, const WorkingRow&);
void RunCmp(Machine&, const WorkingRow&);
void RunRet(Machine&, const WorkingRow&);
void RunPush(Machine&, const WorkingRow&);
void RunPop(Machine&, const WorkingRow&);
void RunEnd(Machine&, const WorkingRow&);

void RunGfx(Machine&, const WorkingRow&);
void RunOrg(Machine&, const WorkingRow&);
void RunCls(Machine&, const WorkingRow&);
void RunFlip(Machine&, const WorkingRow&);
void RunWait(Machine&, const WorkingRow&);
void RunDot(Machine&, const WorkingRow&);
void RunRect(Machine&, const WorkingRow&);
void RunOval(Machine&, const WorkingRow&);
void RunText(Machine&, const WorkingRow&);
void RunInt(Machine&, const WorkingRow&);

}  // namespace orvelt::pelko
