// The checker's walk over a program: the source lines as written and as the loader took them, then
// the checks of comments, sections and declarations; the rows follow in check_rows.cpp.
#include "pelko/check.h"

#include <iterator>
#include <map>

#include "pelko/check_source.h"
#include "pelko/entry.h"
#include "pelko/predefined.h"

namespace orvelt::pelko {
namespace {

bool IsSection(const Text& clean) { return !clean.empty() && clean[0] == u'.'; }
bool IsKnownSection(const Text& clean) { return clean == u".text" || clean == u".data"; }

// Every line as written, cleaned in one walk, so that lines the storing pass never reads are
// cleaned too; then what the storing pass made of the lines it read.
CheckedProgram Gather(const Text& source) {
  CheckedProgram checked;
  LineReader reader(source);
  CleanState state;
  do {
    SourceLine line;
    line.raw = reader.Next();
    line.clean = Clean(line.raw, state);
    checked.lines.push_back(std::move(line));
  } while (!reader.AtEnd());
  checked.program = LoadSource(source, [&checked](const StoredLine& stored) {
    SourceLine& line = checked.lines[stored.index];
    line.read = true;
    line.section = *stored.section;
    line.row = stored.row;
    line.columns = *stored.columns;
    line.cellsBefore = stored.cellsBefore;
    line.cellsAfter = stored.cellsAfter;
    if (stored.row >= 0) checked.rowLine.push_back(stored.index);
  });
  ApplyPredefinedSymbols(checked.program.rows, 0);
  checked.names.Build(checked.program.variables);
  checked.labels.Build(checked.program.rows);
  checked.rows.reserve(checked.program.rows.size());
  for (std::size_t r = 0; r < checked.program.rows.size(); ++r) {
    LineTable::RowView view = checked.program.rows[r];
    checked.rows.push_back(Row{Text(view[0]), Text(view[1]), Text(view[2])});
  }
  for (const Row& row : checked.rows)
    if (!row[0].empty() && row[0].back() == u':')
      checked.lowerLabels.emplace(LowerText(row[0]), LeftText(row[0], static_cast<int>(row[0].size()) - 1));
  return checked;
}

// A block comment runs to a line that starts with "'/"; without one, to the end of the source.
void CheckBlockComments(CheckedProgram& checked) {
  std::size_t opened = 0;
  bool open = false;
  for (std::size_t i = 0; i < checked.lines.size(); ++i) {
    bool comment = checked.lines[i].clean.comment;
    if (comment && !open) opened = i;
    open = comment;
  }
  if (open)
    checked.Report(opened, 1, u"Der Blockkommentar wird nie geschlossen: alle Zeilen bis zum Ende sind Kommentar "
                              u"(eine Zeile, die mit '/ beginnt, schließt ihn)");
}

// The first quote that starts a comment, when it stands between double quotes.
void CheckQuoteInString(CheckedProgram& checked, std::size_t i) {
  const Text& raw = checked.lines[i].raw;
  int quotes = 0;
  for (std::size_t k = 0; k < raw.size(); ++k) {
    if (raw[k] == u'\\' && k + 1 < raw.size() && raw[k + 1] == u'\'') {
      ++k;
      continue;
    }
    if (raw[k] == u'"') ++quotes;
    if (raw[k] != u'\'') continue;
    if (quotes % 2 == 1)
      checked.findings.push_back({static_cast<int64_t>(i) + 1, static_cast<int64_t>(k) + 1, Severity::Warning,
                                  u"Das ' beginnt einen Kommentar, auch zwischen Anführungszeichen: der Rest der "
                                  u"Zeile fällt weg (\\' schreibt ein ')"});
    return;
  }
}

void CheckSectionLine(CheckedProgram& checked, std::size_t i) {
  const Text& clean = checked.lines[i].clean.text;
  if (IsSection(clean) && !IsKnownSection(clean))
    checked.Report(i, 1, u"Unbekannter Abschnitt '" + clean + u"': nur .data und .text gelten, genau so "
                         u"geschrieben; die Zeilen danach werden ignoriert");
  else if (!IsSection(clean) && !clean.empty() && !IsKnownSection(checked.lines[i].section))
    checked.Report(i, 1, u"Die Zeile steht in keinem Abschnitt (.data oder .text) und wird ignoriert");
}

// The storing pass stops at the last row of ".text"; whatever follows is never read.
void CheckUnread(CheckedProgram& checked) {
  if (checked.program.rows.empty()) {
    checked.Report(0, 1, u"Das Programm hat keinen Abschnitt .text: pelko liest nichts davon und tut nichts");
    return;
  }
  for (std::size_t i = 0; i < checked.lines.size(); ++i) {
    const SourceLine& line = checked.lines[i];
    if (!line.read && !line.clean.comment && !line.clean.text.empty())
      checked.Report(i, 1, u"Die Zeile wird nie gelesen: pelko liest nur bis zur letzten Zeile des Abschnitts "
                           u".text (.data gehört davor)");
  }
}

// Which part of a ".data" line made the loader declare nothing.
void ExplainEmptyDeclaration(CheckedProgram& checked, std::size_t i) {
  const SourceLine& line = checked.lines[i];
  const Text& clean = line.clean.text;
  const Row& row = line.columns;
  const int comma = FindText(clean, u",");
  const int blank = FindText(clean, u" ");
  if (comma > 0) {
    checked.Report(i, comma, u"Komma in der Deklaration: sie legt nichts an (ein Wert kann kein Komma enthalten)");
    return;
  }
  if (row[1].empty()) {
    checked.Report(i, blank + 1, u"Zwei Leerzeichen nach dem Namen: die Deklaration legt nichts an");
    return;
  }
  // A name without brackets tells whether the type word declares anything at all.
  VariableList probe;
  ArrayList arrays;
  DeclareFromRow(probe, arrays, u"x", row[1], row[2]);
  if (probe.empty()) {
    Text hint = LowerText(row[1]);
    DeclareFromRow(probe, arrays, u"x", hint, row[2]);
    checked.Report(i, blank + 1, u"Unbekannter Typ '" + row[1] + u"': die Deklaration legt nichts an (Typen: int, "
                                 u"string, single" + (probe.empty() ? u")" : u"; gemeint ist wohl '" + hint + u"')"));
    return;
  }
  const int open = FindText(row[0], u"[");
  checked.Report(i, open, u"Die Feldgröße " + MidText(row[0], open + 1, FindText(row[0], u"]") - open - 1) +
                          u" ist kleiner als 0: die Deklaration legt nichts an");
}

// A declaration whose first cell bears a name that an earlier cell bears: destinations change both,
// reads find the first. An array's elements start at [0], so its first cell stands for all of them.
class NameOwners {
 public:
  explicit NameOwners(const CheckedProgram& checked) {
    VariableList registers;
    CreateRegisters(registers);
    registers_ = registers.size();
    for (std::size_t i = 0; i < checked.lines.size(); ++i)
      if (checked.lines[i].cellsAfter > checked.lines[i].cellsBefore) starts_.emplace(checked.lines[i].cellsBefore, i);
  }
  void Check(CheckedProgram& checked, std::size_t i) const {
    const SourceLine& line = checked.lines[i];
    if (line.cellsAfter == line.cellsBefore) return;
    const Text& name = checked.program.variables[line.cellsBefore].name;
    const int32_t first = checked.names.Find(name).First();
    if (name.empty() || first < 0 || static_cast<std::size_t>(first) >= line.cellsBefore) return;
    Text where = u"ein Register";
    if (static_cast<std::size_t>(first) >= registers_)
      where = u"schon in Zeile " + IntToText(static_cast<int32_t>(std::prev(starts_.upper_bound(static_cast<std::size_t>(first)))->second + 1)) +
              u" deklariert";
    checked.Report(i, 1, u"'" + name + u"' ist " + where + u": Ziele ändern beide Zellen, gelesen wird die erste");
  }

