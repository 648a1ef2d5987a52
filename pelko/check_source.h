// What the checker knows of a program: every source line as written and as the loader took it, the
// loaded rows and cells, and the findings gathered so far; shared by the checks of lines and of rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "pelko/loader.h"
#include "pelko/name_index.h"
#include "runtime/findings.h"

namespace orvelt::pelko {

struct SourceLine {
  Text raw;              // as written
  CleanLine clean;       // as cleaned, with the block-comment state of a walk over every line
  bool read = false;     // the storing pass read it; nothing after its last row is read
  Text section;          // the current section after the line
  int64_t row = -1;      // its row of the line table, -1 outside ".text"
  Row columns;           // the row as the line left it
  std::size_t cellsBefore = 0, cellsAfter = 0;
};

struct CheckedProgram {
  std::vector<SourceLine> lines;
  LoadedProgram program;           // rows after the predefined symbols
  std::vector<Row> rows;           // the same rows as texts
  std::vector<std::size_t> rowLine;  // per row, the index of its source line
  NameIndex names;                 // the cells of each name
  LabelIndex labels;
  std::map<Text, Text> lowerLabels;  // each label's name in lower case -> the name as written
  std::vector<Finding> findings;

  // A warning (or note) at a position of the line's cleaned text, counted from 1.
  void Report(std::size_t line, int cleanPosition, Text text, Severity severity = Severity::Warning);
};

// The 1-based column in the line as written of a 1-based position in its cleaned text: the cleaning
// trims the front and turns each "\'" into one quote.
int64_t RawColumn(const SourceLine& line, int cleanPosition);

// Where the columns of an instruction line start in its cleaned text (1-based; 0 when absent).
struct Layout {
  int operand1 = 0, comma = 0, operand2 = 0;
};
Layout LayoutOf(const Text& clean);

// A number as a declaration or an index may write it: digits with an optional sign.
bool IsWrittenNumber(const Text& text);

// The checks of the ".text" rows: mnemonics, operands, labels and rows that never run.
void CheckRows(CheckedProgram& checked);

}  // namespace orvelt::pelko
