// The line table's store: appending rows and giving a column a new text.
#include "pelko/line_table.h"

#include <stdexcept>

namespace orvelt::pelko {

void LineTable::AppendColumns(Spans& spans, const std::array<std::u16string_view, 3>& columns) {
  if (columns[0].size() + columns[1].size() + columns[2].size() > UINT32_MAX) throw std::length_error("row");
  spans.begin = units_.size();
  for (int c = 0; c < 3; ++c) {
    units_.append(columns[c]);
    spans.end[c] = static_cast<uint32_t>(units_.size() - spans.begin);
  }
}

LineTable::LineTable(std::initializer_list<Row> rows) {
  for (const Row& row : rows) Append(row);
}

void LineTable::Reserve(std::size_t rows, std::size_t units) {
  spans_.reserve(rows);
  units_.reserve(units);
}

void LineTable::Append(const Row& row) {
  Spans spans{};
  AppendColumns(spans, {row[0], row[1], row[2]});
  spans_.push_back(spans);
}

// The row's columns are written anew at the end of the store, so that they stay side by side.
void LineTable::Set(std::size_t row, int column, std::u16string_view text) {
  Row columns;
  for (int c = 0; c < 3; ++c) columns[c] = c == column ? Text(text) : Text(Column(row, c));
  AppendColumns(spans_[row], {columns[0], columns[1], columns[2]});
}

}  // namespace orvelt::pelko
