// The working text of the power or product stage while its operations are carried out from left
// to right, kept with indexes so that each step finds its operands and its canonical text without
// walking the whole text again.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "runtime/text.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

class StageText {
 public:
  // operators: the stage's own operator characters ("^", or "*" and "/").
  StageText(TextView operators, Text initial);

  const Text& text() const { return text_; }
  std::size_t size() const { return text_.size(); }
  Text Take() { return std::move(text_); }

  void Append(TextView piece);

  // Index (0-based) of the last of "+", "-", "*", "/", "^" below index end; -1 if none.
  int64_t LastOperatorBelow(std::size_t end) const;
  // Index of the first occurrence of operator character number which ("+-*/^") at or after from.
  int64_t FirstFrom(int which, std::size_t from) const;
  // Index of the last occurrence of operator character number which; -1 if none.
  int64_t LastOf(int which) const;

  // ReplaceText(text, a + op + b, replacement), for a ending in a digit and b starting with a digit
  // or "-", as every canonical operation text does.
  void ReplaceAll(TextView a, char16_t op, TextView b, TextView replacement);

 private:
  static constexpr int kBuckets = 10 * 2 * 11;
  // The longest operand of a canonical text, "-2147483648": how far a candidate's match can reach.
  static constexpr std::size_t kReach = 11;
  // A canonical text that the first upTo candidates of a bucket were found not to hold; with the
  // characters around them unchanged since, they need not be looked at again for it.
  struct Checked {
    Text canon;
    std::size_t upTo = 0;
  };
  static constexpr std::size_t kCheckedPerBucket = 8;

  int StageIndex(char16_t c) const;
  int BucketOf(std::size_t operatorIndex) const;
  void AddCandidate(std::size_t p);
  void PopCandidate();
  void NoteAppended(std::size_t index);
  void TruncateFrom(std::size_t pos);
  Checked& CheckedFor(int bucket, const Text& canon);

  Text text_;
  std::array<char16_t, 2> stageOperators_{};
  std::array<std::vector<std::size_t>, 5> positions_;
  // Stage operators with a digit before and a digit or "-" after: the only places where a
  // canonical operation text can stand. Sorted, and sorted again within each bucket, the bucket
  // telling the digit before, the operator and the character after.
  std::vector<std::size_t> candidates_;
  std::array<std::vector<std::size_t>, kBuckets> buckets_;
  std::array<std::vector<Checked>, kBuckets> checked_;
};

// Index of c in "+-*/^", or -1.
int OperatorIndex(char16_t c);

}  // namespace orvelt::zunt
