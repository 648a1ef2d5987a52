// The staged integer arithmetic at the end of every evaluation: powers, then products and
// quotients, then sums and differences, each found by searching the text for operator characters.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/text.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

enum class ScanMode { first, last };

// The last occurrence of pattern starting at or before position (length - skip); 0 if none.
int64_t LastPosition(TextView text, TextView pattern, int64_t skip);
// The largest of the five positions found for "+", "-", "*", "/" and "^": first occurrences at or
// after n, or last occurrences with the last n characters not counted as start positions.
int64_t OperatorScan(TextView text, ScanMode mode, int64_t n);

// Trims, lower-cases and spells out "pi"; a text with an operator character becomes the decimal
// text of its integer result.
Text CalcArithmetic(const Text& t);
Text CalcPower(const Text& s);
Text CalcProduct(const Text& s);
Text CalcSum(const Text& s);

// The arithmetic of one operation as the stages compute it: wrapping 32-bit products, quotients
// truncated toward zero (a zero divisor, and -2147483648 / -1, give -2147483648), and powers taken
// in double precision.
int32_t Operate(int32_t a, char16_t op, int32_t b);

}  // namespace orvelt::zunt
