// Arbitrary bytes loaded as a pelko source: reading, cleaning, splitting, declaring, the predefined
// symbols and the decoding of rows must never crash or read outside a text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "pelko/decode.h"
#include "pelko/loader.h"
#include "pelko/predefined.h"
#include "runtime/console.h"
#include "runtime/process.h"

using namespace orvelt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  SetConsoleStreams(nullptr, sink, sink);
  pelko::LoadLimits limits;
  limits.maxCells = std::size_t{1} << 16;
  try {
    pelko::LoadedProgram program =
        pelko::LoadSource(DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size)), limits);
    pelko::ApplyPredefinedSymbols(program.rows, 12345);
    pelko::Machine machine;
    pelko::InitMachine(machine, std::move(program), nullptr, pelko::RunLimits());
  } catch (const ProgramExit&) {
    // Too many variables: the fatal message is the expected end.
  }
  return 0;
}
