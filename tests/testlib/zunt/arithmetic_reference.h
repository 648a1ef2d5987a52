// zunt's arithmetic stages computed by their literal recursive definition, one copy per step: the
// reference the fast stages are held against. Only for short texts: the recursion is as deep as
// the text has operators.
#pragma once
#include "runtime/text.h"

namespace orvelt::zunt::reference {

Text CalcArithmetic(const Text& t);
Text CalcPower(const Text& s);
Text CalcProduct(const Text& s);
Text CalcSum(const Text& s);

}  // namespace orvelt::zunt::reference
