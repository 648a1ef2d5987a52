// The report of a program's findings, one line each, as compilers write theirs.
#include "runtime/findings.h"

#include <algorithm>
#include <string>

#include "runtime/console.h"

namespace orvelt {
namespace {

Text NumberText(int64_t value) { return TextFromLatin1(std::to_string(value)); }

}  // namespace

// A plain line feed ends each line, as the tools whose output editors read end theirs.
Text FindingLines(const Text& file, std::vector<Finding> findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  });
  Text lines;
  for (const Finding& finding : findings)
    lines += file + u":" + NumberText(finding.line) + u":" + NumberText(finding.column) + u": " +
             (finding.severity == Severity::Warning ? u"Warnung: " : u"Hinweis: ") + finding.text + u"\n";
  return lines;
}

int ReportFindings(const Text& file, std::vector<Finding> findings) {
  const bool warned = std::any_of(findings.begin(), findings.end(),
                                  [](const Finding& finding) { return finding.severity == Severity::Warning; });
  const Text lines = FindingLines(file, std::move(findings));
  if (!lines.empty()) WriteText(lines);
  return warned ? 1 : 0;
}

}  // namespace orvelt
