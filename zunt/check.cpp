// The checker's walk over a script: the lines as Load stores them and as the executor takes them
// apart, then the checks of each line: indentation, command words and assignments, texts that a
// comma or ";" cuts, if and endif, conditions and operators; the names follow in check_names.cpp.
#include "zunt/check.h"

#include "runtime/console.h"
#include "zunt/check_script.h"
#include "zunt/load.h"
#include "zunt/store.h"

namespace orvelt::zunt {
namespace {

Text Quoted(const Text& text) { return u"'" + text + u"'"; }

int TypOfCommand(const Text& cmd) { return cmd == u"int" ? 1 : cmd == u"float" ? 2 : cmd == u"string" ? 3 : 0; }

bool IsFieldCommand(const Text& cmd) { return IsCommandWord(cmd) && TypOfCommand(cmd) == 0 && cmd != u"goto"; }

// The stretches the executor hands to Calc2: a command's fields, a condition, the value of a
// number's declaration or assignment, and an element's index.
std::vector<Evaluated> EvaluatedParts(const Statement& st, bool numberAssignment) {
  std::vector<Evaluated> parts;
  auto add = [&](int from, int to) {
    if (to >= from) parts.push_back({from, MidText(st.text, from, to - from + 1)});
  };
  const int eq = FindText(st.text, u"=");
  const int typ = TypOfCommand(st.command);
  if (st.command == u"if" || st.command == u"apptitle") {
    add(st.separator + 1, st.length);
  } else if (IsFieldCommand(st.command) && st.separator > 0) {
    int from = st.separator + 1;
    for (int comma = FindText(st.text, u",", from); comma > 0; comma = FindText(st.text, u",", from)) {
      add(from, comma - 1);
      from = comma + 1;
    }
    add(from, st.length);
  } else if ((typ == 1 || typ == 2) && eq > 0) {
    add(eq + 1, st.length);
  } else if (typ == 0 && !IsCommandWord(st.command)) {
    const int open = FindText(st.text, u"["), close = FindText(st.text, u"]");
    if (open > 0 && close > open) add(open + 1, close - 1);
    if (numberAssignment && eq > 0) add(eq + 2, st.length);
  }
  return parts;
}

// The script as Load stored it, each line taken apart as the executor takes it.
CheckedScript Gather(TScript&& script) {
  CheckedScript checked;
  checked.script = std::move(script);
  const std::size_t count = static_cast<std::size_t>(checked.script.anz);
  checked.declared.push_back({u"input_text", 0, 3, false});
  checked.statements.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const Text line(checked.script.lines[i]);
    if (!line.empty() && line[0] == u';') continue;
    checked.statements[i].emplace(line);
    const Statement* st = checked.Runs(i);
    if (const int typ = st ? TypOfCommand(st->command) : 0; typ > 0) {
      Declaration declaration = DeclarationName(st->text, static_cast<ElementType>(typ));
      checked.declared.push_back({std::move(declaration.name), i, typ, declaration.array});
    }
  }
  for (std::size_t k = 0; k < checked.declared.size(); ++k) {
    const Text& name = checked.declared[k].name;
    if (!name.empty()) checked.byLowerName[name.size()][LowerText(name)].push_back(k);
  }
  checked.evaluated.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const Statement* st = checked.Runs(i);
    if (!st) continue;
    bool numbers = false;
    checked.ForEachNameStarting(st->text, [&numbers](const DeclaredName& name) { numbers = numbers || name.typ != 3; });
    checked.evaluated[i] = EvaluatedParts(*st, numbers);
  }
  return checked;
}

void CheckIndentation(CheckedScript& checked, std::size_t i) {
  const Text line(checked.script.lines[i]);
  const Statement& st = *checked.statements[i];
  if (line.empty()) return;
  if (line[0] == u' ' && !TrimText(st.text).empty())
    checked.Report(i, 1, u"Die Zeile beginnt mit einem Leerzeichen und wird ignoriert" +
                             Text(LowerText(TrimText(st.text)).rfind(u"endif", 0) == 0 ? u", auch als endif" : u""));
  else if (line[0] == u'\t')
    checked.Report(i, 1, u"Die Zeile beginnt mit einem Tabulator: zunt meldet 'Befehl <" + st.command +
                             u"> nicht vorhanden' und wartet auf eine Taste");
}

