// The instruction table of the guide (docs/pelko.md) is the one the instruction list makes, so
// that the two cannot drift apart.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "pelko/instruction_list.h"
#include "runtime/text.h"

using namespace orvelt;

namespace {

struct GuideEntry {
  std::string mnemonic, operands, effect;
};

// One line per entry; consecutive entries with the same operands and effect share a line.
std::string TableFromList() {
#define PELKO_GUIDE_ENTRY(mnemonic, handler, condition, operands, effect) {EncodeUtf8(mnemonic), operands, effect},
  const GuideEntry entries[] = {PELKO_INSTRUCTIONS(PELKO_GUIDE_ENTRY)};
#undef PELKO_GUIDE_ENTRY
  std::string table = "| Mnemonic | Operands | Effect |\n|---|---|---|\n";
  for (std::size_t i = 0; i < std::size(entries);) {
    const GuideEntry& first = entries[i];
    std::string mnemonics = "`" + first.mnemonic + "`";
    for (++i; i < std::size(entries) && entries[i].operands == first.operands && entries[i].effect == first.effect; ++i)
      mnemonics += ", `" + entries[i].mnemonic + "`";
    table += "| " + mnemonics + " |" + (first.operands.empty() ? "" : " " + first.operands) + " | " + first.effect +
             " |\n";
  }
  return table;
}

// The lines of the guide's table that begins with the given header line.
std::string TableInGuide(const std::string& header) {
  std::ifstream file(std::string(SOURCE_DIR) + "/docs/pelko.md");
  std::string table, line;
  while (std::getline(file, line) && line != header) {
  }
  if (file) table = line + "\n";
  while (std::getline(file, line) && line.rfind('|', 0) == 0) table += line + "\n";
  return table;
}

TEST(Guide, InstructionTableIsMadeFromTheInstructionList) {
  std::string expected = TableFromList();
  EXPECT_EQ(TableInGuide(expected.substr(0, expected.find('\n'))), expected)
      << "docs/pelko.md should hold this table:\n"
      << expected;
}

}  // namespace
