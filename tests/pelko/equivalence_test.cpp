// The decoded rows against the literal walks: generated programs full of duplicate names, cells
// named like numbers and string cells naming other cells must run alike both ways.
#include <gtest/gtest.h>

#include <random>

#include "pelko/decode.h"
#include "pelko/loader.h"
#include "tests/pelko/harness.h"
#include "tests/testlib/pelko/literal_walks.h"

using namespace orvelt;

namespace {

const char* const kNames[] = {"a",  "b",  "x",   "5",     "1.50000000", "-3", "cx", "dx",   "ax",  "arr[1]",
                              "i",  "j",  "s",   "0",     "7.00000000", "1",  "kbd", "cmd", "arr", "arr[i]",
                              "b[j]", "t", "2",   "inf",   "arr[j]",     "b[i]", "-1", "3"};
const char* const kValues[] = {"5", "0", "-3", "1.5", "7", "a", "x", "cx", "\"q\"", "\"a b\"", "2", "1", "s", "t",
                               "arr[1]", "inf", "$1f", "%101", ""};
const char* const kTypes[] = {"int", "string", "single"};
const char* const kTwoOperand[] = {"mov", "add", "sub", "mul", "div", "and", "or", "xor", "cmp", "rnd", "org", "dot"};
const char* const kOneOperand[] = {"inc", "dec", "neg", "not", "cos", "sin", "push", "pop", "app", "text"};
const char* const kJumps[] = {"jmp", "je", "jne", "jg", "jge", "jl", "jle", "jz", "jnz", "jcxz",
                              "call", "ce", "cne", "cg", "cl", "cge", "cle"};

class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {}