// ";" ends every line; in print and input the first comma also ends the text.
void CheckCutTexts(CheckedScript& checked, std::size_t i) {
  const Text line(checked.script.lines[i]);
  const int semicolon = FindText(line, u";");
  int quotes = 0;
  for (int k = 1; k < semicolon; ++k) quotes += line[static_cast<std::size_t>(k - 1)] == u'"';
  if (semicolon > 0 && quotes % 2 == 1)
    checked.Report(i, semicolon, u"Das ';' beendet die Zeile, auch zwischen Anführungszeichen: der Rest fällt weg");
  const Statement& st = *checked.statements[i];
  if (st.command != u"print" && st.command != u"input") return;
  const int open = FindText(st.text, u"\"");
  const int close = FindText(st.text, u"\"", open + 1);
  if (open > 0 && open < st.comma1 && (close == 0 || st.comma1 < close))
    checked.Report(i, st.comma1, u"Das Komma beendet den Text, auch zwischen Anführungszeichen: " + Quoted(st.command) +
                                 u" liest danach die Koordinaten");
}

// "*", "/" and "^" count only where they stand between two numbers with no blank.
void CheckOperatorBlanks(CheckedScript& checked, std::size_t i) {
  for (const Evaluated& part : checked.evaluated[i]) {
    if (FindText(part.text, u"\"") > 0) continue;
    for (std::size_t k = 0; k < part.text.size(); ++k) {
      const char16_t op = part.text[k];
      if (op != u'*' && op != u'/' && op != u'^') continue;
      const bool before = k > 0 && part.text[k - 1] == u' ';
      const bool after = k + 1 < part.text.size() && part.text[k + 1] == u' ';
      if (!before && !after) continue;
      checked.Report(i, part.start + static_cast<int>(k), u"Leerzeichen um " + Quoted(Text(1, op)) +
                         u": so wird nicht gerechnet ('2 * 3' ergibt 2); schreibe es ohne Leerzeichen");
      break;
    }
  }
}

// The operator is the first of "=", "<", ">", "!" that the line holds at all.
void CheckCondition(CheckedScript& checked, std::size_t i, bool& noted) {
  const Statement& st = *checked.statements[i];
  int op = 0;
  char16_t which = 0;
  for (char16_t c : std::u16string_view(u"=<>!"))
    if (op == 0 && (op = FindText(st.text, Text(1, c))) > 0) which = c;
  if (op == 0) {
    checked.Report(i, 1, u"Die Bedingung vergleicht nichts (=, <, > oder !): sie gilt immer");
    return;
  }
  const int other = std::max(FindText(st.text, u"<"), FindText(st.text, u">"));
  if (which == u'=' && other > 0)
    checked.Report(i, op, u"Verglichen wird nur mit '=', das vor '<' und '>' geht: '<=' und '>=' gibt es nicht, "
                          u"'<' und '>' gelten schon bei Gleichheit");
  if ((which == u'<' || which == u'>') && !noted) {
    noted = true;
    checked.Report(i, op, u"'<' gilt auch bei Gleichheit ('if a < 10' gilt für a = 10), '>' ebenso: einen "
                          u"strengen Vergleich gibt es nicht", Severity::Note);
  }
  if (const int quote = FindText(st.text, u"\""); quote > 0)
    checked.Report(i, quote, u"Verglichen werden Zahlen: ein Text zählt als 0, die Bedingung vergleicht keine Texte");
}

// A false "if" skips to the first "endif" after it, whatever lies between.
class IfPairs {
 public:
  void If(std::size_t line) { open_.push_back(line); }
  void Endif(CheckedScript& checked, std::size_t line) {
    if (open_.empty())
      checked.Report(line, 1, u"Zu diesem endif gehört kein if" +
                                  (last_ ? u": ein falsches if überspringt nur bis zum ersten endif danach (Zeile " +
                                               IntToText(static_cast<int32_t>(*last_ + 1)) + u"), ifs lassen sich nicht schachteln"
                                         : Text()));
    open_.clear();
    last_ = line;
  }
  void End(CheckedScript& checked) {
    for (std::size_t line : open_)
      checked.Report(line, 1, u"Nach diesem if kommt kein endif: ist die Bedingung falsch, wird der ganze Rest "
                              u"des Scripts übersprungen");
  }

