// The predefined symbols: whole operand cells replaced once, after loading, by values fixed for the
// whole run. The live clock "__TIMER__" is substituted per execution instead (operands.cpp).
#include "pelko/predefined.h"

namespace orvelt::pelko {
namespace {

bool IsLabel(const Text& mnemonic) { return !mnemonic.empty() && mnemonic.back() == u':'; }

// The nearest label at or above the row, by a walk upward that the rows share: each row's label is
// the last label seen going down.
std::vector<const Text*> NearestLabels(const LineTable& rows) {
  std::vector<const Text*> nearest(rows.size(), nullptr);
  const Text* label = nullptr;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (IsLabel(rows[r][0])) label = &rows[r][0];
    nearest[r] = label;
  }
  return nearest;
}

struct Context {
  std::size_t row;
  int32_t startTime;
  const Text* label;  // nullptr above every label
};

using Replacement = void (*)(const Context& context, Text& cell);

struct Symbol {
  const char16_t* name;
  Replacement replace;
};

const Symbol kSymbols[] = {
    {u"__LINE__", [](const Context& c, Text& cell) { cell = IntToText(static_cast<int32_t>(c.row)); }},
    {u"__WINDOWS__", [](const Context&, Text& cell) { cell = u"1"; }},
    {u"__LINUX__", [](const Context&, Text& cell) { cell = u"0"; }},
    {u"__MACOS__", [](const Context&, Text& cell) { cell = u"0"; }},
    // Above every label the cell keeps its name.
    {u"__FUNC__", [](const Context& c, Text& cell) {
       if (c.label) cell = LeftText(*c.label, static_cast<int>(c.label->size()) - 1);
     }},
    {u"__CTIMER__", [](const Context& c, Text& cell) { cell = IntToText(c.startTime); }},
};

void ReplaceWholeCell(const Context& context, Text& cell) {
  for (const Symbol& symbol : kSymbols)
    if (cell == symbol.name) {
      symbol.replace(context, cell);
      return;
    }
}

}  // namespace

void ApplyPredefinedSymbols(LineTable& rows, int32_t startTime) {
  std::vector<const Text*> nearest = NearestLabels(rows);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    Context context{r, startTime, nearest[r]};
    ReplaceWholeCell(context, rows[r][1]);
    ReplaceWholeCell(context, rows[r][2]);
  }
}

}  // namespace orvelt::pelko
