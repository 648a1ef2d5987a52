// Lookups that the decoded path reads off sorted tables built once after loading: the cells of
// every name in list order, and the first row of every label. No cell or label row is added or
// removed while a program runs, so the tables stay valid for the whole run.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "pelko/loader.h"
#include "pelko/symbols.h"

namespace orvelt::pelko {

// The cells one text names.
struct NameRef {
  const int32_t* cells = nullptr;  // every cell of that name, in list order
  int32_t count = 0;
  const int32_t* numeric = nullptr;  // its int and single cells, in list order
  int32_t numericCount = 0;
  int32_t firstSingle = -1;

  int32_t First() const { return count > 0 ? cells[0] : -1; }
  int32_t FirstNumeric() const { return numericCount > 0 ? numeric[0] : -1; }
};

class NameIndex {
  static constexpr std::size_t kShortName = 64;

 public:
  void Build(const VariableList& variables);
  NameRef Find(std::u16string_view name) const { return Ref(EntryOf(name)); }
  // The entry of a name, -1 when no cell bears it; the cells of an entry.
  int32_t EntryOf(std::u16string_view name) const;
  NameRef Ref(int32_t entry) const {
    if (entry < 0) return NameRef();
    const Entry& e = entries_[static_cast<std::size_t>(entry)];
    return NameRef{cells_.data() + e.begin, e.end - e.begin, numeric_.data() + e.numericBegin,
                   e.numericEnd - e.numericBegin, e.firstSingle};
  }
  // The entry of the name a cell bears.
  int32_t EntryOfCell(int32_t cell) const { return cellEntry_[static_cast<std::size_t>(cell)]; }
  // The first cell after the given one that bears this name (an int or single one when
  // numericOnly), or -1.
  int32_t NextNamed(std::u16string_view name, int32_t after, bool numericOnly) const;
  // False when no cell after the given one has a name that an int's or a single's value text could
  // equal; a chain ending in a number then stops there without its text being made.
  bool NumberMayNameAfter(int32_t cell) const;
  // The lengths that the names of int and single cells have, each once, ascending.
  const std::vector<std::size_t>& NumericNameLengths() const { return numericLengths_; }

 private:
  struct Entry {
    const Text* name;
    int32_t begin, end;  // into cells_
    int32_t numericBegin, numericEnd;  // into numeric_
    int32_t firstSingle;
  };
  // Most lookups miss (a number met in a chain, an index that names no cell); a name whose length
  // and first unit no cell shares is rejected without a search.
  bool MayBeNamed(std::u16string_view name) const;

  std::vector<Entry> entries_;  // sorted by name
  std::vector<int32_t> cellEntry_;  // per cell: its entry
  std::vector<int32_t> cells_;
  std::vector<int32_t> numeric_;
  std::vector<uint8_t> numberNameFrom_;  // [i]: some cell at i or later has a number-like name
  std::vector<std::size_t> numericLengths_;
  std::array<uint64_t, kShortName> firstUnits_{};  // [length]: bit (first unit % 64) per name
  bool longNames_ = false;                          // some name has kShortName units or more
};

// Where a jump to a label goes.
enum : int32_t {
  kLabelMissing = -1,     // the fatal label message
  kLabelDefault = -2,     // "main" without a label: the row of the jump itself
  kLabelUnresolved = -3,  // not decoded: looked up when the row runs
};

class LabelIndex {
 public:
  // The names are read off the table, which must not change while the index is in use.
  void Build(const LineTable& rows);
  // The first row whose column 0 is name + ":", kLabelDefault for a missing "main", else
  // kLabelMissing.
  int32_t Target(std::u16string_view name) const;

 private:
  struct Entry {
    std::u16string_view name;
    int32_t row;
  };
  std::vector<Entry> entries_;  // sorted by name, the first row of each
};

}  // namespace orvelt::pelko
