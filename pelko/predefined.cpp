// The predefined symbols: whole operand cells replaced once, after loading, by values fixed for the
// whole run. The live clock "__TIMER__" is substituted per execution instead (operands.cpp).
#include "pelko/predefined.h"

namespace orvelt::pelko {
namespace {

bool IsLabel(std::u16string_view mnemonic) { return !mnemonic.empty() && mnemonic.back() == u':'; }

struct Context {
  std::size_t row;
  int32_t startTime;
  std::u16string_view label;  // the nearest label at or above the row, with its ":"; empty above every label
};

using Replacement = Text (*)(const Context& context, std::u16string_view cell);

struct Symbol {
  const char16_t* name;
  Replacement replace;
};

const Symbol kSymbols[] = {
    {u"__LINE__", [](const Context& c, std::u16string_view) { return IntToText(static_cast<int32_t>(c.row)); }},
    {u"__WINDOWS__", [](const Context&, std::u16string_view) { return Text(u"1"); }},
    {u"__LINUX__", [](const Context&, std::u16string_view) { return Text(u"0"); }},
    {u"__MACOS__", [](const Context&, std::u16string_view) { return Text(u"0"); }},
    // Above every label the cell keeps its name.
    {u"__FUNC__", [](const Context& c, std::u16string_view cell) {
       return c.label.empty() ? Text(cell) : Text(c.label.substr(0, c.label.size() - 1));
     }},
    {u"__CTIMER__", [](const Context& c, std::u16string_view) { return IntToText(c.startTime); }},
};

// Every symbol's name begins with "__".
const Symbol* SymbolNamed(std::u16string_view cell) {
  if (!cell.starts_with(u"__")) return nullptr;
  for (const Symbol& symbol : kSymbols)
    if (cell == symbol.name) return &symbol;
  return nullptr;
}

}  // namespace

// The nearest label is the last one seen going down. Replacing a cell may move the table's texts,
// so the label is read anew for every row.
void ApplyPredefinedSymbols(LineTable& rows, int32_t startTime) {
  std::size_t labelRow = rows.size();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (IsLabel(rows[r][0])) labelRow = r;
    for (int column = 1; column <= 2; ++column) {
      const Symbol* symbol = SymbolNamed(rows[r][column]);
      if (!symbol) continue;
      Context context{r, startTime, labelRow < rows.size() ? rows[labelRow][0] : std::u16string_view()};
      rows.Set(r, column, symbol->replace(context, rows[r][column]));
    }
  }
}

}  // namespace orvelt::pelko
