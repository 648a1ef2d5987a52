// The out-of-memory message, formatted into a fixed buffer: making it must not need the memory
// that has just run out.
#include "pelko/out_of_memory.h"

#include <cstdio>

#include "runtime/process.h"

namespace orvelt::pelko {
namespace {

constexpr char kMessage[] = "DEBUG >> Kein Speicher mehr!";
char gWithRow[sizeof kMessage + 32];

}  // namespace

void RaiseOutOfMemory(int64_t row) {
  std::snprintf(gWithRow, sizeof gWithRow, "%s LINE: %lld", kMessage, static_cast<long long>(row));
  SetOutOfMemoryText(gWithRow);
  WriteOutOfMemoryText();
  throw ProgramExit{-1};
}

void SetOutOfMemoryMessage() { SetOutOfMemoryText(kMessage); }

}  // namespace orvelt::pelko
