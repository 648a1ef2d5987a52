// The instruction set as one list, in dispatch order, and the conditions that jumps and calls test
// on the comparison result S. The handlers' declarations, the dispatch table, the decoder's jumps and
// the instruction table of docs/pelko.md are all made from this list.
#pragma once
#include <cstdint>

namespace orvelt::pelko {

// X(condition, holds): the conditions that jumps and calls test, and when each holds for the
// comparison result s: the first operand of the last "cmp" minus the second, so "jg" (Negative)
// jumps when the second was the greater.
#define PELKO_CONDITIONS(X) \
  X(Always, true)           \
  X(Zero, s == 0)           \
  X(NonZero, s != 0)        \
  X(Negative, s < 0)        \
  X(NotPositive, s <= 0)    \
  X(Positive, s > 0)        \
  X(NotNegative, s >= 0)

enum class Condition : uint8_t {
  None,  // not a jump or call
#define PELKO_CONDITION_NAME(condition, holds) condition,
  PELKO_CONDITIONS(PELKO_CONDITION_NAME)
#undef PELKO_CONDITION_NAME
};

constexpr bool Holds(Condition condition, int32_t s) {
  switch (condition) {
#define PELKO_CONDITION_CASE(condition, holds) \
  case Condition::condition:                   \
    return holds;
    PELKO_CONDITIONS(PELKO_CONDITION_CASE)
#undef PELKO_CONDITION_CASE
    case Condition::None:
      break;
  }
  return false;
}

}  // namespace orvelt::pelko

// X(mnemonic, handler, condition, operands, effect): the mnemonic as the source writes it, the
// handler Run<handler>, the condition of a jump or call (None for every other instruction), and the
// operands and effect as the guide's instruction table shows them. Consecutive entries with the same
// operands and effect share one line of that table.
#define PELKO_INSTRUCTIONS(X)                                                                              \
  X(u"mov", Mov, None, "dest, source",                                                                     \
    "int: the source's integer; string: the source text; single: the source's value")                     \
  X(u"app", App, None, "title", "the window title for the next `gfx` (quotes removed)")                   \
  X(u"add", Add, None, "dest, source", "add; a string destination appends the source")                    \
  X(u"sub", Sub, None, "dest, source", "subtract (strings unchanged)")                                    \
  X(u"mul", Mul, None, "dest, source", "multiply; an int is multiplied in single precision and truncated") \
  X(u"div", Div, None, "dest, source",                                                                     \
    "int: divided in single precision, truncated (`div cx, 0` gives -2147483648); single: divided by the " \
    "source's *integer* (2.5 divides by 2)")                                                              \
  X(u"cos", Cos, None, "dest", "cosine in degrees, of the first single cell with that name")              \
  X(u"sin", Sin, None, "dest", "sine in degrees, of the first single cell with that name")                \
  X(u"inc", Inc, None, "dest", "add 1")                                                                   \
  X(u"dec", Dec, None, "dest", "subtract 1")                                                              \
  X(u"ce", Call, Zero, "label", "call when S = 0")                                                        \
  X(u"cz", Call, Zero, "label", "call when S = 0")                                                        \
  X(u"cne", Call, NonZero, "label", "call when S is not 0")                                               \
  X(u"cnz", Call, NonZero, "label", "call when S is not 0")                                               \
  X(u"cg", Call, Negative, "label", "call when S < 0")                                                    \
  X(u"cge", Call, NotPositive, "label", "call when S <= 0")                                               \
  X(u"cl", Call, Positive, "label", "call when S > 0")                                                    \
  X(u"cle", Call, NotNegative, "label", "call when S >= 0")                                               \
  X(u"jmp", Jump, Always, "label", "jump")                                                                \
  X(u"jz", Jump, Zero, "label", "jump when S = 0")                                                        \
  X(u"je", Jump, Zero, "label", "jump when S = 0")                                                        \
  X(u"jnz", Jump, NonZero, "label", "jump when S is not 0")                                               \
  X(u"jne", Jump, NonZero, "label", "jump when S is not 0")                                               \
  X(u"jl", Jump, Positive, "label", "jump when S > 0: the second operand was less")                       \
  X(u"jle", Jump, NotNegative, "label", "jump when S >= 0")                                               \
  X(u"jg", Jump, Negative, "label", "jump when S < 0: the *second* operand was greater")                  \
  X(u"jge", Jump, NotPositive, "label", "jump when S <= 0")                                               \
  X(u"neg", Neg, None, "dest", "change the sign")                                                         \
  X(u"not", Not, None, "dest", "1 when zero, else 0")                                                     \
  X(u"jcxz", Jcxz, None, "label", "jump when the register `cx` is 0")                                     \
  X(u"and", And, None, "dest, source", "0 when the source is 0, else unchanged")                          \
  X(u"or", Or, None, "dest, source", "the source when it is not 0, else unchanged")                       \
  X(u"xor", Xor, None, "dest, source",                                                                     \
    "unchanged when the source is 0, else source minus dest (singles count as 1 or 0 here)")               \
  X(u"gfx", Gfx, None, "width, height",                                                                    \
    "open a window at (32, 32) of the screen; the sizes are read as written (`gfx cx, 100` means width "   \
    "0)")                                                                                                 \
  X(u"org", Org, None, "x, y", "set the draw position")                                                   \
  X(u"cls", Cls, None, "", "clear the window black")                                                      \
  X(u"flip", Flip, None, "", "show what was drawn")                                                       \
  X(u"wait", Wait, None, "", "wait for the next tick of the 60 Hz frame timer")                           \
  X(u"dot", Dot, None, "x, y", "one white pixel at x, y")                                                 \
  X(u"rect", Rect, None, "w, h", "filled white rectangle at the draw position")                           \
  X(u"oval", Oval, None, "w, h", "filled white oval in that rectangle")                                   \
  X(u"text", Text, None, "text", "draw the text at the draw position (quotes are drawn too)")             \
  X(u"rnd", Rnd, None, "a, b",                                                                             \
    "a random integer between b and a (both included, either order) into `ax`; `rnd 6` gives 0 to 6")     \
  X(u"cmp", Cmp, None, "first, second", "sets S (see below)")                                             \
  X(u"call", Call, Always, "label", "call; `ret` comes back to the row after it")                         \
  X(u"ret", Ret, None, "", "return from a call")                                                          \
  X(u"int", Int, None, "service, argument", "console and keyboard services, below")                       \
  X(u"push", Push, None, "value", "push the value (a name pushes its cell's value; quotes removed)")       \
  X(u"pop", Pop, None, "dest", "pop into every cell of that name; without an operand into `dx`")          \
  X(u"end", End, None, "", "end the program")
