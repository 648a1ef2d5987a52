// The sorted name and label tables of the decoded path.
#include "pelko/name_index.h"

#include <algorithm>

namespace orvelt::pelko {
namespace {

bool IsNumberUnit(char16_t unit) {
  return (unit >= u'0' && unit <= u'9') || unit == u'.' || unit == u'-' || unit == u'+' || unit == u'e';
}

// Could this name equal IntToText or FloatToText of some value (digits, sign, point, exponent, or
// the texts of the infinities and not-a-number)?
bool NumberLikeName(std::u16string_view name) {
  if (name == u"inf" || name == u"-inf" || name == u"nan") return true;
  return !name.empty() && std::all_of(name.begin(), name.end(), IsNumberUnit);
}

// The tables only need some strict order: by length first, so that most comparisons of names
// that share a long prefix ("values[12]" and "values[3]") end at once.
bool NameBefore(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return a.size() < b.size();
  return std::char_traits<char16_t>::compare(a.data(), b.data(), a.size()) < 0;
}

}  // namespace

void NameIndex::Build(const VariableList& variables) {
  const int32_t count = static_cast<int32_t>(variables.size());
  std::vector<int32_t> order(variables.size());
  for (int32_t i = 0; i < count; ++i) order[i] = i;
  // A stable sort keeps the cells of one name in list order. The elements of an array come in
  // this order already, so a list of registers and one large array needs no sorting at all.
  auto before = [&](int32_t a, int32_t b) { return NameBefore(variables[a].name, variables[b].name); };
  if (!std::is_sorted(order.begin(), order.end(), before)) std::stable_sort(order.begin(), order.end(), before);
  entries_.clear();
  cells_.clear();
  numeric_.clear();
  cellEntry_.assign(variables.size(), -1);
  cells_.reserve(variables.size());
  for (std::size_t i = 0; i < order.size();) {
    const Text& name = variables[order[i]].name;
    Entry entry{&name, static_cast<int32_t>(cells_.size()), 0, static_cast<int32_t>(numeric_.size()), 0, -1};
    for (; i < order.size() && variables[order[i]].name == name; ++i) {
      const TVariable& cell = variables[order[i]];
      cellEntry_[static_cast<std::size_t>(order[i])] = static_cast<int32_t>(entries_.size());
      cells_.push_back(order[i]);
      if (cell.typ == kTypInt || cell.typ == kTypSingle) numeric_.push_back(order[i]);
      if (cell.typ == kTypSingle && entry.firstSingle < 0) entry.firstSingle = order[i];
    }
    entry.end = static_cast<int32_t>(cells_.size());
    entry.numericEnd = static_cast<int32_t>(numeric_.size());
    entries_.push_back(entry);
  }
  firstUnits_.fill(0);
  longNames_ = false;
  for (const TVariable& cell : variables) {
    if (cell.name.size() >= kShortName) longNames_ = true;
    else firstUnits_[cell.name.size()] |= uint64_t{1} << (cell.name.empty() ? 0 : cell.name[0] % 64);
  }
  numericLengths_.clear();
  for (const TVariable& cell : variables)
    if ((cell.typ == kTypInt || cell.typ == kTypSingle) &&
        (numericLengths_.empty() || numericLengths_.back() != cell.name.size()))
      numericLengths_.push_back(cell.name.size());
  std::sort(numericLengths_.begin(), numericLengths_.end());
  numericLengths_.erase(std::unique(numericLengths_.begin(), numericLengths_.end()), numericLengths_.end());
  numberNameFrom_.assign(variables.size() + 1, 0);
  for (int32_t i = count - 1; i >= 0; --i)
    numberNameFrom_[i] = numberNameFrom_[i + 1] || NumberLikeName(variables[i].name);
}

bool NameIndex::MayBeNamed(std::u16string_view name) const {
  if (name.size() >= kShortName) return longNames_;
  return (firstUnits_[name.size()] >> (name.empty() ? 0 : name[0] % 64) & 1) != 0;
}

int32_t NameIndex::EntryOf(std::u16string_view name) const {
  if (!MayBeNamed(name)) return -1;
  auto it = std::lower_bound(entries_.begin(), entries_.end(), name,
                             [](const Entry& entry, std::u16string_view key) { return NameBefore(*entry.name, key); });
  if (it == entries_.end() || *it->name != name) return -1;
  return static_cast<int32_t>(it - entries_.begin());
}

int32_t NameIndex::NextNamed(std::u16string_view name, int32_t after, bool numericOnly) const {
  int32_t index = EntryOf(name);
  if (index < 0) return -1;
  const Entry* entry = &entries_[static_cast<std::size_t>(index)];
  const int32_t* begin = (numericOnly ? numeric_.data() + entry->numericBegin : cells_.data() + entry->begin);
  const int32_t* end = (numericOnly ? numeric_.data() + entry->numericEnd : cells_.data() + entry->end);
  const int32_t* next = std::upper_bound(begin, end, after);
  return next == end ? -1 : *next;
}

bool NameIndex::NumberMayNameAfter(int32_t cell) const {
  std::size_t from = static_cast<std::size_t>(cell) + 1;
  return from < numberNameFrom_.size() && numberNameFrom_[from] != 0;
}

void LabelIndex::Build(const LineTable& rows) {
  entries_.clear();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::u16string_view first = rows[r][0];
    if (!first.empty() && first.back() == u':')
      entries_.push_back({first.substr(0, first.size() - 1), static_cast<int32_t>(r)});
  }
  // A label defined twice resolves to its first row: the stable sort keeps it in front.
  std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  entries_.erase(std::unique(entries_.begin(), entries_.end(),
                             [](const Entry& a, const Entry& b) { return a.name == b.name; }),
                 entries_.end());
}

int32_t LabelIndex::Target(std::u16string_view name) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), name,
                             [](const Entry& entry, std::u16string_view key) { return entry.name < key; });
  if (it != entries_.end() && it->name == name) return it->row;
  return name == u"main" ? kLabelDefault : kLabelMissing;
}

}  // namespace orvelt::pelko
