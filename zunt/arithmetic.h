// The staged integer arithmetic at the end of every evaluation: powers, then products and
// quotients, then sums and differences, each found by searching the text for operator characters.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/text.h"

namespace orvelt::zunt {

enum class ScanMode { first, last };

// The last occurrence of pattern starting at or before position (length - skip); 0 if none.
int LastPosition(const Text& text, const Text& pattern, int skip);
// The largest of the five positions found for "+", "-", "*", "/" and "^": first occurrences at or
// after n, or last occurrences with the last n characters not counted as start positions.
int OperatorScan(const Text& text, ScanMode mode, int n);

// Trims, lower-cases and spells out "pi"; a text with an operator character becomes the decimal
// text of its integer result. A result longer than maxLength ends the program (out of memory).
Text CalcArithmetic(const Text& t, std::size_t maxLength = std::size_t{1} << 25);
Text CalcPower(const Text& s);
Text CalcProduct(const Text& s);
Text CalcSum(const Text& s);

// The arithmetic of one operation as the stages compute it: wrapping 32-bit products, quotients
// truncated toward zero (a zero divisor, and -2147483648 / -1, give -2147483648), and powers taken
// in double precision.
int32_t Operate(int32_t a, char16_t op, int32_t b);

// The same stages computed by their literal recursive definition, one copy per step: the
// reference the fast stages are held against in tests and fuzzing. Only for short texts: the
// recursion is as deep as the text has operators.
namespace reference {
Text CalcArithmetic(const Text& t, std::size_t maxLength = std::size_t{1} << 25);
Text CalcPower(const Text& s);
Text CalcProduct(const Text& s);
Text CalcSum(const Text& s);
}  // namespace reference

}  // namespace orvelt::zunt