 private:
  std::vector<std::size_t> open_;
  std::optional<std::size_t> last_;
};

// Any other word makes the line an assignment to every name it starts with.
void CheckAssignment(CheckedScript& checked, std::size_t i) {
  const Statement& st = *checked.statements[i];
  const int eq = FindText(st.text, u"=");
  const bool quote = FindText(st.text, u"\"") > 0;
  const Text missing = u"zunt meldet 'Befehl <" + st.command + u"> nicht vorhanden' und wartet auf eine Taste";
  const int paren = FindText(st.command, u"(");
  if (paren > 0 && IsCommandWord(LeftText(st.command, paren - 1))) {
    checked.Report(i, paren, u"'(' trennt den Befehl nur in einer Zeile ohne Leerzeichen: hier ist " + Quoted(st.command) +
                                 u" das Befehlswort, und die Zeile gilt als Zuweisung");
    return;
  }
  bool matched = false, assigns = false, numbers = false;
  Text text;  // a string variable that the line names
  checked.ForEachNameStarting(st.text, [&](const DeclaredName& name) {
    matched = true;
    const bool number = name.array || name.typ != 3;
    numbers = numbers || number;
    assigns = assigns || (number ? eq > 0 : quote);
    if (!number) text = name.name;
  });
  if (!matched && eq > 0) {
    checked.Report(i, 1, u"Zuweisung an " + Quoted(TrimText(LeftText(st.text, eq - 1))) +
                             u", das nirgends deklariert ist: " + missing);
  } else if (!matched) {
    checked.Report(i, 1, u"Unbekannter Befehl " + Quoted(st.command) + u": " + missing);
  } else if (!assigns) {
    checked.Report(i, 1, (text.empty() ? u"Ohne '=' ändert die Zeile nichts: "
                                       : u"Ein Text für " + Quoted(text) + u" braucht Anführungszeichen: ohne ändert "
                                                                           u"die Zeile nichts, und ") + missing);
  } else if (numbers && eq > 0 && eq < st.length && st.text[static_cast<std::size_t>(eq)] != u' ') {
    checked.Report(i, eq + 1, u"Das Zeichen direkt nach '=' wird übersprungen: " +
                                  Quoted(Text(1, st.text[static_cast<std::size_t>(eq)])) +
                                  u" geht verloren; schreibe ein Leerzeichen nach '='");
  }
}

void CheckLines(CheckedScript& checked) {
  IfPairs pairs;
  bool noted = false;
  for (std::size_t i = 0; i < checked.statements.size(); ++i) {
    if (!checked.statements[i]) continue;
    CheckIndentation(checked, i);
    const Statement* st = checked.Runs(i);
    if (!st) continue;
    CheckCutTexts(checked, i);
    CheckOperatorBlanks(checked, i);
    if (st->command == u"if") {
      pairs.If(i);
      CheckCondition(checked, i, noted);
    } else if (st->command == u"endif") {
      pairs.Endif(checked, i);
    } else if (!IsCommandWord(st->command)) {
      CheckAssignment(checked, i);
    }
  }
  pairs.End(checked);
}

std::vector<Finding> CheckScript(TScript&& script) {
  CheckedScript checked = Gather(std::move(script));
  CheckLines(checked);
  CheckNames(checked);
  return std::move(checked.findings);
}

}  // namespace

const Statement* CheckedScript::Runs(std::size_t line) const {
  const Text text(script.lines[line]);
  if (!statements[line] || text.empty() || text[0] == u' ' || text[0] == u'\t' || text[0] == u'#') return nullptr;
  return &*statements[line];
}


std::vector<Finding> CheckSource(const Text& source) {
  TScript script;
  StoreScriptLines(script, source);
  return CheckScript(std::move(script));
}

// The path is read as a run reads its first argument, double quotes removed.
int CheckFile(const std::vector<Text>& operands) {
  const Text path = ReplaceText(operands.at(0), u"\"", u"");
  TScript script;
  if (script.Load(path, 100) == 1) return ReportFindings(path, CheckScript(std::move(script)));
  std::fputs(EncodeUtf8(path + u"\nScript konnte nicht geladen werden!\n").c_str(), ConsoleErr());
  return 255;
}

}  // namespace orvelt::zunt
