// Reading a program without running it: the lines that the rules will ignore, or treat otherwise than
// their writer most likely meant, each as a finding at the line and column an editor shows.
#pragma once
#include <vector>

#include "pelko/loader.h"
#include "runtime/findings.h"
#include "runtime/text.h"

namespace orvelt::pelko {

// The findings of decoded source units, in no particular order. Memory that runs out while the
// program is loaded ends the check with the loader's out-of-memory message.
std::vector<Finding> CheckSource(const Text& source);

// "pelko --check FILE": reports the findings of the file on standard output and gives the exit
// status, 0 without a warning and 1 with one. A file that cannot be read ends as a run would.
int CheckFile(const std::vector<Text>& operands);

}  // namespace orvelt::pelko
