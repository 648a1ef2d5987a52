// The instruction set as the machine uses it: the handlers declared from the list, the mnemonics
// with their conditions in dispatch order, and the lookup of a row's mnemonic. Each handler is a
// template over the execution path (resolve.h), defined in instructions_data.h, instructions_flow.h
// or instructions_io.h; dispatch.h puts them into a table.
#pragma once
#include "pelko/instruction_list.h"
#include "pelko/machine.h"

namespace orvelt::pelko {

using Handler = void (*)(Machine& machine, const WorkingRow& row);

#define PELKO_DECLARE_HANDLER(mnemonic, handler, condition, operands, effect) \
  template <class Path>                                                     \
  void Run##handler(Machine& machine, const WorkingRow& row);
PELKO_INSTRUCTIONS(PELKO_DECLARE_HANDLER)
#undef PELKO_DECLARE_HANDLER

struct Instruction {
  const char16_t* mnemonic;
  Condition condition;
};

inline constexpr Instruction kInstructions[] = {
#define PELKO_INSTRUCTION(mnemonic, handler, condition, operands, effect) {mnemonic, Condition::condition},
    PELKO_INSTRUCTIONS(PELKO_INSTRUCTION)
#undef PELKO_INSTRUCTION
};

inline constexpr int kInstructionCount = static_cast<int>(sizeof kInstructions / sizeof kInstructions[0]);

// The first entry whose mnemonic equals the text exactly, or -1.
int FindInstruction(std::u16string_view mnemonic);

}  // namespace orvelt::pelko
