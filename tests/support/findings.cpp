// Report lines of findings, and runs of --check held against what they should give.
#include "tests/support/findings.h"

#include <gtest/gtest.h>

#include "tests/support/run.h"

std::vector<std::string> ReportLines(const std::u16string& file, std::vector<orvelt::Finding> findings) {
  const std::string lines = orvelt::EncodeUtf8(orvelt::FindingLines(file, std::move(findings)));
  std::vector<std::string> split;
  for (std::size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1)
    split.push_back(lines.substr(start, end - start));
  return split;
}

void ExpectFindings(std::vector<orvelt::Finding> (*check)(const std::u16string& source), const std::u16string& file,
                    const std::vector<FindingCase>& cases) {
  for (const FindingCase& c : cases)
    EXPECT_EQ(ReportLines(file, check(orvelt::DecodeBytes(c.source))), c.findings) << c.source;
}

void ExpectCheckRuns(const std::string& binary, const std::vector<CheckRun>& runs) {
  for (const CheckRun& run : runs) {
    RunResult result = RunBinary(binary, {"--check", run.path});
    EXPECT_EQ(result.out, run.out) << run.path;
    EXPECT_EQ(result.err, run.err) << run.path;
    EXPECT_EQ(result.status, run.status) << run.path;
  }
}
