// The line table: three columns of text per row of the ".text" section, the texts of all rows kept
// end to end in one store, so that a row costs its text and a few numbers.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace orvelt::pelko {

// Column 0: mnemonic, label or declared name; column 1: first operand or type word; column 2: second
// operand or initial value. A row while the loader fills it.
using Row = std::array<Text, 3>;

class LineTable {
 public:
  // One row as read back: its three columns.
  class RowView {
   public:
    RowView(const LineTable& table, std::size_t row) : table_(table), row_(row) {}
    std::u16string_view operator[](int column) const { return table_.Column(row_, column); }

   private:
    const LineTable& table_;
    std::size_t row_;
  };

  LineTable() = default;
  LineTable(std::initializer_list<Row> rows);

  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  RowView operator[](std::size_t row) const { return RowView(*this, row); }
  std::u16string_view Column(std::size_t row, int column) const {
    const Spans& spans = spans_[row];
    uint32_t begin = column == 0 ? 0 : spans.end[column - 1];
    return std::u16string_view(units_.data() + spans.begin + begin, spans.end[column] - begin);
  }

  // Room for this many rows and units of text, so that filling the table moves nothing.
  void Reserve(std::size_t rows, std::size_t units);
  // Throws std::length_error for a row of 2^32 units or more.
  void Append(const Row& row);
  // Gives one column a new text. Views handed out before stay valid only until the next change.
  void Set(std::size_t row, int column, std::u16string_view text);

 private:
  struct Spans {
    uint64_t begin;                // where column 0 starts
    std::array<uint32_t, 3> end;  // where each column ends, from begin; the next begins there
  };
  void AppendColumns(Spans& spans, const std::array<std::u16string_view, 3>& columns);

  std::u16string units_;
  std::vector<Spans> spans_;
};

}  // namespace orvelt::pelko
