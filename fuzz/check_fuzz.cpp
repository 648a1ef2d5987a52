// Arbitrary bytes read by both checkers, as a pelko program and as a zunt script: finding what the
// rules ignore must never crash, hang or read outside a text, whatever the source holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "pelko/check.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "zunt/check.h"

using namespace orvelt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  SetConsoleStreams(nullptr, sink, sink);
  const Text source = DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  pelko::LoadLimits limits;
  limits.maxCells = std::size_t{1} << 16;
  try {
    (void)FindingLines(u"f", pelko::CheckSource(source, limits));
  } catch (const ProgramExit&) {
    // Too many variables: the loader's fatal message is the expected end.
  }
  (void)FindingLines(u"f", zunt::CheckSource(source));
  return 0;
}
