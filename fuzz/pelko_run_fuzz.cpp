// Arbitrary bytes loaded and run as a pelko program, with a bound on executed rows and no window,
// on a clock that only moves when read or slept on and with nothing to read: once through the
// decoded rows, once through the literal walks and once traced, each within a memory budget. Nothing
// may crash; the first two must write the same bytes and end the same way, and the traced run must
// write the same standard output and end the same way, unless one ran out of its budget (the ways
// allocate differently, so they may run out at different rows).
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
  std::string out, err;
  int status = 0;
  bool ended = true;
  bool outOfBudget = false;
};

// Takes what a stream opened by open_memstream holds, and closes it.
std::string Collect(std::FILE* stream, char*& buffer, std::size_t& length) {
  std::fclose(stream);
  std::string text(buffer, length);
  std::free(buffer);
  return text;
}

Outcome RunOnce(const Text& source, bool literal, bool traced) {
  static std::FILE* nothing = std::fopen("/dev/null", "r");
  char *outBuffer = nullptr, *errBuffer = nullptr;
  std::size_t outLength = 0, errLength = 0;
  std::FILE* out = open_memstream(&outBuffer, &outLength);
  std::FILE* err = open_memstream(&errBuffer, &errLength);
  SetConsoleStreams(nothing, out, err);
  SetClockForTesting(FakeNow, FakeSleep);
  gNow = 1000;
  SeedRandom(1);
  pelko::SourceRun run;
  run.startTime = 5;
  pelko::RunWay way;
  way.literal = literal;
  way.rowBudget = 2000;
  way.windowless = true;
  way.traced = traced;
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
  outcome.out = Collect(out, outBuffer, outLength);
  outcome.err = Collect(err, errBuffer, errLength);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Text source = DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  Outcome decoded = RunOnce(source, false, false);
  Outcome literal = RunOnce(source, true, false);
  Outcome traced = RunOnce(source, false, true);
  if (decoded.outOfBudget || literal.outOfBudget || traced.outOfBudget) return 0;
  if (decoded.out != literal.out || decoded.err != literal.err || decoded.status != literal.status ||
      decoded.ended != literal.ended) {
    std::fprintf(stderr, "decoded and literal runs differ\n--- decoded (%d)\n%s%s\n--- literal (%d)\n%s%s\n",
                 decoded.status, decoded.out.c_str(), decoded.err.c_str(), literal.status, literal.out.c_str(),
                 literal.err.c_str());
    std::abort();
  }
  if (traced.out != decoded.out || traced.status != decoded.status || traced.ended != decoded.ended) {
    std::fprintf(stderr, "traced and plain runs differ\n--- plain (%d)\n%s\n--- traced (%d)\n%s\n", decoded.status,
                 decoded.out.c_str(), traced.status, traced.out.c_str());
    std::abort();
  }
  return 0;
}
