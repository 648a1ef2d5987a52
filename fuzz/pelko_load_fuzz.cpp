// Arbitrary bytes loaded as a pelko source: reading, cleaning, splitting, declaring, the predefined
// symbols and the decoding of rows must never crash or read outside a text; a declaration too
// large for the memory budget ends with the out-of-memory message.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "pelko/decode.h"
#include "pelko/loader.h"
#include "pelko/predefined.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "tests/testlib/memory_budget.h"

using namespace orvelt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  SetConsoleStreams(nullptr, sink, sink);
  {
    testing::MemoryBudget budget(std::size_t{256} << 20);
    try {
      pelko::LoadedProgram program =
          pelko::LoadSource(DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
      pelko::ApplyPredefinedSymbols(program.rows, 12345);
      pelko::Machine machine;
      pelko::InitMachine(machine, std::move(program), nullptr);
    } catch (const ProgramExit&) {
      // A declaration beyond the budget: the out-of-memory message is the expected end.
    } catch (const std::bad_alloc&) {
      // Likewise where no row is known (building the tables).
    }
  }
  return 0;
}
