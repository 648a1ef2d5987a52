// Finding a row's instruction by its mnemonic.
#include "pelko/instructions.h"

#include <array>
#include <string_view>

namespace orvelt::pelko {
namespace {

constexpr bool SameMnemonic(const char16_t* a, const char16_t* b) {
  for (; *a != 0 && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

// Dispatch takes the first entry whose mnemonic matches; a second entry of the same mnemonic
// would never run.
constexpr bool MnemonicsDistinct() {
  for (int i = 0; i < kInstructionCount; ++i)
    for (int j = i + 1; j < kInstructionCount; ++j)
      if (SameMnemonic(kInstructions[i].mnemonic, kInstructions[j].mnemonic)) return false;
  return true;
}
static_assert(MnemonicsDistinct(), "a mnemonic is listed twice in PELKO_INSTRUCTIONS");

constexpr bool MnemonicsTwoToFourUnits() {
  for (const Instruction& instruction : kInstructions) {
    std::u16string_view mnemonic = instruction.mnemonic;
    if (mnemonic.size() < 2 || mnemonic.size() > 4) return false;
  }
  return true;
}
static_assert(MnemonicsTwoToFourUnits(), "FindInstruction passes over mnemonics of other lengths");

}  // namespace

// Mnemonics are two to four units long; labels and the rest of what column 0 holds are mostly
// longer, and are passed over without a comparison.
int FindInstruction(std::u16string_view mnemonic) {
  static constexpr auto kMnemonics = [] {
    std::array<std::u16string_view, kInstructionCount> views{};
    for (int i = 0; i < kInstructionCount; ++i) views[static_cast<std::size_t>(i)] = kInstructions[i].mnemonic;
    return views;
  }();
  if (mnemonic.size() < 2 || mnemonic.size() > 4) return -1;
  for (int i = 0; i < kInstructionCount; ++i)
    if (mnemonic == kMnemonics[static_cast<std::size_t>(i)]) return i;
  return -1;
}

}  // namespace orvelt::pelko
