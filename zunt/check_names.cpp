// The checks of names: variables whose name stands inside another word that the script evaluates
// or inside another name an assignment starts with, labels whose name is not what they show, and
// goto targets that no label bears.
#include <set>

#include "zunt/check_script.h"
#include "zunt/store.h"

namespace orvelt::zunt {
namespace {

Text Quoted(const Text& text) { return u"'" + text + u"'"; }

bool IsWordUnit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c > 127;
}

// The words of the evaluated texts without a double quote (a quote keeps Calc2 from replacing
// anything), with the names the script declares itself.
std::set<Text> WordsInUse(const CheckedScript& checked) {
  std::set<Text> words;
  for (const DeclaredName& name : checked.declared)
    if (name.name != u"input_text") words.insert(name.name);
  for (const std::vector<Evaluated>& parts : checked.evaluated)
    for (const Evaluated& part : parts) {
      if (FindText(part.text, u"\"") > 0) continue;
      Text word;
      for (char16_t c : part.text + u" ") {
        if (IsWordUnit(c)) {
          word += c;
        } else if (!word.empty()) {
          words.insert(word);
          word.clear();
        }
      }
    }
  return words;
}

// Where the declaration line names the variable, after its type word.
int ColumnOfName(const CheckedScript& checked, const DeclaredName& name) {
  const int at = FindText(checked.script.lines[name.line], name.name, checked.statements[name.line]->p + 1);
  return at > 0 ? at : 1;
}

// Every occurrence of a name is replaced, inside longer words too; and an assignment sets every
// variable whose name starts the line.
void CheckReplacementTrap(CheckedScript& checked) {
  const std::set<Text> words = WordsInUse(checked);
  std::set<Text> reported;
  for (const DeclaredName& name : checked.declared) {
    if (name.name.empty() || name.name == u"input_text" || !reported.insert(name.name).second) continue;
    for (const Text& word : words)
      if (word != name.name && FindText(word, name.name) > 0) {
        checked.Report(name.line, ColumnOfName(checked, name),
                       u"Der Name " + Quoted(name.name) + u" steckt in " + Quoted(word) +
                           u": jedes Vorkommen wird durch den Wert ersetzt, auch darin");
        break;
      }
    for (const DeclaredName& other : checked.declared)
      if (other.name != u"input_text" && LowerText(other.name) != LowerText(name.name) &&
          StartsWithName(other.name, name.name)) {
        checked.Report(name.line, ColumnOfName(checked, name),
                       u"Eine Zuweisung an " + Quoted(other.name) + u" setzt auch " + Quoted(name.name) +
                           u": sie trifft jeden Namen, mit dem die Zeile beginnt");
        break;
      }
  }
}

// What a label line shows as its name: the text after "#" up to a comment.
Text WrittenLabel(const Text& raw) {
  const int semicolon = FindText(raw, u";");
  return TrimText(MidText(raw, 2, semicolon > 0 ? semicolon - 2 : -1));
}

// A label's name is its text read as an expression: in lower case, "pi" spelt out, a comment kept.
void CheckLabels(CheckedScript& checked) {
  const std::vector<TGoto>& labels = checked.script.TGotos;
  for (std::size_t k = 0; k < labels.size(); ++k) {
    const std::size_t line = static_cast<std::size_t>(labels[k].line);
    const Text& raw = checked.script.lines[line];
    const Text written = WrittenLabel(raw);
    if (labels[k].name != written)
      checked.Report(line, 2, u"Die Marke heißt " + Quoted(labels[k].name) + u", nicht " + Quoted(written) +
                                  (FindText(raw, u";") > 0 ? u": ein Kommentar gehört hier zum Namen"
                                                           : u": Marken werden klein geschrieben, und jedes pi wird ersetzt"));
    for (std::size_t later = k + 1; later < labels.size(); ++later)
      if (labels[later].name == labels[k].name) {
        checked.Report(line, 1, u"Eine spätere Marke heißt ebenso (Zeile " + IntToText(labels[later].line + 1) +
                                    u"): goto springt dorthin");
        break;
      }
  }
}

void CheckGotos(CheckedScript& checked) {
  for (std::size_t i = 0; i < checked.statements.size(); ++i) {
    const Statement* st = checked.Runs(i);
    if (!st || st->cmd != u"goto") continue;
    const Text target = TrimText(st->R());
    if (FindLabelLine(checked.script, target)) continue;
    Text hint;
    for (const TGoto& label : checked.script.TGotos)
      if (hint.empty() && label.name == LowerText(target))
        hint = u"; Marken werden klein geschrieben: " + Quoted(label.name);
    for (const TGoto& label : checked.script.TGotos)
      if (hint.empty() && WrittenLabel(checked.script.lines[static_cast<std::size_t>(label.line)]) == target)
        hint = u"; die Marke in Zeile " + IntToText(label.line + 1) + u" heißt " + Quoted(label.name);
    int column = st->p + 1;
    while (column <= st->len && st->L[static_cast<std::size_t>(column - 1)] == u' ') ++column;
    checked.Report(i, column, u"Keine Marke heißt " + Quoted(target) + u": goto tut hier nichts" + hint);
  }
}

}  // namespace

void CheckNames(CheckedScript& checked) {
  CheckReplacementTrap(checked);
  CheckLabels(checked);
  CheckGotos(checked);
}

}  // namespace orvelt::zunt
