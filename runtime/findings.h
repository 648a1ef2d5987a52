// What a program read without running it holds that its writer most likely did not mean, and the
// report of it in the form compilers use, so that editors and terminals link each line to the source.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/text.h"

namespace orvelt {

enum class Severity {
  Warning,  // the rules ignore the line or do something else with it than it says
  Note,     // a rule worth knowing that the line may rely on
};

struct Finding {
  int64_t line = 0;    // counted from 1, as an editor counts
  int64_t column = 0;  // counted from 1, in characters of the line as written
  Severity severity = Severity::Warning;
  Text text;
};

// "FILE:LINE:COLUMN: Warnung: TEXT" ("Hinweis" for a note) and a line feed for each finding, in
// the order of lines and columns.
Text FindingLines(const Text& file, std::vector<Finding> findings);

// Writes the finding lines to standard output and gives the exit status: 1 when any warning was
// found, else 0.
int ReportFindings(const Text& file, std::vector<Finding> findings);

}  // namespace orvelt
