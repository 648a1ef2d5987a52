// "pelko --trace FILE": the program run as without the flag, with a line on standard error for every
// row it executes: where the row stands in the file, the registers, and the cell the row wrote.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pelko/entry.h"
#include "runtime/text.h"

namespace orvelt::pelko {

// Runs the file as "pelko FILE" runs it and writes one line per executed row to standard error:
// "FILE:LINE: LINE AS WRITTEN  |  ax=.. bx=.. cx=.. dx=".." cmd=".." kbd=.." and, after a row that
// writes its first operand, "  |  NAME=VALUE". Standard output and the exit status stay those of
// the plain run; a file that cannot be read ends as a run would. Never returns normally.
int TraceFile(const std::vector<Text>& operands);

// The source as the trace shows it: every line as written, and for every row the line it came from.
// Rows of empty lines and comments do nothing and are not shown (-1).
struct TracedSource {
  std::vector<std::string> lines;
  std::vector<int64_t> rowLine;
};

// Loads the source into the machine as LoadMachine does, noting the line of every row.
TracedSource LoadTraced(Machine& machine, Text source, const SourceRun& run);

// The observer of the decoded loop that writes the trace line of every row after it ran.
class RowTracer {
 public:
  RowTracer(const Text& path, const TracedSource& source, const Machine& machine);
  RowTracer(const RowTracer&) = delete;
  RowTracer& operator=(const RowTracer&) = delete;
  // The row that ended the program with "end" is traced as well; one that raised a fatal message is
  // not, since its message has been written already.
  ~RowTracer();

  // Trace lines reach the terminal before the console is written to or read by an "int" row.
  bool AfterRow(const Machine& machine, int32_t executed, int32_t next);
  void Finish();

 private:
  static void Flush();
  void AppendCell(const TVariable& cell);
  int32_t WrittenCell(int32_t r) const;
  void Trace(int32_t r);

  std::string path_;
  const TracedSource& source_;
  const Machine& machine_;
  int int_, end_;
  bool finished_ = false;
  std::string line_;
};

}  // namespace orvelt::pelko
