// Whole scripts from arbitrary bytes: stored line by line as a loaded file is, then run with a
// bound on the lines executed, without a window and without waiting for keys. Nothing may crash,
// trap or hang; an "error" statement or a text grown too long ends the run as it ends the program.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/text.h"
#include "zunt/load.h"
#include "zunt/script.h"

using namespace orvelt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size > 8192) return 0;
  static std::FILE* nowhere = std::fopen("/dev/null", "w");
  static std::FILE* noInput = std::fopen("/dev/null", "r");
  SetConsoleStreams(noInput, nowhere, nowhere);
  zunt::TScript script;
  script.limits.lineBudget = 1000;
  script.limits.noWaiting = true;
  script.limits.maxNesting = 16;
  script.limits.nestedWork = 1 << 16;
  script.limits.maxTextLength = 1 << 16;
  script.file = u"fuzz.cf";
  script.lines.assign(100, Text());
  try {
    zunt::StoreScriptLines(script, DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
    script.Execute();
  } catch (const ProgramExit&) {
  }
  return 0;
}
