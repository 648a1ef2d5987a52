// Arbitrary bytes read by both checkers, as a pelko program and as a zunt script: finding what the
// rules ignore must never crash, hang or read outside a text, whatever the source holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string_view>

#include "pelko/check.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "tests/testlib/memory_budget.h"
#include "zunt/check.h"

using namespace orvelt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  SetConsoleStreams(nullptr, sink, sink);
  const Text source = DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  {
    testing::MemoryBudget budget(std::size_t{256} << 20);
    try {
      (void)FindingLines(u"f", pelko::CheckSource(source));
    } catch (const ProgramExit&) {
      // A declaration beyond the budget: the out-of-memory message is the expected end.
    } catch (const std::bad_alloc&) {
      // Likewise where no row is known.
    }
  }
  (void)FindingLines(u"f", zunt::CheckSource(source));
  return 0;
}
