// Reading a script without running it: the lines that the rules will ignore, or treat otherwise than
// their writer most likely meant, each as a finding at the line and column an editor shows.
#pragma once
#include <vector>

#include "runtime/findings.h"
#include "runtime/text.h"

namespace orvelt::zunt {

// The findings of a decoded script, in no particular order.
std::vector<Finding> CheckSource(const Text& source);

// "zunt --check FILE": reports the findings of the file on standard output and gives the exit
// status, 0 without a warning and 1 with one; 255, after the load failure text on standard error,
// when the file cannot be read.
int CheckFile(const std::vector<Text>& operands);

}  // namespace orvelt::zunt