 private:
  std::size_t registers_ = 0;
  std::map<std::size_t, std::size_t> starts_;  // first cell of each declaring line -> the line
};

void CheckDeclaration(CheckedProgram& checked, std::size_t i, const NameOwners& owners) {
  const SourceLine& line = checked.lines[i];
  const Text& clean = line.clean.text;
  const bool declared = line.cellsAfter > line.cellsBefore;
  if (FindText(clean, u" ") == 0) {
    // A line without a blank keeps the type and value the line before left in the row.
    if (declared && clean.empty())
      checked.Report(i, 1, u"Leere Zeile (oder nur Kommentar) im Abschnitt .data: sie legt eine Variable mit "
                           u"leerem Namen an, mit Typ und Wert der Zeile davor");
    else if (declared)
      checked.Report(i, 1, u"Die Zeile ohne Leerzeichen legt '" + clean + u"' an, mit Typ und Wert der Zeile davor");
  } else if (!declared) {
    ExplainEmptyDeclaration(checked, i);
  } else if (int open = FindText(line.columns[0], u"["); open > 0) {
    Text size = MidText(line.columns[0], open + 1, FindText(line.columns[0], u"]") - open - 1);
    if (!IsWrittenNumber(size))
      checked.Report(i, open + 1, u"Die Feldgröße '" + size + u"' ist keine Zahl: gelesen wird " +
                                   IntToText(TextToInt(size)));
  }
  owners.Check(checked, i);
}

void CheckLines(CheckedProgram& checked) {
  CheckBlockComments(checked);
  CheckUnread(checked);
  const NameOwners owners(checked);
  for (std::size_t i = 0; i < checked.lines.size(); ++i) {
    const SourceLine& line = checked.lines[i];
    if (!line.read || line.clean.comment) continue;
    CheckQuoteInString(checked, i);
    CheckSectionLine(checked, i);
    if (line.section == u".data") CheckDeclaration(checked, i, owners);
  }
}

}  // namespace

void CheckedProgram::Report(std::size_t line, int cleanPosition, Text text, Severity severity) {
  findings.push_back({static_cast<int64_t>(line) + 1, RawColumn(lines[line], cleanPosition), severity, std::move(text)});
}

bool IsWrittenNumber(const Text& text) {
  const Text t = TrimText(text);
  std::size_t k = (!t.empty() && (t[0] == u'-' || t[0] == u'+')) ? 1 : 0;
  if (k == t.size()) return false;
  for (; k < t.size(); ++k)
    if (t[k] < u'0' || t[k] > u'9') return false;
  return true;
}

int64_t RawColumn(const SourceLine& line, int cleanPosition) {
  std::size_t at = 0;
  while (at < line.raw.size() && line.raw[at] <= 32) ++at;
  for (int k = 1; k < cleanPosition && at < line.raw.size(); ++k)
    at += (line.raw[at] == u'\\' && at + 1 < line.raw.size() && line.raw[at + 1] == u'\'') ? 2 : 1;
  return static_cast<int64_t>(at) + 1;
}

std::vector<Finding> CheckSource(const Text& source) {
  CheckedProgram checked = Gather(source);
  CheckLines(checked);
  CheckRows(checked);
  return std::move(checked.findings);
}

int CheckFile(const std::vector<Text>& operands) {
  return ReportFindings(operands.at(0), CheckSource(ReadSource(operands.at(0))));
}

}  // namespace orvelt::pelko
