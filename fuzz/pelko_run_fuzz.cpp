// Arbitrary bytes loaded and run as a pelko program, with a bound on executed rows and no window,
// on a clock that only moves when read or slept on and with nothing to read: once through the
// decoded rows and once through the literal walks, each within a memory budget. Nothing may crash,
// and both runs must write the same bytes and end the same way, unless one ran out of its budget
// (the two ways allocate differently, so they may run out at different rows).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pelko/entry.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "tests/testlib/memory_budget.h"
#include "tests/testlib/pelko/run_ways.h"
#include "tests/testlib/runtime/fake_clock.h"

using namespace orvelt;

namespace {

uint32_t gNow = 0;
uint32_t FakeNow() { return gNow++; }
void FakeSleep(int32_t ms) { gNow += static_cast<uint32_t>(ms); }

struct Outcome {
  std::string out;
  int status = 0;
  bool ended = true;
  bool outOfBudget = false;
};

Outcome RunOnce(const Text& source, bool literal) {
  static std::FILE* nothing = std::fopen("/dev/null", "r");
  char* buffer = nullptr;
  std::size_t length = 0;
  std::FILE* out = open_memstream(&buffer, &length);
  SetConsoleStreams(nothing, out, out);
  SetClockForTesting(FakeNow, FakeSleep);
  gNow = 1000;
  SeedRandom(1);
  pelko::SourceRun run;
  run.startTime = 5;
  pelko::RunWay way;
  way.literal = literal;
  way.rowBudget = 2000;
  way.windowless = true;
  Outcome outcome;
  {
    testing::MemoryBudget budget(std::size_t{64} << 20);
    try {
      pelko::RunSourceWay(source, run, way);
      outcome.ended = false;
    } catch (const ProgramExit& exit) {
      outcome.status = exit.status;
    } catch (const std::bad_alloc&) {
      outcome.status = -1;  // where no row is known: RunProgram's message
    }
    outcome.outOfBudget = budget.Refused();
  }
  std::fclose(out);
  outcome.out.assign(buffer, length);
  std::free(buffer);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Text source = DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  Outcome decoded = RunOnce(source, false);
  Outcome literal = RunOnce(source, true);
  if (decoded.outOfBudget || literal.outOfBudget) return 0;
  if (decoded.out != literal.out || decoded.status != literal.status || decoded.ended != literal.ended) {
    std::fprintf(stderr, "decoded and literal runs differ\n--- decoded (%d)\n%s\n--- literal (%d)\n%s\n",
                 decoded.status, decoded.out.c_str(), literal.status, literal.out.c_str());
    std::abort();
  }
  return 0;
}
