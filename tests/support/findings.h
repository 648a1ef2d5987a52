// For the tests of both checkers: a checker's findings as report lines, and runs of a program's
// --check compared with the report, the error text and the exit status they should give.
#pragma once
#include <string>
#include <vector>

#include "runtime/findings.h"

// The lines the report gives for a file so named, without their line feeds.
std::vector<std::string> ReportLines(const std::u16string& file, std::vector<orvelt::Finding> findings);

// A small program and the report lines its check gives.
struct FindingCase {
  std::string source;
  std::vector<std::string> findings;
};

// Checks each case's source (bytes, decoded as a file is) as a file so named.
void ExpectFindings(std::vector<orvelt::Finding> (*check)(const std::u16string& source), const std::u16string& file,
                    const std::vector<FindingCase>& cases);

struct CheckRun {
  std::string path, out, err;
  int status;
};

// Runs "binary --check path" for each row and expects its standard output, error and status.
void ExpectCheckRuns(const std::string& binary, const std::vector<CheckRun>& runs);
