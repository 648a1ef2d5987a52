// Whole scripts from arbitrary bytes: stored line by line as a loaded file is, then run for at most
// a thousand lines, without a window and without waiting for keys, in bounded memory as on a
// small machine. Nothing may crash, trap or hang; an "error" statement ends the run as it ends the
// program, and memory that runs out ends it as it ends the program.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string_view>

#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/text.h"
#include "tests/testlib/memory_budget.h"
#include "tests/testlib/zunt/quiet_run.h"
#include "zunt/load.h"
#include "zunt/script.h"

using namespace orvelt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size > 8192) return 0;
  static std::FILE* nowhere = std::fopen("/dev/null", "w");
  static std::FILE* noInput = std::fopen("/dev/null", "r");
  SetConsoleStreams(noInput, nowhere, nowhere);
  zunt::TScript script;
  script.file = u"fuzz.cf";
  testing::MemoryBudget budget(std::size_t{64} << 20);
  try {
    zunt::StoreScriptLines(script, DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
    zunt::testing::RunLines(script, 1000);
  } catch (const ProgramExit&) {
  } catch (const std::bad_alloc&) {
  }
  return 0;
}
