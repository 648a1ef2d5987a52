// The checks of names: variables whose name stands inside another word that the script evaluates
// or inside another name an assignment starts with, labels whose name is not what they show, and
// goto targets that no label bears.
#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "zunt/check_script.h"

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
  const int at = FindText(Text(checked.script.lines[name.line]), name.name, checked.statements[name.line]->separator + 1);
  return at > 0 ? at : 1;
}

// The first word in use that holds each name inside it, found through the lengths that names have,
// so that long scripts cost the words' length times the number of those lengths.
std::map<Text, Text> NamesInsideWords(const CheckedScript& checked, const std::set<Text>& words) {
  std::set<Text> names;
  std::set<std::size_t> lengths;
  for (const DeclaredName& name : checked.declared)
    if (!name.name.empty() && name.name != u"input_text") {
      names.insert(name.name);
      lengths.insert(name.name.size());
    }
  std::map<Text, Text> inside;
  for (const Text& word : words)
    for (std::size_t length : lengths) {
      if (length >= word.size()) break;
      for (std::size_t at = 0; at + length <= word.size(); ++at)
        if (Text part = word.substr(at, length); names.count(part)) inside.emplace(std::move(part), word);
    }
  return inside;
}

// For each name, another that starts with it, letter case ignored: in order of the lower-case
// names, the next different one starts with it if any does.
std::map<Text, Text> NamesStartingOthers(const CheckedScript& checked) {
  std::vector<std::pair<Text, Text>> lowered;  // lower case, as declared
  for (const DeclaredName& name : checked.declared)
    if (!name.name.empty() && name.name != u"input_text") lowered.emplace_back(LowerText(name.name), name.name);
  std::sort(lowered.begin(), lowered.end());
  std::map<Text, Text> starting;
  for (std::size_t k = 0; k < lowered.size(); ++k) {
    std::size_t next = k + 1;
    while (next < lowered.size() && lowered[next].first == lowered[k].first) ++next;
    if (next < lowered.size() && lowered[next].first.rfind(lowered[k].first, 0) == 0)
      starting.emplace(lowered[k].second, lowered[next].second);
  }
  return starting;
}

// Every occurrence of a name is replaced, inside longer words too; and an assignment sets every
// variable whose name starts the line.
void CheckReplacementTrap(CheckedScript& checked) {
  const std::map<Text, Text> inside = NamesInsideWords(checked, WordsInUse(checked));
  const std::map<Text, Text> starting = NamesStartingOthers(checked);
  std::set<Text> reported;
  for (const DeclaredName& name : checked.declared) {
    if (name.name.empty() || name.name == u"input_text" || !reported.insert(name.name).second) continue;
    if (auto word = inside.find(name.name); word != inside.end())
      checked.Report(name.line, ColumnOfName(checked, name),
                     u"Der Name " + Quoted(name.name) + u" steckt in " + Quoted(word->second) +
                         u": jedes Vorkommen wird durch den Wert ersetzt, auch darin");
    if (auto other = starting.find(name.name); other != starting.end())
      checked.Report(name.line, ColumnOfName(checked, name),
                     u"Eine Zuweisung an " + Quoted(other->second) + u" setzt auch " + Quoted(name.name) +
                         u": sie trifft jeden Namen, mit dem die Zeile beginnt");
  }
}

// What a label line shows as its name: the text after "#" up to a comment.
Text WrittenLabel(const Text& raw) {
  const int semicolon = FindText(raw, u";");
  return TrimText(MidText(raw, 2, semicolon > 0 ? semicolon - 2 : -1));
}

// A label's name is its text read as an expression: in lower case, "pi" spelt out, a comment kept.
void CheckLabels(CheckedScript& checked, const std::map<Text, int32_t>& last) {
  const auto& labels = checked.script.TGotos;
  for (std::size_t k = 0; k < labels.size(); ++k) {
    const std::size_t line = static_cast<std::size_t>(labels[k].line);
    const Text raw(checked.script.lines[line]);
    const Text written = WrittenLabel(raw);
    if (labels[k].name != written)
      checked.Report(line, 2, u"Die Marke heißt " + Quoted(labels[k].name) + u", nicht " + Quoted(written) +
                                  (FindText(raw, u";") > 0 ? u": ein Kommentar gehört hier zum Namen"
                                                           : u": Marken werden klein geschrieben, und jedes pi wird ersetzt"));
    if (const int32_t later = last.at(labels[k].name); later != labels[k].line)
      checked.Report(line, 1, u"Eine spätere Marke heißt ebenso (Zeile " + IntToText(later + 1) + u"): goto springt dorthin");
  }
}

void CheckGotos(CheckedScript& checked, const std::map<Text, int32_t>& last) {
  std::map<Text, const TGoto*> written;  // each label by what its line shows
  for (const TGoto& label : checked.script.TGotos)
    written.emplace(WrittenLabel(Text(checked.script.lines[static_cast<std::size_t>(label.line)])), &label);
  for (std::size_t i = 0; i < checked.statements.size(); ++i) {
    const Statement* st = checked.Runs(i);
    if (!st || st->command != u"goto") continue;
    const Text target = TrimText(Text(st->Rest()));
    if (last.count(target)) continue;
    Text hint;
    if (last.count(LowerText(target)))
      hint = u"; Marken werden klein geschrieben: " + Quoted(LowerText(target));
    else if (auto label = written.find(target); label != written.end())
      hint = u"; die Marke in Zeile " + IntToText(label->second->line + 1) + u" heißt " + Quoted(label->second->name);
    int column = st->separator + 1;
    while (column <= st->length && st->text[static_cast<std::size_t>(column - 1)] == u' ') ++column;
    checked.Report(i, column, u"Keine Marke heißt " + Quoted(target) + u": goto tut hier nichts" + hint);
  }
}

}  // namespace

void CheckNames(CheckedScript& checked) {
  CheckReplacementTrap(checked);
  // The line of the last label of each name, where goto leads (FindLabelLine's rule).
  std::map<Text, int32_t> last;
  for (const TGoto& label : checked.script.TGotos) last[label.name] = label.line;
  CheckLabels(checked, last);
  CheckGotos(checked, last);
}

}  // namespace orvelt::zunt
