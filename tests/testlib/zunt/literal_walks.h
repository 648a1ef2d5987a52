// zunt's expression evaluation, declarations and assignments by their literal steps: whole-list
// walks, the runtime's own text operations, real recursion for index and sine texts, and the
// literal arithmetic stages. The reference the interpreter's fast paths are held against.
#pragma once
#include <cstddef>
#include <vector>

#include "runtime/text.h"
#include "zunt/script.h"

namespace orvelt::zunt::reference {

// Thrown when the nesting goes deeper, or the inner texts evaluated take more characters, than the
// walk was allowed: the caller has no reference then. Within these bounds the interpreter's own
// bound on the work of inner levels is never reached.
struct GaveUp {};

class LiteralWalks {
 public:
  explicit LiteralWalks(TScript& script, std::size_t maxDepth = 1000, std::size_t maxWork = std::size_t{1} << 16)
      : script_(script), maxDepth_(maxDepth), workLeft_(maxWork) {}

  Text Calc2(const Text& expr);
  void DeclareFromLine(const Text& line, ElementType type);
  bool AssignFromLine(const Text& line);

 private:
  Text Evaluate(const Text& expr);
  Text Nested(const Text& text);
  void Spend(std::size_t units);  // the characters an inner text takes; GaveUp beyond the bound

  TScript& script_;
  std::size_t maxDepth_;
  std::size_t workLeft_;       // characters inner texts, and the texts made of them, may still take
  std::vector<Text> running_;  // the texts being evaluated, outermost first
};

}  // namespace orvelt::zunt::reference
