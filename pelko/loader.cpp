// The two passes over a source: counting the ".text" rows, then storing every line into the line
// table and declaring the ".data" lines, with the line-reading, comment and section rules.
#include "pelko/loader.h"

#include "runtime/lines.h"
#include "runtime/process.h"

namespace orvelt::pelko {
namespace {

constexpr char16_t kEscapedQuote = 127;  // stands in for "\'" while a line comment is cut off

bool StartsWith(const Text& line, const char16_t* prefix) {
  return FindText(line, prefix) == 1;
}

bool IsSectionLine(const Text& line) { return !line.empty() && line[0] == u'.'; }

Text CutLineComment(const Text& line) {
  if (FindText(line, u"'") == 0) return line;
  Text text = ReplaceText(line, u"\\'", Text(1, kEscapedQuote));
  int quote = FindText(text, u"'");
  if (quote > 0) text = LeftText(text, quote - 1);
  text = ReplaceText(text, Text(1, kEscapedQuote), u"'");
  return TrimText(text);
}

// One pass's walk over the lines; both passes classify every line alike.
struct Pass {
  LineReader reader;
  CleanState clean;
  Text section;

  explicit Pass(const Text& source) : reader(source) {}

  CleanLine NextLine() {
    CleanLine line = Clean(reader.Next(), clean);
    if (!line.comment && IsSectionLine(line.text)) section = line.text;
    return line;
  }
  bool InText() const { return section == u".text"; }
  bool InData() const { return section == u".data"; }
};

struct Counts {
  std::size_t rows = 0;
  std::size_t lines = 0;
};

// The counting pass reads at least one line, even from an empty source.
Counts CountTextRows(const Text& source) {
  Pass pass(source);
  Counts counts;
  do {
    pass.NextLine();
    ++counts.lines;
    if (pass.InText()) ++counts.rows;
  } while (!pass.reader.AtEnd());
  return counts;
}

[[noreturn]] void RaiseTooManyVariables(const Text& name) {
  RaiseFatalError(u"DEBUG >> Zu viele Variablen: '" + name + u"'!");
}

// Lines outside ".text" are split into the same row again and again, so a ".data" line sees the
// columns the line before it left behind.
// Both passes classify the lines alike, so the rows fill up no later than the last counted line.
void StoreRows(const Text& source, std::size_t lines, const LoadLimits& limits, const LineObserver& observe,
               LoadedProgram& program) {
  Pass pass(source);
  std::size_t r = 0;
  const std::size_t count = program.rows.size();
  for (std::size_t read = 0; r < count && read < lines; ++read) {
    CleanLine line = pass.NextLine();
    const std::size_t cellsBefore = program.variables.size();
    if (!line.comment) {
      Row& row = program.rows[r];
      SplitLine(line.text, pass.InData(), row);
      if (row[0] == u"wait") program.waitFlag = true;
      if (pass.InData() && !DeclareFromRow(program.variables, row[0], row[1], row[2], limits.maxCells))
        RaiseTooManyVariables(row[0]);
    }
    if (observe)
      observe(StoredLine{read, &line, &pass.section, pass.InText() ? static_cast<int64_t>(r) : -1,
                         &program.rows[r], cellsBefore, program.variables.size()});
    if (pass.InText()) ++r;
  }
}

}  // namespace

Text LineReader::Next() { return NextLine(source_, position_); }

CleanLine Clean(const Text& raw, CleanState& state) {
  Text line = TrimText(raw);
  if (StartsWith(line, u"/'")) state.block = true;
  if (StartsWith(line, u"'/")) state.block = false;
  if (state.block) return {line, true};
  return {CutLineComment(line), false};
}

void SplitLine(const Text& line, bool dataSection, Row& row) {
  int s1 = FindText(line, u" ");
  int c = FindText(line, u",");
  if (s1 == 0) {
    row[0] = line;
    return;
  }
  row[0] = TrimText(LeftText(line, s1 - 1));
  int s2 = FindText(line, u" ", s1 + 1);
  if (c > 0) {
    row[1] = TrimText(MidText(line, s1 + 1, c - s1 - 1));
    row[2] = TrimText(MidText(line, c + 1));
  } else if (dataSection && s2 > 0) {
    row[1] = TrimText(MidText(line, s1 + 1, s2 - s1 - 1));
    row[2] = TrimText(MidText(line, s2 + 1));
  } else {
    row[1] = TrimText(MidText(line, s1 + 1));
    row[2] = Text();
  }
}

LoadedProgram LoadSource(const Text& source, const LoadLimits& limits, const LineObserver& observe) {
  LoadedProgram program;
  Counts counts = CountTextRows(source);
  program.rows.resize(counts.rows);
  CreateRegisters(program.variables);
  StoreRows(source, counts.lines, limits, observe, program);
  return program;
}

}  // namespace orvelt::pelko
