// Which records' names can stand in a text or start a line, found by the first character of each
// name instead of a walk over the whole list. The records it yields are exactly those of the walk
// that a quick test would not throw out, in list order.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "zunt/text_view.h"

namespace orvelt::zunt {

// The characters of a text, as buckets: one per character below 128, one for all others.
class PresentChars {
 public:
  explicit PresentChars(TextView s) { Add(s); }
  // Adds the characters of s; calls onNew(bucket) for every bucket that was not present before.
  template <typename OnNew>
  void Add(TextView s, OnNew onNew) {
    std::array<uint64_t, 2> before = bits_;
    bool otherBefore = other_;
    Add(s);
    for (int word = 0; word < 2; ++word)
      for (uint64_t fresh = bits_[word] & ~before[word]; fresh != 0; fresh &= fresh - 1)
        onNew(word * 64 + __builtin_ctzll(fresh));
    if (other_ && !otherBefore) onNew(128);
  }
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (int word = 0; word < 2; ++word)
      for (uint64_t bits = bits_[word]; bits != 0; bits &= bits - 1) visit(word * 64 + __builtin_ctzll(bits));
    if (other_) visit(128);
  }

 private:
  void Add(TextView s) {
    for (char16_t c : s) {
      if (c < 128) bits_[c >> 6] |= uint64_t{1} << (c & 63);
      else other_ = true;
    }
  }
  std::array<uint64_t, 2> bits_{};
  bool other_ = false;
};

// One list's record numbers, bucketed by the first character of each name: exactly, for names met
// in a text, and with capitals lowered, for lines that start with a name in any letter case.
class NameBuckets {
 public:
  static constexpr int kOther = 128;  // names starting with a character above 127
  static constexpr int kEmpty = 129;  // the empty name
  static constexpr int kCount = 130;
  static int BucketOf(char16_t c) { return c < 128 ? c : kOther; }
  static int FoldedBucketOf(char16_t c) {
    return BucketOf((c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c);
  }

  // Adds the records appended since the last call; a list that became shorter is indexed anew.
  template <typename Records, typename NameOf>
  void Sync(const Records& records, NameOf nameOf) {
    if (records.size() < indexed_) Clear();
    for (; indexed_ < records.size(); ++indexed_) {
      const Text& name = nameOf(records[indexed_]);
      std::size_t number = indexed_;
      exact_[name.empty() ? kEmpty : BucketOf(name[0])].push_back(number);
      folded_[name.empty() ? kEmpty : FoldedBucketOf(name[0])].push_back(number);
    }
  }
  // For a change other than appending, such as a record moved to the end.
  void Invalidate() { Clear(); }

  const std::vector<std::size_t>& Exact(int bucket) const { return exact_[static_cast<std::size_t>(bucket)]; }
  const std::vector<std::size_t>& Folded(int bucket) const { return folded_[static_cast<std::size_t>(bucket)]; }

 private:
  void Clear() {
    for (auto& list : exact_) list.clear();
    for (auto& list : folded_) list.clear();
    indexed_ = 0;
  }
  std::array<std::vector<std::size_t>, kCount> exact_;
  std::array<std::vector<std::size_t>, kCount> folded_;
  std::size_t indexed_ = 0;
};

struct NameIndex {
  NameBuckets ivars;
  NameBuckets fvars;
  NameBuckets svars;
  NameBuckets arrays;
};

// Below this many records a list is walked whole: the walk is then quicker than the index.
constexpr std::size_t kIndexedListSize = 24;

// The numbers of the records whose names may start the line, in list order: those filed under
// the line's first character (letter case ignored) and those with the empty name.
template <typename Visit>
void ForEachLineCandidate(const NameBuckets& buckets, TextView line, Visit visit) {
  static const std::vector<std::size_t> kNone;
  const std::vector<std::size_t>& first = line.empty() ? kNone : buckets.Folded(NameBuckets::FoldedBucketOf(line[0]));
  const std::vector<std::size_t>& empty = buckets.Folded(NameBuckets::kEmpty);
  std::size_t i = 0, j = 0;
  while (i < first.size() || j < empty.size()) {
    if (j == empty.size() || (i < first.size() && first[i] < empty[j])) visit(first[i++]);
    else visit(empty[j++]);
  }
}

}  // namespace orvelt::zunt
