// The two passes over a source: counting the ".text" rows, then storing every line into the line
// table and declaring the ".data" lines, with the line-reading, comment and section rules.
#include "pelko/loader.h"

#include "pelko/out_of_memory.h"
#include "runtime/lines.h"

namespace orvelt::pelko {
namespace {

constexpr char16_t kEscapedQuote = 127;  // stands in for "\'" while a line comment is cut off

bool StartsWith(const Text& line, std::u16string_view prefix) { return std::u16string_view(line).starts_with(prefix); }

bool IsSectionLine(const Text& line) { return !line.empty() && line[0] == u'.'; }

// Units of 32 or below dropped at both ends, as TrimText drops them.
std::u16string_view Trimmed(std::u16string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && text[first] <= 32) ++first;
  while (last > first && text[last - 1] <= 32) --last;
  return text.substr(first, last - first);
}

Text CutLineComment(Text line) {
  if (line.find(u'\'') == Text::npos) return line;
  Text text = ReplaceText(line, u"\\'", Text(1, kEscapedQuote));
  std::size_t quote = text.find(u'\'');
  if (quote != Text::npos) text.resize(quote);
  text = ReplaceText(text, Text(1, kEscapedQuote), u"'");
  return Text(Trimmed(text));
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
  std::size_t units = 0;  // of all cleaned lines: room enough for every stored column
};

// The counting pass reads at least one line, even from an empty source.
Counts CountTextRows(const Text& source) {
  Pass pass(source);
  Counts counts;
  do {
    CleanLine line = pass.NextLine();
    ++counts.lines;
    if (!line.comment) counts.units += line.text.size();
    if (pass.InText()) ++counts.rows;
  } while (!pass.reader.AtEnd());
  return counts;
}

// Lines outside ".text" are split into the same row again and again, so a ".data" line sees the
// columns the line before it left behind; the row goes into the table when a ".text" line has
// been split into it, and the next row starts empty.
// Both passes classify the lines alike, so the rows fill up no later than the last counted line.
void StoreRows(const Text& source, const Counts& counts, const LineObserver& observe, LoadedProgram& program) {
  Pass pass(source);
  Row row;
  int64_t r = 0;
  const int64_t count = static_cast<int64_t>(counts.rows);
  OnOutOfMemoryRaiseAt(r, [&] {
    for (std::size_t read = 0; r < count && read < counts.lines; ++read) {
      CleanLine line = pass.NextLine();
      const std::size_t cellsBefore = program.variables.size();
      if (!line.comment) {
        SplitLine(line.text, pass.InData(), row);
        if (row[0] == u"wait") program.waitFlag = true;
        if (pass.InData()) DeclareFromRow(program.variables, program.arrays, row[0], row[1], row[2]);
      }
      if (observe)
        observe(StoredLine{read, &line, &pass.section, pass.InText() ? r : -1, &row, cellsBefore,
                           program.variables.size()});
      if (pass.InText()) {
        program.rows.Append(row);
        row = Row();
        ++r;
      }
    }
  });
}

}  // namespace

Text LineReader::Next() { return NextLine(source_, position_); }

// The line is trimmed in place: a long line is not copied on its way.
CleanLine Clean(Text raw, CleanState& state) {
  std::u16string_view trimmed = Trimmed(raw);
  const std::size_t front = static_cast<std::size_t>(trimmed.data() - raw.data());
  raw.resize(front + trimmed.size());
  raw.erase(0, front);
  if (StartsWith(raw, u"/'")) state.block = true;
  if (StartsWith(raw, u"'/")) state.block = false;
  if (state.block) return {std::move(raw), true};
  return {CutLineComment(std::move(raw)), false};
}

// Positions count from 0 here. A comma before the first space gives column 1 the rest of the line
// after that space, as a negative count does for MidText.
void SplitLine(const Text& line, bool dataSection, Row& row) {
  std::u16string_view text = line;
  const std::size_t space = text.find(u' ');
  if (space == Text::npos) {
    row[0] = line;
    return;
  }
  const std::size_t comma = text.find(u',');
  const std::size_t second = text.find(u' ', space + 1);
  row[0] = Trimmed(text.substr(0, space));
  if (comma != Text::npos) {
    row[1] = Trimmed(comma > space ? text.substr(space + 1, comma - space - 1) : text.substr(space + 1));
    row[2] = Trimmed(text.substr(comma + 1));
  } else if (dataSection && second != Text::npos) {
    row[1] = Trimmed(text.substr(space + 1, second - space - 1));
    row[2] = Trimmed(text.substr(second + 1));
  } else {
    row[1] = Trimmed(text.substr(space + 1));
    row[2] = Text();
  }
}

LoadedProgram LoadSource(const Text& source, const LineObserver& observe) {
  LoadedProgram program;
  Counts counts = CountTextRows(source);
  // Rows are numbered by 32-bit integers while the program runs.
  if (counts.rows > static_cast<std::size_t>(INT32_MAX)) throw std::length_error("rows");
  program.rows.Reserve(counts.rows, counts.units);
  CreateRegisters(program.variables);
  StoreRows(source, counts, observe, program);
  return program;
}

}  // namespace orvelt::pelko