  std::string Program() {
    std::string source = ".data\n";
    int declarations = Pick(4, 14);
    for (int k = 0; k < declarations; ++k) source += Declaration() + "\n";
    source += ".text\n";
    std::vector<std::string> rows;
    for (int k = Pick(10, 40); k > 0; --k) rows.push_back(Row());
    // Every label is defined somewhere, so that most jumps land.
    for (int label = 0; label < 5; ++label)
      rows.insert(rows.begin() + Pick(0, static_cast<int>(rows.size())), "L" + std::to_string(label) + ":");
    for (const std::string& row : rows) source += row + "\n";
    return source;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  template <class T, std::size_t N>
  const char* Any(const T (&list)[N]) {
    return list[static_cast<std::size_t>(Pick(0, static_cast<int>(N) - 1))];
  }
  std::string Operand() {
    switch (Pick(0, 5)) {
      case 0:
        return Any(kValues);
      case 1:
        return "__TIMER__";
      default:
        return Any(kNames);
    }
  }
  std::string Declaration() {
    std::string name = Any(kNames);
    if (Pick(0, 5) == 0) name = std::string(Pick(0, 1) ? "arr[" : "b[") + std::to_string(Pick(-1, 3)) + "]";
    if (Pick(0, 12) == 0) return "";
    return name + " " + Any(kTypes) + " " + Any(kValues);
  }
  std::string Label() { return "L" + std::to_string(Pick(0, 4)); }
  std::string Row() {
    switch (Pick(0, 12)) {
      case 0:
      case 1:
        return std::string(Any(kJumps)) + " " + Label();
      case 2:
        return Pick(0, 2) == 0 ? "ret" : "cmp " + Operand() + ", " + Any(kValues);
      case 3:
      case 4:
        return "mov cmd, " + Operand() + "\nint print";
      case 5:
        return std::string(Any(kOneOperand)) + " " + Operand();
      default:
        return std::string(Any(kTwoOperand)) + " " + Operand() + ", " + Operand();
    }
  }

  std::mt19937 random_;
};

TEST(Equivalence, GeneratedProgramsRunAlikeBothWays) {
  pelko_test::RunSetup setup;
  setup.rowBudget = 3000;
  int fatal = 0, budgetSpent = 0, printed = 0;
  for (uint32_t seed = 1; seed <= 600; ++seed) {
    Generator generator(seed);
    std::string source = generator.Program();
    pelko_test::Outcome outcome = pelko_test::RunBothWays(source, setup);
    if (HasFailure()) {
      ADD_FAILURE() << "seed " << seed;
      break;
    }
    fatal += outcome.status != 0;
    budgetSpent += !outcome.ended;
    printed += !outcome.out.empty();
  }
  // The programs must get somewhere: most print, and not all of them stop at a fatal message.
  EXPECT_GT(printed, 300) << "fatal " << fatal << ", budget spent " << budgetSpent;
  EXPECT_LT(fatal, 450) << "printed " << printed << ", budget spent " << budgetSpent;
}

TEST(Equivalence, HandWrittenProgramsWithAmbiguousNames) {
  const char* const programs[] = {
      // Duplicate names: every destination, first source, first single for sin.
      ".data\nx int 1\nx single 2.5\nx string \"s\"\n.text\nadd x, x\nmov cmd, x\nint print\nsin x\n"
      "push x\npop cmd\nint print\ninc x\nmul x, x\ndiv x, x\nmov dx, x\nmov cmd, dx\nint print\n",
      // Cells named like the value texts of others.
      ".data\n5 int 6\n6 string \"7\"\n7 single 1.5\n1.50000000 string end\n.text\nmov cmd, 5\nint print\n"
      "mov cx, 5\nmov cmd, cx\nint print\nmov ax, 7\nmov dx, ax\nmov cmd, dx\nint print\ncmp cx, 5\n",
      // String cells naming cells further down, and back up.
      ".data\np string q\nq string r\nr int 42\nback string p\n.text\nmov cx, p\nmov cmd, cx\nint print\n"
      "mov dx, back\nmov cmd, dx\nint print\ncmp p, \"q\"\njz ok\nend\nok:\nmov cmd, \"ok\"\nint print\n",
      // Index substitution that produces the name of a number cell.
      ".data\ni int 2\n2 int 0\na[0] int 11\na[2] int 22\n.text\nmov cmd, a[i]\nint print\nmov 2, 1\n"
      "mov cmd, a[i]\nint print\ninc i\nmov cmd, a[i]\nint print\n",
      // The same destination as source with several cells of that name.
      ".data\nn int 3\nn int 4\n.text\nadd n, n\npush n\npop cmd\nint print\nmov dx, \"n\"\n",
      // Index through a single, written to by the loop.
      ".data\nf single 0\nv[3] int 0\n.text\nloop:\nmov v[f], f\nadd f, 1.5\ncmp f, 4\njg loop\n"
      "mov cmd, v[0]\nint print\nmov cmd, v[1]\nint print\nmov cmd, v[3]\nint print\n",
  };
  for (const char* program : programs) pelko_test::RunBothWays(program);
}

// Rows that the decoded loop runs without their handler, next to rows that look alike but must not.
TEST(Equivalence, ShortcutRowsAndTheirLookalikes) {
  const char* const programs[] = {
      ".text\nmov cx, 2147483646\ninc cx\ninc cx\nmov cmd, cx\nint print\ndec cx\nmov cmd, cx\nint print\n",
      ".data\nn int 1\nn single 1.5\n.text\ninc n\ndec n\ndec n\npush n\npop cmd\nint print\n",
      ".data\nc int 5\n5 int 9\n.text\ncmp c, 9\njz same\nend\nsame:\nmov cmd, \"chained\"\nint print\n",
      ".data\nc int 5\n.text\ncmp c, \"5\"\njz same\nend\nsame:\nmov cmd, \"text\"\nint print\n",
      ".data\nc int 5\nlimit int 5\n.text\ncmp c, limit\njz same\nend\nsame:\nmov cmd, \"cells\"\nint print\n",
      ".text\nmov cx, -2147483648\ncmp cx, 1\njg below\nmov cmd, \"wrapped\"\nint print\nend\nbelow:\n",
      ".text\ncmp 1, 1\njz main\nmov cmd, \"on\"\nint print\n",
      ".text\ncmp 1, 2\njg nowhere\n",
      ".data\nkbd int 3\n.text\ninc kbd\nmov cmd, kbd\nint print\n",
      ".text\nloop:\ndec cx\ncmp cx, -5\njle loop\njl loop\nmov cmd, cx\nint print\n",
  };
  for (const char* program : programs) pelko_test::RunBothWays(program);
}

// Elements reached from their index cell's value, next to the operands that must take the
// literal preparation: cells declared after the array, string and number-named index cells,
// indexes out of range, index texts that are not a plain name.
TEST(Equivalence, ElementsByIndexValueAndTheirLookalikes) {
  const std::string arrays = ".data\ni int 0\nf single 1.7\nv[3] int 5\nn[2] string \"s\"\n";
  const char* const programs[] = {
      // Negative and out-of-range indexes name no cell: the text itself is used.
      "loop:\nmov cmd, v[i]\nint print\nadd v[i], i\nadd cx, v[i]\nmov cmd, cx\nint print\nmov dx, n[i]\n"
      "add dx, i\nmov n[i], dx\nsub cx, n[i]\nmov cmd, n[i]\nint print\ninc i\ncmp i, 5\njg loop\n"
      "mov i, -1\nmov cmd, v[i]\nint print\nadd v[i], 1\npush n[i]\npop cmd\nint print\n",
      // A single as index cell, and elements moved, compared, pushed and popped through it.
      "mov v[f], 9\nmov cmd, v[1]\nint print\ncmp v[f], 9\njne bad\npush v[f]\npop n[f]\nmov cmd, n[1]\n"
      "int print\ninc v[f]\ndec v[f]\nneg v[f]\nnot v[f]\nmul v[f], 3\ndiv v[f], 2\nand v[f], 1\nor v[f], 4\n"
      "xor v[f], 3\norg v[f], n[f]\nmov cmd, v[f]\nint print\nend\nbad:\nmov cmd, \"bad\"\nint print\n",
      // Leading zeros and blanks in the index text: no cell has such a name.
      "mov cmd, v[01]\nint print\nmov cmd, v[ 1]\nint print\nmov cmd, v[1 ]\nint print\nmov v[01], 2\n"
      "mov cmd, v[1]\nint print\n",
  };
  const char* const extraData[] = {
      "",
      // Cells declared after the array under an element's name: both cells take part.
      "v[2] string \"late\"\nn[1] int 4\n",
      // A second array of the same name, longer than the first.
      "v[5] single 2.5\n",
      // A cell named like a number after the index cell: the index is substituted again.
      "2 int 1\n",
      // Index cells that are strings, and a number-named index cell.
      "i string 3\n01 int 2\n",
  };
  for (const char* data : extraData)
    for (const char* program : programs) pelko_test::RunBothWays(arrays + data + ".text\n" + program);
}

// Which operands with a "[" the decoder ties to their index cell.
TEST(Equivalence, IndexedOperandsAreDecodedWhereTheRulesAllow) {
  struct IndexedCase {
    std::string data, row;
    pelko::Preparing preparing;
  };
  const IndexedCase cases[] = {
      {"i int 0\nv[3] int 0", "mov v[i], 1", pelko::Preparing::Indexed},
      {"i int 0\nv[3] int 0", "mov cx, v[cx]", pelko::Preparing::Indexed},
      {"i int 0\nv[3] int 0", "mov cx, v[ax]", pelko::Preparing::Indexed},
      {"i int 0\nv[3] int 0", "mov cx, v[3]", pelko::Preparing::Decoded},
      {"i int 0\nv[3] int 0", "mov cx, v[j]", pelko::Preparing::Decoded},
      {"i string 0\nv[3] int 0", "mov cx, v[i]", pelko::Preparing::Decoded},
      {"i int 0\nv[3] int 0\n7 int 1", "mov cx, v[i]", pelko::Preparing::Literal},
      {"7 int 1\ni int 0\nv[3] int 0", "mov cx, v[i]", pelko::Preparing::Indexed},
      {"i int 0\nv[3] int 0", "mov cx, v[i][i]", pelko::Preparing::Literal},
      {"i int 0\nv[3] int 0", "mov cx, \"v[i]\"", pelko::Preparing::Literal},
      {"i int 0\nv[3] int 0", "jmp v[i]", pelko::Preparing::Literal},
      {"i int 0\nv[3] int 0", "mov v[i], __TIMER__", pelko::Preparing::Literal},
  };
  for (const IndexedCase& c : cases) {
    pelko::LoadedProgram program = pelko::LoadSource(TextFromLatin1(".data\n" + c.data + "\n.text\n" + c.row + "\n"));
    pelko::Machine machine;
    pelko::InitMachine(machine, std::move(program), nullptr);
    EXPECT_EQ(machine.decoded.rows.back().preparing, c.preparing) << c.data << " / " << c.row;
  }
}

// The indexed substitution against the walk, on texts full of brackets and cell names.
TEST(Equivalence, IndexedSubstitutionMatchesTheWalk) {
  std::mt19937 random(7);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const char* const pieces[] = {"[", "]", "i", "j", "5", "a", "[i]", "[j]", "[5]", "[[", "]]", "-", "[a[i]]", "x"};
  for (int round = 0; round < 300; ++round) {
    pelko::LoadedProgram program;
    pelko::CreateRegisters(program.variables);
    const char* const names[] = {"i", "j", "5", "a[5]", "a[3]", "[i]", "", "]", "a", "3", "-2"};
    for (int k = pick(1, 8); k > 0; --k) {
      pelko::TVariable cell;
      cell.name = TextFromLatin1(names[pick(0, 10)]);
      cell.typ = static_cast<uint8_t>(pick(1, 3));
      cell.wert1 = pick(-3, 5);
      cell.wert3 = static_cast<float>(pick(-30, 50)) / 10.0f;
      program.variables.push_back(cell);
    }
    pelko::Machine machine;
    pelko::InitMachine(machine, std::move(program), nullptr);
    std::string text;
    for (int k = pick(1, round % 2 ? 8 : 60); k > 0; --k) text += pieces[pick(0, 13)];
    Text x = TextFromLatin1(text);
    EXPECT_EQ(EncodeUtf8(pelko::SubstituteIndexesIndexed(machine, x)),
              EncodeUtf8(pelko::SubstituteIndexes(machine.variables, x)))
        << text;
  }
}

}  // namespace
