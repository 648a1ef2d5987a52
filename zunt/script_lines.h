// The lines of a loaded script, kept one after another in one buffer: a line costs its characters
// and the offset where it ends, not a text object of its own.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace orvelt::zunt {

class ScriptLines {
 public:
  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }

  std::u16string_view operator[](std::size_t i) const {
    std::size_t start = i == 0 ? 0 : ends_[i - 1];
    return std::u16string_view(units_).substr(start, ends_[i] - start);
  }

  void Append(std::u16string_view line) {
    units_.append(line);
    ends_.push_back(units_.size());
  }

  // Room for this many more characters and lines.
  void Reserve(std::size_t units, std::size_t lines) {
    units_.reserve(units_.size() + units);
    ends_.reserve(ends_.size() + lines);
  }

  void Clear() {
    Text().swap(units_);
    std::vector<std::size_t>().swap(ends_);
  }

 private:
  Text units_;
  std::vector<std::size_t> ends_;  // where each line ends in units_
};

}  // namespace orvelt::zunt
