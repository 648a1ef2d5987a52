// "pelko --trace FILE": the program run as without the flag, with a line on standard error for every
// row it executes: where the row stands in the file, the registers, and the cell the row wrote.
#pragma once
#include <vector>

#include "runtime/text.h"

namespace orvelt::pelko {

// Runs the file as "pelko FILE" runs it and writes one line per executed row to standard error:
// "FILE:LINE: LINE AS WRITTEN  |  ax=.. bx=.. cx=.. dx=".." cmd=".." kbd=.." and, after a row that
// writes its first operand, "  |  NAME=VALUE". Standard output and the exit status stay those of
// the plain run; a file that cannot be read ends as a run would. Never returns normally.
int TraceFile(const std::vector<Text>& operands);

}  // namespace orvelt::pelko
