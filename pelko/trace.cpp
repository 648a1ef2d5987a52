// The traced run: the source lines each row came from, and the observer of the decoded loop that
// writes a line for every row after it ran. The lines go through standard error's own buffer, so
// that a fatal message still comes after the rows that led to it.
#include "pelko/trace.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "pelko/decoded_loop.h"
#include "pelko/entry.h"
#include "pelko/instructions.h"
#include "pelko/out_of_memory.h"
#include "runtime/console.h"
#include "runtime/process.h"

namespace orvelt::pelko {
namespace {

constexpr int kRegisterCount = 6;  // ax, bx, cx, dx, cmd, kbd: the first cells of every program

// The instructions whose first operand names the cell they change.
constexpr bool kWritesFirstOperand[] = {
#define PELKO_WRITES_FIRST(mnemonic, handler, condition, operands, effect) \
  std::string_view(operands).starts_with("dest"),
    PELKO_INSTRUCTIONS(PELKO_WRITES_FIRST)
#undef PELKO_WRITES_FIRST
};

std::u16string_view TrimBlanksAndTabs(std::u16string_view line) {
  const std::size_t first = line.find_first_not_of(u" \t");
  if (first == std::u16string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(u" \t") - first + 1);
}


std::vector<std::string> WrittenLines(const Text& source) {
  std::vector<std::string> lines;
  LineReader reader(source);
  do {
    lines.push_back(EncodeUtf8(Text(TrimBlanksAndTabs(reader.Next()))));
  } while (!reader.AtEnd());
  return lines;
}

// Standard error is written to by the trace only as a report: a write that fails is forgotten, so
// that the run ends with the status it would have had.
void ForgetFailedWrite(std::FILE* err) {
  if (std::ferror(err)) std::clearerr(err);
}

[[noreturn]] void RunTraced(const Text& path, Text source, const SourceRun& run) {
  Machine machine;
  TracedSource traced = LoadTraced(machine, std::move(source), run);
  RowTracer tracer(path, traced, machine);
  OnOutOfMemoryRaiseAt(machine.current, [&] { RunFromMain<DecodedPath>(machine, tracer); });
  tracer.Finish();
  EndProgram();
}

}  // namespace

TracedSource LoadTraced(Machine& machine, Text source, const SourceRun& run) {
  TracedSource traced{WrittenLines(source), {}};
  LoadMachine(machine, std::move(source), run, [&traced](const StoredLine& stored) {
    if (stored.row < 0) return;
    const bool shown = !stored.clean->comment && !stored.clean->text.empty();
    traced.rowLine.push_back(shown ? static_cast<int64_t>(stored.index) : -1);
  });
  return traced;
}

RowTracer::RowTracer(const Text& path, const TracedSource& source, const Machine& machine)
    : path_(EncodeUtf8(path)), source_(source), machine_(machine), int_(FindInstruction(u"int")),
      end_(FindInstruction(u"end")) {}

RowTracer::~RowTracer() {
  if (!finished_ && std::uncaught_exceptions() > 0 && machine_.current >= 0 &&
      static_cast<std::size_t>(machine_.current) < machine_.rows.size() &&
      machine_.decoded.rows[static_cast<std::size_t>(machine_.current)].instruction == end_) {
    try {
      Trace(machine_.current);
    } catch (...) {
      // Memory for the last line ran out: the run ends as it would without it.
    }
  }
  Finish();
}

bool RowTracer::AfterRow(const Machine& machine, int32_t executed, int32_t next) {
  Trace(executed);
  const auto& rows = machine.decoded.rows;
  if (next >= 0 && static_cast<std::size_t>(next) < rows.size() &&
      rows[static_cast<std::size_t>(next)].instruction == int_)
    Flush();
  return true;
}

void RowTracer::Finish() {
  finished_ = true;
  Flush();
}

void RowTracer::Flush() {
  std::FILE* err = ConsoleErr();
  std::fflush(err);
  ForgetFailedWrite(err);
}

void RowTracer::AppendCell(const TVariable& cell) {
  line_ += EncodeUtf8(cell.name);
  line_ += '=';
  const bool quoted = cell.typ == kTypString;
  if (quoted) line_ += '"';
  line_ += EncodeUtf8(ValueText(cell));
  if (quoted) line_ += '"';
}

// The cell a row wrote: the shortcut's own cell, or the first of the cells its first operand named
// as the row ran (after substitution); -1 when the row writes no cell.
int32_t RowTracer::WrittenCell(int32_t r) const {
  const DecodedRow& row = machine_.decoded.rows[static_cast<std::size_t>(r)];
  if (row.shortcut == Shortcut::IncInt || row.shortcut == Shortcut::DecInt) return row.cell;
  if (row.shortcut != Shortcut::None || row.instruction < 0 || !kWritesFirstOperand[row.instruction]) return -1;
  return machine_.working.op1.names.First();
}

void RowTracer::Trace(int32_t r) {
  if (static_cast<std::size_t>(r) >= source_.rowLine.size()) return;
  const int64_t index = source_.rowLine[static_cast<std::size_t>(r)];
  if (index < 0 || static_cast<std::size_t>(index) >= source_.lines.size()) return;
  line_ = path_;
  line_ += ':';
  line_ += std::to_string(index + 1);
  line_ += ": ";
  line_ += source_.lines[static_cast<std::size_t>(index)];
  line_ += "  |  ";
  for (int k = 0; k < kRegisterCount; ++k) {
    if (k > 0) line_ += ' ';
    AppendCell(machine_.variables[static_cast<std::size_t>(k)]);
  }
  const int32_t written = WrittenCell(r);
  if (written >= 0) {
    line_ += "  |  ";
    AppendCell(machine_.variables[static_cast<std::size_t>(written)]);
  }
  line_ += '\n';
  std::FILE* err = ConsoleErr();
  std::fwrite(line_.data(), 1, line_.size(), err);
  ForgetFailedWrite(err);
}

int TraceFile(const std::vector<Text>& operands) {
  // Whole lines at a time instead of a write per piece; set before anything is written there.
  static char buffer[1 << 16];
  std::setvbuf(ConsoleErr(), buffer, _IOFBF, sizeof buffer);
  SourceRun run = StartRun();
  const Text& path = operands.at(0);
  RunTraced(path, ReadSource(path), run);
}

}  // namespace orvelt::pelko
