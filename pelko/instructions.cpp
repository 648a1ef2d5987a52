// Finding a row's instruction by its mnemonic.
#include "pelko/instructions.h"

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

}  // namespace

int FindInstruction(std::u16string_view mnemonic) {
  for (int i = 0; i < kInstructionCount; ++i)
    if (mnemonic == kInstructions[i].mnemonic) return i;
  return -1;
}

}  // namespace orvelt::pelko
