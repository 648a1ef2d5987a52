// Loading a source: reading lines, cleaning them of comments, following the sections, and the
// counting and storing passes that fill the line table and declare the ".data" variables.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "pelko/symbols.h"
#include "runtime/text.h"

namespace orvelt::pelko {

// Column 0: mnemonic, label or declared name; column 1: first operand or type word; column 2: second
// operand or initial value.
using Row = std::array<Text, 3>;
using LineTable = std::vector<Row>;

struct LoadLimits {
  // Beyond this many cells a declaration ends the load with a fatal message instead of exhausting
  // memory: "arr[2000000000] int 0" is a few bytes of source.
  std::size_t maxCells = std::size_t{1} << 22;
};

struct LoadedProgram {
  LineTable rows;
  VariableList variables;
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

CleanLine Clean(const Text& raw, CleanState& state);

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

// Both passes over the decoded source. Raises the fatal "too many variables" message when a
// declaration passes limits.maxCells. An observer hears of every line the storing pass reads.
LoadedProgram LoadSource(const Text& source, const LoadLimits& limits = {}, const LineObserver& observe = {});

}  // namespace orvelt::pelko
