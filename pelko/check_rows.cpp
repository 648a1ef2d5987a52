// The checker's walk over the ".text" rows: mnemonics, the number of operands and their commas,
// what each operand names, labels, and rows that no path of the program reaches.
#include <algorithm>

#include "pelko/check_source.h"
#include "pelko/instructions.h"
#include "pelko/operands.h"

namespace orvelt::pelko {
namespace {

// How an instruction reads an operand.
enum class Use : uint8_t {
  None,         // not at all
  Destination,  // every cell of that name, by its own type
  Number,       // likewise, but a string cell stays unchanged
  Single,       // the first single cell of that name
  Numeric,      // looked up among int and single cells only; a string cell's name stays text
  Written,      // taken as written, never looked up
  Label,        // a label name
  Value,        // the value of the first cell of that name, or the text itself
  Compare,      // the walk of "cmp"
  Service,      // the service of "int"
};

struct Shape {
  const char16_t* mnemonic;
  uint8_t least, most;  // operands
  Use first, second;
};

constexpr Shape kShapes[] = {
    {u"mov", 2, 2, Use::Destination, Use::Value}, {u"app", 1, 1, Use::Value, Use::None},
    {u"add", 2, 2, Use::Destination, Use::Value}, {u"sub", 2, 2, Use::Number, Use::Numeric},
    {u"mul", 2, 2, Use::Number, Use::Numeric},    {u"div", 2, 2, Use::Number, Use::Numeric},
    {u"cos", 1, 1, Use::Single, Use::None},       {u"sin", 1, 1, Use::Single, Use::None},
    {u"inc", 1, 1, Use::Number, Use::None},       {u"dec", 1, 1, Use::Number, Use::None},
    {u"ce", 1, 1, Use::Label, Use::None},         {u"cz", 1, 1, Use::Label, Use::None},
    {u"cne", 1, 1, Use::Label, Use::None},        {u"cnz", 1, 1, Use::Label, Use::None},
    {u"cg", 1, 1, Use::Label, Use::None},         {u"cge", 1, 1, Use::Label, Use::None},
    {u"cl", 1, 1, Use::Label, Use::None},         {u"cle", 1, 1, Use::Label, Use::None},
    {u"jmp", 1, 1, Use::Label, Use::None},        {u"jz", 1, 1, Use::Label, Use::None},
    {u"je", 1, 1, Use::Label, Use::None},         {u"jnz", 1, 1, Use::Label, Use::None},
    {u"jne", 1, 1, Use::Label, Use::None},        {u"jl", 1, 1, Use::Label, Use::None},
    {u"jle", 1, 1, Use::Label, Use::None},        {u"jg", 1, 1, Use::Label, Use::None},
    {u"jge", 1, 1, Use::Label, Use::None},        {u"neg", 1, 1, Use::Number, Use::None},
    {u"not", 1, 1, Use::Number, Use::None},       {u"jcxz", 1, 1, Use::Label, Use::None},
    {u"and", 2, 2, Use::Number, Use::Numeric},    {u"or", 2, 2, Use::Number, Use::Numeric},
    {u"xor", 2, 2, Use::Number, Use::Numeric},    {u"gfx", 2, 2, Use::Written, Use::Written},
    {u"org", 2, 2, Use::Value, Use::Value},       {u"cls", 0, 0, Use::None, Use::None},
    {u"flip", 0, 0, Use::None, Use::None},        {u"wait", 0, 0, Use::None, Use::None},
    {u"dot", 2, 2, Use::Value, Use::Value},       {u"rect", 2, 2, Use::Value, Use::Value},
    {u"oval", 2, 2, Use::Value, Use::Value},      {u"text", 1, 1, Use::Value, Use::None},
    {u"rnd", 1, 2, Use::Numeric, Use::Numeric},   {u"cmp", 2, 2, Use::Compare, Use::Compare},
    {u"call", 1, 1, Use::Label, Use::None},       {u"ret", 0, 0, Use::None, Use::None},
    {u"int", 1, 2, Use::Service, Use::None},      {u"push", 1, 1, Use::Value, Use::None},
    {u"pop", 0, 1, Use::Destination, Use::None},  {u"end", 0, 0, Use::None, Use::None},
};

// The services of "int" and the argument each takes after the comma.
enum class Argument : uint8_t { None, Value, Key, Written };

struct Service {
  const char16_t* name;
  bool needed;
  Argument argument;
};

constexpr Service kServices[] = {
    {u"print", false, Argument::None},  {u"waitkey", false, Argument::None}, {u"input", false, Argument::Value},
    {u"hitkey", true, Argument::Key},   {u"downkey", true, Argument::Key},   {u"delay", true, Argument::Written},
};

const Service* FindService(const Text& name) {
  for (const Service& service : kServices)
    if (name == service.name) return &service;
  return nullptr;
}

Text Quoted(const Text& text) { return u"'" + text + u"'"; }

bool IsLabelRow(const Text& mnemonic) { return !mnemonic.empty() && mnemonic.back() == u':'; }

bool HasCommaOutsideQuotes(const Text& text) {
  bool inside = false;
  for (char16_t unit : text) {
    if (unit == u'"') inside = !inside;
    if (unit == u',' && !inside) return true;
  }
  return false;
}

// The checks of one row; position() gives the column of a place in the row's cleaned text.
class RowCheck {
 public:
  RowCheck(CheckedProgram& checked, std::size_t row)
      : checked_(checked),
        line_(checked.rowLine[row]),
        row_(checked.rows[row]),
        layout_(LayoutOf(checked.lines[line_].clean.text)) {}

