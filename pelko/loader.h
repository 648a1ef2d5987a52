// Loading a source: reading lines, cleaning them of comments, following the sections, and the
// counting and storing passes that fill the line table and declare the ".data" variables.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

#include "pelko/line_table.h"
#include "pelko/symbols.h"
#include "runtime/text.h"

namespace orvelt::pelko {

struct LoadedProgram {
  LineTable rows;
  VariableList variables;
  ArrayList arrays;       // the cells of each array declaration
  bool waitFlag = false;  // some stored line's mnemonic is "wait"
};

// Reads lines off decoded source units: a line ends at a line feed, a zero unit or the end;
// carriage returns are dropped wherever they stand.
class LineReader {
 public:
  explicit LineReader(const Text& source) : source_(source) {}
  bool AtEnd() const { return position_ >= source_.size(); }
  Text Next();

 private:
  const Text& source_;
  std::size_t position_ = 0;
};

// The state that cleaning carries from line to line within one pass.
struct CleanState {
  bool block = false;  // inside a block comment
};

struct CleanLine {
  Text text;
  bool comment = false;  // a line of a block comment: not split, not declared, no section change
};

CleanLine Clean(Text raw, CleanState& state);

// Splits a cleaned line into the row; a line without a space leaves columns 1 and 2 as they were.
void SplitLine(const Text& line, bool dataSection, Row& row);

// What the storing pass made of one source line, for tools that report on lines as an editor
// counts them: the line table itself keeps no line numbers.
struct StoredLine {
  std::size_t index = 0;         // the line's place in the source, from 0
  const CleanLine* clean = nullptr;
  const Text* section = nullptr;  // the current section after the line
  int64_t row = -1;              // the row of the line table it went to; -1 outside ".text"
  const Row* columns = nullptr;   // the row as the line left it
  std::size_t cellsBefore = 0, cellsAfter = 0;  // the variable list around the line's declaration
};
using LineObserver = std::function<void(const StoredLine&)>;

// Both passes over the decoded source. Memory that runs out while a line is stored ends the run
// with the out-of-memory message at the row the line went to. An observer hears of every line the
// storing pass reads.
LoadedProgram LoadSource(const Text& source, const LineObserver& observe = {});

}  // namespace orvelt::pelko
