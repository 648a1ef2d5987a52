// The indexed working text of the power and product stages: operator positions by character, and
// the places where a canonical operation text can stand, bucketed by their neighbouring characters.
#include "zunt/stage_text.h"

#include <algorithm>

namespace orvelt::zunt {
namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The character after a candidate: a digit, or "-" as bucket 10.
constexpr int AfterCode(char16_t c) { return c == u'-' ? 10 : c - u'0'; }

}  // namespace

int OperatorIndex(char16_t c) {
  switch (c) {
    case u'+': return 0;
    case u'-': return 1;
    case u'*': return 2;
    case u'/': return 3;
    case u'^': return 4;
    default: return -1;
  }
}

StageText::StageText(TextView operators, Text initial) {
  stageOperators_[0] = operators.empty() ? u'\0' : operators[0];
  stageOperators_[1] = operators.size() > 1 ? operators[1] : stageOperators_[0];
  Append(initial);
}

int StageText::StageIndex(char16_t c) const {
  if (c == stageOperators_[0]) return 0;
  if (c == stageOperators_[1]) return 1;
  return -1;
}

int StageText::BucketOf(std::size_t p) const {
  return ((text_[p - 1] - u'0') * 2 + StageIndex(text_[p])) * 11 + AfterCode(text_[p + 1]);
}

void StageText::AddCandidate(std::size_t p) {
  candidates_.push_back(p);
  buckets_[BucketOf(p)].push_back(p);
}

void StageText::PopCandidate() {
  int bucket = BucketOf(candidates_.back());
  buckets_[bucket].pop_back();
  for (Checked& checked : checked_[bucket]) checked.upTo = std::min(checked.upTo, buckets_[bucket].size());
  candidates_.pop_back();
}

// A character at index i decides whether the stage operator before it is a candidate.
void StageText::NoteAppended(std::size_t i) {
  char16_t c = text_[i];
  int which = OperatorIndex(c);
  if (which >= 0) positions_[which].push_back(i);
  if (i < 2 || StageIndex(text_[i - 1]) < 0) return;
  if (!IsDigit(text_[i - 2]) || !(IsDigit(c) || c == u'-')) return;
  AddCandidate(i - 1);
}

void StageText::Append(TextView piece) {
  std::size_t from = text_.size();
  text_.append(piece);
  for (std::size_t i = from; i < text_.size(); ++i) NoteAppended(i);
}

// Candidates whose reach runs into the cut leave their buckets and come back at the end of them,
// so that what was checked about them is forgotten; the one just before pos loses the character
// that made it one, and appending decides it again.
void StageText::TruncateFrom(std::size_t pos) {
  for (auto& list : positions_)
    while (!list.empty() && list.back() >= pos) list.pop_back();
  std::vector<std::size_t> kept;
  while (!candidates_.empty() && candidates_.back() + kReach >= pos) {
    if (candidates_.back() + 1 < pos) kept.push_back(candidates_.back());
    PopCandidate();
  }
  text_.resize(pos);
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) AddCandidate(*it);
}

StageText::Checked& StageText::CheckedFor(int bucket, const Text& canon) {
  std::vector<Checked>& memo = checked_[bucket];
  for (Checked& checked : memo)
    if (checked.canon == canon) return checked;
  if (memo.size() < kCheckedPerBucket) {
    memo.push_back(Checked{canon, 0});
    return memo.back();
  }
  std::rotate(memo.begin(), memo.begin() + 1, memo.end());
  memo.back() = Checked{canon, 0};
  return memo.back();
}

int64_t StageText::LastOperatorBelow(std::size_t end) const {
  int64_t best = -1;
  for (const auto& list : positions_) {
    auto it = std::lower_bound(list.begin(), list.end(), end);
    if (it != list.begin()) best = std::max<int64_t>(best, *(it - 1));
  }
  return best;
}

int64_t StageText::FirstFrom(int which, std::size_t from) const {
  const auto& list = positions_[which];
  auto it = std::lower_bound(list.begin(), list.end(), from);
  return it == list.end() ? -1 : static_cast<int64_t>(*it);
}

int64_t StageText::LastOf(int which) const {
  const auto& list = positions_[which];
  return list.empty() ? -1 : static_cast<int64_t>(list.back());
}

// Occurrences are taken from the left and never overlap, as ReplaceText scans; each one is
// centred on a candidate of the bucket that its neighbouring characters name.
void StageText::ReplaceAll(TextView a, char16_t op, TextView b, TextView replacement) {
  if (a.empty() || b.empty() || StageIndex(op) < 0 || !IsDigit(a.back())) return;
  if (!(IsDigit(b.front()) || b.front() == u'-')) return;
  int bucket = ((a.back() - u'0') * 2 + StageIndex(op)) * 11 + AfterCode(b.front());
  Text canon = Text(a) + op + Text(b);
  Checked& checked = CheckedFor(bucket, canon);
  const std::vector<std::size_t>& list = buckets_[bucket];
  std::vector<std::size_t> starts;
  std::size_t freeFrom = 0;
  TextView all(text_);
  for (std::size_t k = checked.upTo; k < list.size(); ++k) {
    std::size_t p = list[k];
    if (p < a.size()) continue;
    std::size_t start = p - a.size();
    if (start < freeFrom || p + 1 + b.size() > all.size()) continue;
    if (all.substr(start, a.size()) != a || all.substr(p + 1, b.size()) != b) continue;
    starts.push_back(start);
    freeFrom = p + 1 + b.size();
  }
  if (starts.empty()) {
    // Candidates whose whole reach is already written are settled for this text.
    std::size_t settled = list.size();
    while (settled > checked.upTo && list[settled - 1] + 1 + kReach > all.size()) --settled;
    checked.upTo = settled;
    return;
  }
  std::size_t length = canon.size();
  Text rest = text_.substr(starts.front());
  std::size_t base = starts.front();
  TruncateFrom(base);
  std::size_t from = 0;
  for (std::size_t start : starts) {
    Append(TextView(rest).substr(from, start - base - from));
    Append(replacement);
    from = start - base + length;
  }
  Append(TextView(rest).substr(from));
}

}  // namespace orvelt::zunt