  void Run(std::size_t row);

 private:
  void Report(int position, Text text) { checked_.Report(line_, position, std::move(text)); }
  void CheckLabelRow(std::size_t row);
  void CheckUnknown();
  bool CheckCount(const Shape& shape);
  void CheckOperand(Use use, const Text& operand, int position);
  void CheckService();
  void CheckLabel(const Text& name, int position);
  bool CheckIndex(const Text& operand, int position);
  void CheckCompare();
  // The types of the cells that bear the name, in list order.
  std::vector<uint8_t> Named(const Text& name) const;
  int CountStrings(Text operand) const;

  CheckedProgram& checked_;
  std::size_t line_;
  const Row& row_;
  Layout layout_;
};

std::vector<uint8_t> RowCheck::Named(const Text& name) const {
  const NameRef ref = checked_.names.Find(name);
  std::vector<uint8_t> types;
  for (int32_t k = 0; k < ref.count; ++k) types.push_back(checked_.program.variables[static_cast<std::size_t>(ref.cells[k])].typ);
  return types;
}

// The walk of "cmp" through the name index: each cell met after the last one whose name the
// operand, as rewritten, bears.
int RowCheck::CountStrings(Text operand) const {
  int strings = 0;
  for (int32_t cell = checked_.names.NextNamed(operand, -1, false); cell >= 0;
       cell = checked_.names.NextNamed(operand, cell, false)) {
    const TVariable& v = checked_.program.variables[static_cast<std::size_t>(cell)];
    operand = ValueText(v);
    strings += v.typ == kTypString;
  }
  return strings;
}

void RowCheck::Run(std::size_t row) {
  const Text& mnemonic = row_[0];
  if (mnemonic.empty() || mnemonic[0] == u'.') return;
  if (IsLabelRow(mnemonic)) return CheckLabelRow(row);
  if (FindInstruction(mnemonic) < 0) return CheckUnknown();
  const Shape* shape = nullptr;
  for (const Shape& candidate : kShapes)
    if (mnemonic == candidate.mnemonic) shape = &candidate;
  if (!shape) return;
  const bool runTogether = CheckCount(*shape);
  if (!row_[1].empty() && !runTogether) CheckOperand(shape->first, row_[1], layout_.operand1);
  if (!row_[2].empty() && shape->most == 2) CheckOperand(shape->second, row_[2], layout_.operand2);
}

void RowCheck::CheckLabelRow(std::size_t row) {
  if (layout_.operand1 > 0)
    Report(layout_.operand1, u"Nach der Marke " + Quoted(row_[0]) + u" wird der Rest der Zeile ignoriert");
  const int32_t first = checked_.labels.Target(LeftText(row_[0], static_cast<int>(row_[0].size()) - 1));
  if (first >= 0 && static_cast<std::size_t>(first) != row)
    Report(1, u"Die Marke " + Quoted(row_[0]) + u" steht schon in Zeile " +
                  IntToText(static_cast<int32_t>(checked_.rowLine[static_cast<std::size_t>(first)] + 1)) +
                  u": Sprünge gehen dorthin");
}

void RowCheck::CheckUnknown() {
  const Text& mnemonic = row_[0];
  const int tab = FindText(mnemonic, u"\t");
  if (tab > 0 && FindInstruction(LeftText(mnemonic, tab - 1)) >= 0) {
    Report(1, u"Unbekannter Befehl " + Quoted(LeftText(mnemonic, tab - 1)) + u" mit Tabulator, die Zeile tut "
              u"nichts: nur ein Leerzeichen trennt den Befehl von den Operanden");
    return;
  }
  Text lower = LowerText(mnemonic);
  Text hint = FindInstruction(lower) >= 0 ? u"; Befehle werden klein geschrieben: " + Quoted(lower) : Text();
  Report(1, u"Unbekannter Befehl " + Quoted(mnemonic) + u", die Zeile tut nichts" + hint);
}

// True when the first operand is two run together, so that what it names says nothing more.
bool RowCheck::CheckCount(const Shape& shape) {
  const Text name = Quoted(row_[0]);
  const bool first = !row_[1].empty(), comma = layout_.comma > 0;
  if (shape.most == 0 && (first || comma)) {
    Report(layout_.operand1, name + u" hat keine Operanden: der Rest der Zeile wird ignoriert");
  } else if (shape.most == 1 && comma) {
    Report(layout_.comma, name + u" hat nur einen Operanden: was nach dem Komma steht, wird ignoriert");
  } else if (shape.most == 2 && !comma && FindText(row_[1], u" ") > 0 && shape.first != Use::Service) {
    Report(layout_.operand1, u"Komma fehlt: " + Quoted(row_[1]) + u" ist ein einziger Operand");
    return true;
  } else if (shape.least == 2 && !comma) {
    Report(1, name + u" braucht zwei Operanden, durch ein Komma getrennt");
  } else if (shape.least >= 1 && !first) {
    Report(1, name + u" braucht einen Operanden");
  } else if (shape.most == 2 && shape.first != Use::Service && HasCommaOutsideQuotes(row_[2])) {
    Report(layout_.operand2, u"Nur das erste Komma trennt: " + Quoted(row_[2]) + u" ist ein einziger zweiter Operand");
  }
  return false;
}

// A bracketed name becomes the value of an int or single cell; anything else stays as written.
bool RowCheck::CheckIndex(const Text& operand, int position) {
  const int open = FindText(operand, u"[");
  if (open == 0) return false;
  const int close = FindText(operand, u"]");
  const Text inner = MidText(operand, open + 1, close - open - 1);
  if (close == 0 || FindText(inner, u"[") > 0 || IsWrittenNumber(inner)) return false;
  if (checked_.names.Find(inner).numericCount == 0)
    Report(position, u"Der Index " + Quoted(inner) + u" ist keine int- oder single-Variable: " + Quoted(operand) +
                         u" wird nicht ersetzt");
  return true;
}

void RowCheck::CheckOperand(Use use, const Text& operand, int position) {
  if (FindText(operand, u"__TIMER__") > 0) return;
  if (use == Use::Label) return CheckLabel(operand, position);
  if (use == Use::Service) return CheckService();
  if (use == Use::Compare) {
    if (position == layout_.operand1) CheckCompare();
    return;
  }
  if (use == Use::None || CheckIndex(operand, position)) return;
  const std::vector<uint8_t> cells = Named(operand);
  const Text name = Quoted(row_[0]);
  auto any = [&cells](uint8_t typ) { return std::find(cells.begin(), cells.end(), typ) != cells.end(); };
  const bool numeric = any(kTypInt) || any(kTypSingle);
  const bool strings = any(kTypString);
  const bool singles = any(kTypSingle);
  const bool destination = use == Use::Destination || use == Use::Number || use == Use::Single;
  if (destination && cells.empty())
    Report(position, Quoted(operand) + u" ist keine Variable und kein Register: " + name + u" ändert nichts");
  else if (use == Use::Number && !numeric)
    Report(position, name + u" ändert keine string-Variable: " + Quoted(operand) + u" bleibt unverändert");
  else if (use == Use::Single && !singles)
    Report(position, name + u" rechnet nur mit single-Variablen: " + Quoted(operand) + u" bleibt unverändert");
  else if (use == Use::Numeric && strings && !numeric)
    Report(position, name + u" übergeht die string-Variable " + Quoted(operand) + u": gerechnet wird mit dem Text " +
                         Quoted(operand) + u", also " + IntToText(TextToInt(operand)));
  else if (use == Use::Written && !cells.empty())
    Report(position, name + u" nimmt seine Operanden, wie sie dastehen: " + Quoted(operand) + u" ist hier die Zahl " +
                         IntToText(TextToInt(operand)) + u", nicht die Variable");
}

void RowCheck::CheckService() {
  const Text& name = row_[1];
  const Service* service = FindService(name);
  if (!service) {
    const int blank = FindText(name, u" ");
    if (blank > 0 && FindService(LeftText(name, blank - 1)))
      return Report(layout_.operand1, u"Komma fehlt: " + Quoted(name) + u" ist ein einziger Operand");
    Text hint = FindService(LowerText(name)) ? u"; gemeint ist wohl " + Quoted(LowerText(name)) : Text();
    return Report(layout_.operand1, u"Unbekannter Dienst " + Quoted(name) + u" für 'int', die Zeile tut nichts" + hint);
  }
  const Text call = u"'int " + name + u"'";
  const Text& argument = row_[2];
  if (service->argument == Argument::None && layout_.comma > 0)
    return Report(layout_.comma, call + u" hat kein Argument: was nach dem Komma steht, wird ignoriert");
  if (service->needed && argument.empty())
    return Report(layout_.operand1, call + u" braucht ein Argument nach einem Komma");
  if (service->argument == Argument::Key && KeyCodeByName(argument) == 0) {
    Text upper = UpperText(argument);
    Text hint = KeyCodeByName(upper) != 0 ? u"; gemeint ist wohl " + Quoted(upper) : Text();
    Report(layout_.operand2, u"Unbekannte Taste " + Quoted(argument) + u": die Abfrage ergibt immer 0 (Tasten: LEFT, "
                             u"RIGHT, UP, DOWN, ESC, A, S, D, W)" + hint);
  }
  if (service->argument == Argument::Written && !Named(argument).empty())
    Report(layout_.operand2, call + u" nimmt sein Argument, wie es dasteht: " + Quoted(argument) +
                                 u" ist hier die Zahl " + IntToText(TextToInt(argument)) + u", nicht die Variable");
  if (service->argument == Argument::Value && !argument.empty()) CheckIndex(argument, layout_.operand2);
}

void RowCheck::CheckLabel(const Text& name, int position) {
  if (FindText(name, u"[") > 0) return;
  const int32_t target = checked_.labels.Target(name);
  if (target == kLabelDefault)
    return Report(position, u"Es gibt keine Marke 'main:': der Sprung tut nichts");
  if (target != kLabelMissing) return;
  Text hint;
  if (auto similar = checked_.lowerLabels.find(LowerText(name) + u":"); similar != checked_.lowerLabels.end())
    hint = u"; gemeint ist wohl " + Quoted(similar->second);
  if (name.back() == u':' && checked_.labels.Target(LeftText(name, static_cast<int>(name.size()) - 1)) >= 0)
    hint = u"; im Sprung steht die Marke ohne ':'";
  Report(position, u"Keine Zeile definiert die Marke " + Quoted(name + u":") +
                       u": hier bricht das Programm ab (pelko kann das Label nicht finden)" + hint);
}

// With the values the cells start with: exactly one string cell met stops the program.
void RowCheck::CheckCompare() {
  if (FindText(row_[1], u"[") > 0 || FindText(row_[2], u"[") > 0 || FindText(row_[2], u"__TIMER__") > 0) return;
  const int strings = CountStrings(row_[1]) + (HasQuote(row_[2]) ? 2 : CountStrings(row_[2]));
  if (strings == 1)
    Report(1, u"'cmp' vergleicht eine string-Variable mit einer Zahl: hier bricht das Programm ab (Abfrage "
              u"ungueltig); in Anführungszeichen wird als Text verglichen");
}

bool EndsFlow(const Row& row, const LabelIndex& labels) {
  if (row[0] == u"end" || row[0] == u"ret") return true;
  // A jump to a missing "main" goes on with the next row.
  return row[0] == u"jmp" && labels.Target(row[1]) != kLabelDefault;
}

// Rows that no path reaches: before "main:", and after "end", "ret" or "jmp" up to the next label.
void CheckReachable(CheckedProgram& checked) {
  const std::vector<Row>& rows = checked.rows;
  auto lineOf = [&checked](std::size_t row) { return IntToText(static_cast<int32_t>(checked.rowLine[row] + 1)); };
  const int32_t main = checked.labels.Target(u"main");
  Text why = main > 0 ? u"das Programm beginnt bei 'main:' (Zeile " + lineOf(static_cast<std::size_t>(main)) + u")"
                      : Text();
  bool reported = false;  // one finding for each stretch of rows
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const Text& mnemonic = rows[r][0];
    if (IsLabelRow(mnemonic)) {
      why.clear();
      reported = false;
      continue;
    }
    if (mnemonic.empty() || mnemonic[0] == u'.') continue;
    if (!why.empty() && !reported) {
      checked.Report(checked.rowLine[r], 1, u"Die Zeile wird nie ausgeführt: " + why + u", und keine Marke führt hierher");
      reported = true;
    }
    if (why.empty() && EndsFlow(rows[r], checked.labels))
      why = u"davor steht " + Quoted(mnemonic) + u" (Zeile " + lineOf(r) + u")";
  }
}

}  // namespace

Layout LayoutOf(const Text& clean) {
  Layout layout;
  const int blank = FindText(clean, u" ");
  if (blank == 0) return layout;
  auto start = [&clean](int from) {
    int at = from;
    while (at <= static_cast<int>(clean.size()) && clean[static_cast<std::size_t>(at - 1)] <= 32) ++at;
    return at;
  };
  layout.operand1 = start(blank + 1);
  layout.comma = FindText(clean, u",");
  if (layout.comma > 0) layout.operand2 = start(layout.comma + 1);
  return layout;
}

void CheckRows(CheckedProgram& checked) {
  for (std::size_t r = 0; r < checked.rows.size(); ++r) RowCheck(checked, r).Run(r);
  CheckReachable(checked);
}

}  // namespace orvelt::pelko
