// The staged integer arithmetic: "^" first, then "*" and "/", then "+" and "-". Each stage is
// defined recursively on the text left of its last operator; here the recursion runs as a loop
// from the first operator to the last, which gives the same texts in the same order.
#include "zunt/arithmetic.h"

#include <climits>
#include <cmath>
#include <vector>

#include "runtime/wrapping.h"
#include "zunt/stage_level.h"
#include "zunt/stage_text.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {
namespace {

constexpr char16_t kOperators[] = u"+-*/^";
const Text kPi = u"pi";
const Text kPiDigits = u"3.1415926535897931";

std::vector<std::size_t> PositionsOf(const Text& s, TextView operators) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (operators.find(s[i]) != TextView::npos) found.push_back(i);
  return found;
}

// The text the stage works on at level j: what stands before the next operator, trimmed.
TextView LevelView(const Text& s, const std::vector<std::size_t>& ops, std::size_t j) {
  if (j + 1 == ops.size()) return s;
  return TrimView(TextView(s).substr(0, ops[j + 1]));
}

// The first operand: what follows the last operator of the evaluated left part, its last
// character not counting, at most k characters.
int32_t FirstOperand(const StageText& left, int64_t k) {
  int64_t lastOperator = left.size() == 0 ? -1 : left.LastOperatorBelow(left.size() - 1);
  return TextToInt(MidView(left.text(), lastOperator + 2, k));
}

// OperatorScan(text, first, from) on the indexed text.
int64_t ScanFirst(const StageText& t, int64_t from) {
  int64_t best = 0;
  for (int which = 0; which < 5; ++which) {
    int64_t found = t.FirstFrom(which, static_cast<std::size_t>(from - 1));
    if (found >= 0) best = std::max(best, found + 1);
  }
  return best;
}

// One level from the third on. Its left part stands whole at the start of its text (and, holding
// two stage operators, nowhere else), so replacing it by its value means appending the rest.
void ReduceLevel(StageText& w, TextView tail, int64_t k) {
  char16_t op = tail[0];
  int32_t a = FirstOperand(w, k);
  w.Append(tail);
  int64_t next = ScanFirst(w, k + 1);
  int64_t q = w.LastOf(OperatorIndex(op)) + 1;
  int32_t b = TextToInt(MidView(w.text(), q + 1, next - q - 1));
  w.ReplaceAll(IntToText(a), op, IntToText(b), IntToText(Operate(a, op, b)));
}

// ReplaceText(level, left, leftValue) for the first two levels, without searching for the long
// left part: it stands at the start, and further on only where the level's one remaining stage
// operator lines up with the left part's own, which needs that part to start with the operator.
Text ReplaceLeftPart(TextView level, TextView left, const Text& leftValue, bool leftStartsWithOperator) {
  TextView rest = level.substr(left.size());
  Text replaced = leftValue;
  if (leftStartsWithOperator && rest.substr(0, left.size()) == left) {
    replaced += leftValue;
    rest.remove_prefix(left.size());
  }
  replaced.append(rest);
  return replaced;
}

// The power or the product stage. The first two levels are done by their literal steps: only
// there can the left part stand a second time in the text.
Text CalcStage(const Text& input, TextView operators) {
  Text s = TrimText(input);
  std::vector<std::size_t> ops = PositionsOf(s, operators);
  if (ops.empty()) return s;
  Text value;
  for (std::size_t j = 0; j < ops.size() && j < 2; ++j) {
    TextView level = LevelView(s, ops, j);
    int64_t k = static_cast<int64_t>(ops[j]) + 1;
    TextView left = level.substr(0, ops[j]);
    Text leftValue = j == 0 ? Text(left) : std::move(value);
    // At the first level the left part is its own value: replacing it changes nothing.
    Text replaced = j == 0 ? Text(level) : ReplaceLeftPart(level, left, leftValue, ops[0] == 0);
    value = ReduceReplaced(replaced, k, leftValue, s[ops[j]]);
  }
  if (ops.size() <= 2) return value;
  StageText w(operators, std::move(value));
  for (std::size_t j = 2; j < ops.size(); ++j) {
    TextView level = LevelView(s, ops, j);
    ReduceLevel(w, level.substr(ops[j]), static_cast<int64_t>(ops[j]) + 1);
  }
  return w.Take();
}

}  // namespace

int32_t Operate(int32_t a, char16_t op, int32_t b) {
  switch (op) {
    case u'+': return WrappingAdd(a, b);
    case u'-': return WrappingSubtract(a, b);
    case u'*': return WrappingMultiply(a, b);
    case u'/':
      if (b == 0 || (a == INT32_MIN && b == -1)) return INT32_MIN;
      return a / b;
    case u'^': return FloatToInt(std::pow(static_cast<double>(a), static_cast<double>(b)));
    default: return 0;
  }
}

int64_t LastPosition(TextView text, TextView pattern, int64_t skip) {
  int64_t last = static_cast<int64_t>(text.size()) - skip;
  if (pattern.empty() || last < 1) return 0;
  std::size_t found = text.rfind(pattern, static_cast<std::size_t>(last - 1));
  return found == TextView::npos ? 0 : static_cast<int64_t>(found) + 1;
}

int64_t OperatorScan(TextView text, ScanMode mode, int64_t n) {
  int64_t best = 0;
  for (char16_t c : TextView(kOperators)) {
    TextView op(&c, 1);
    best = std::max(best, mode == ScanMode::first ? FindUnit(text, c, n) : LastPosition(text, op, n));
  }
  return best;
}

Text ReduceReplaced(const Text& replaced, int64_t k, const Text& leftValue, char16_t op) {
  TextView first = MidView(leftValue, OperatorScan(leftValue, ScanMode::last, 1) + 1, k);
  int64_t next = OperatorScan(replaced, ScanMode::first, k + 1);
  int64_t q = LastPosition(replaced, TextView(&op, 1), 0);
  TextView second = MidView(replaced, q + 1, next - q - 1);
  int32_t a = TextToInt(first);
  int32_t b = TextToInt(second);
  return ReplaceText(replaced, IntToText(a) + op + IntToText(b), IntToText(Operate(a, op, b)));
}

Text CalcPower(const Text& s) { return CalcStage(s, u"^"); }

Text CalcProduct(const Text& s) { return CalcStage(s, u"*/"); }

// The left part evaluated is always the decimal text of the sum so far, so the stage is a fold.
Text CalcSum(const Text& input) {
  Text s = TrimText(input);
  std::vector<std::size_t> ops = PositionsOf(s, u"+-");
  if (ops.empty()) return s;
  TextView all(s);
  int32_t sum = TextToInt(all.substr(0, ops[0]));
  for (std::size_t j = 0; j < ops.size(); ++j) {
    std::size_t end = j + 1 < ops.size() ? ops[j + 1] : s.size();
    int32_t operand = TextToInt(all.substr(ops[j] + 1, end - ops[j] - 1));
    sum = Operate(sum, s[ops[j]], operand);
  }
  return IntToText(sum);
}

Text CalcArithmetic(const Text& t) {
  Text s = LowerText(TrimText(t));
  if (s.find(kPi) != Text::npos) s = ReplaceText(s, kPi, kPiDigits);
  if (!ContainsAnyOf(s, kOperators)) return s;
  return IntToText(TextToInt(CalcSum(CalcProduct(CalcPower(s)))));
}

}  // namespace orvelt::zunt
