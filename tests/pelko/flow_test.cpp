// Control flow: the start row, "cmp", every jump and conditional call, "call"/"ret" nesting, the
// value stack, "end" and the fatal messages, through both execution paths.
#include <gtest/gtest.h>

#include "tests/pelko/harness.h"

using namespace orvelt;

namespace {

using pelko_test::Lines;
using pelko_test::Outcome;
using pelko_test::RunBothWays;

struct Case {
  std::string name;
  std::string source;
  std::string out;
  std::string err = "";
  int status = 0;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    Outcome outcome = RunBothWays(c.source);
    EXPECT_EQ(outcome.out, c.out) << c.name;
    EXPECT_EQ(outcome.err, c.err) << c.name;
    EXPECT_EQ(outcome.status, c.status) << c.name;
    EXPECT_TRUE(outcome.ended) << c.name;
  }
}

const char kPrintYes[] = "yes:\nmov cmd, \"yes\"\nint print\nend\n";

TEST(Start, FromMainOrRowZero) {
  RunCases({
      {"no main starts at row 0", ".text\nmov cmd, \"a\"\nint print\n", Lines({"a"})},
      {"main label", ".text\nmov cmd, \"a\"\nint print\nmain:\nmov cmd, \"b\"\nint print\n", Lines({"b"})},
      {"main as the last row", ".text\nmov cmd, \"a\"\nint print\nmain:", ""},
      {"empty text", ".text\n", ""},
      {"no text at all", "mov cmd, \"a\"\nint print\n", ""},
      {"label twice goes to the first",
       ".text\njmp x\nx:\nmov cmd, \"1\"\nint print\nend\nx:\nmov cmd, \"2\"\nint print\n", Lines({"1"})},
      {"label with words after it", ".text\njmp x\nend\nx: ignored words\nmov cmd, \"x\"\nint print\n",
       Lines({"x"})},
      {"jump to main without the label goes on", ".text\njmp main\nmov cmd, \"on\"\nint print\n", Lines({"on"})},
      {"jump to the last row ends", ".text\njmp last\nmov cmd, \"no\"\nint print\nlast:", ""},
      {"mnemonics are case-sensitive", ".text\nMOV cmd, \"a\"\nint print\n", Lines({""})},
      {"end stops at once", ".text\nend\nmov cmd, \"a\"\nint print\n", ""},
  });
}

struct CompareCase {
  std::string data;
  std::string first, second;
  std::string s;  // the comparison result, shown by jumps
};

// S is read back through the jumps: "jz" for 0, "jl" for positive, "jg" for negative.
std::string CompareProgram(const CompareCase& c) {
  return ".data\n" + c.data + "\n.text\ncmp " + c.first + ", " + c.second +
         "\njz zero\njl positive\njg negative\nend\n"
         "zero:\nmov cmd, \"0\"\nint print\nend\n"
         "positive:\nmov cmd, \"+\"\nint print\nend\n"
         "negative:\nmov cmd, \"-\"\nint print\nend\n";
}

TEST(Cmp, NumbersSinglesAndTexts) {
  const CompareCase cases[] = {
      {"", "5", "3", "+"},
      {"", "3", "5", "-"},
      {"", "4", "4", "0"},
      {"", "2147483647", "-1", "-"},
      {"", "abc", "0", "0"},
      {"a int 5\nb int 3", "a", "b", "+"},
      {"a single 1.5\nb single 1.2", "a", "b", "0"},
      {"a single 2.9\nb int 2", "a", "b", "0"},
      {"s string \"abc\"", "s", "\"abc\"", "0"},
      {"s string \"abc\"", "s", "\"abd\"", "+"},
      {"s string \"abc\"", "s", "\"ab\"c\"", "0"},
      {"s string \"abc\"\nt string \"abc\"", "s", "t", "0"},
      {"s string \"abc\"\nt string \"xyz\"", "s", "t", "+"},
      {"n int 5", "n", "\"5\"", "0"},
      {"n int 5", "n", "\"6\"", "+"},
      // Quotes are removed from the second operand only.
      {"", "\"a\"", "\"a\"", "+"},
      {"s string \"5\"\nt string \"5\"", "s", "t", "0"},
  };
  for (const CompareCase& c : cases) {
    Outcome outcome = RunBothWays(CompareProgram(c));
    EXPECT_EQ(outcome.out, Lines({c.s.c_str()})) << c.first << " vs " << c.second;
    EXPECT_EQ(outcome.err, "");
  }
}

TEST(Cmp, OneStringCellIsAnInvalidQuery) {
  RunCases({
      {"string against int", ".data\ns string \"a\"\nn int 1\n.text\nmain:\ncmp s, n\n", "",
       "DEBUG >> Abfrage ungueltig! LINE: 2", -1},
      // A string cell whose value names a later int cell still counts once.
      {"chain through a string", ".data\ns string n\nn int 5\n.text\ncmp s, n\n", "",
       "DEBUG >> Abfrage ungueltig! LINE: 1", -1},
      {"int against string", ".data\ns string \"a\"\n.text\ncmp cx, s\n", "", "DEBUG >> Abfrage ungueltig! LINE: 1",
       -1},
      {"register dx against a number", ".text\n\n\ncmp dx, 1\n", "", "DEBUG >> Abfrage ungueltig! LINE: 3", -1},
  });
}

struct ConditionCase {
  std::string mnemonic;
  bool negative, zero, positive, text0, text1;
};

// Whether a jump or call is taken for S < 0, S = 0, S > 0, and for equal and different texts.
const ConditionCase kConditions[] = {
    {"je", false, true, false, true, false},   {"jz", false, true, false, true, false},
    {"jne", true, false, true, false, true},   {"jnz", true, false, true, false, true},
    {"jg", true, false, false, false, false},  {"jge", true, true, false, true, false},
    {"jl", false, false, true, false, true},   {"jle", false, true, true, true, true},
    {"jmp", true, true, true, true, true},     {"ce", false, true, false, true, false},
    {"cz", false, true, false, true, false},   {"cne", true, false, true, false, true},
    {"cnz", true, false, true, false, true},   {"cg", true, false, false, false, false},
    {"cge", true, true, false, true, false},   {"cl", false, false, true, false, true},
    {"cle", false, true, true, true, true},     {"call", true, true, true, true, true},
};

TEST(Conditions, EveryJumpAndCallByTheComparisonResult) {
  const std::pair<std::string, std::string> comparisons[] = {
      {"3", "5"}, {"5", "5"}, {"5", "3"}, {"dx", "\"\""}, {"dx", "\"x\""}};
  for (const ConditionCase& c : kConditions) {
    const bool expected[] = {c.negative, c.zero, c.positive, c.text0, c.text1};
    bool isCall = c.mnemonic[0] == 'c';
    for (int i = 0; i < 5; ++i) {
      // A call comes back to the row after it; a jump does not.
      std::string source = ".text\ncmp " + comparisons[i].first + ", " + comparisons[i].second + "\n" + c.mnemonic +
                           " target\nmov cmd, \"after\"\nint print\nend\ntarget:\nmov cmd, \"taken\"\nint print\n" +
                           (isCall ? "ret\n" : "end\n");
      std::string out = expected[i] ? (isCall ? Lines({"taken", "after"}) : Lines({"taken"})) : Lines({"after"});
      EXPECT_EQ(RunBothWays(source).out, out) << c.mnemonic << " after cmp " << comparisons[i].first << ", "
                                              << comparisons[i].second;
    }
  }
}

TEST(Conditions, CallsAndJumpsLeaveTheComparisonResult) {
  RunCases({{"S survives a call and a return",
             ".text\ncmp 1, 2\ncall f\njg yes\nend\nf:\nret\n" + std::string(kPrintYes), Lines({"yes"})}});
}

TEST(Jcxz, JumpsWhenTheFirstCxIsZero) {
  RunCases({
      {"cx zero", ".text\njcxz yes\nend\n" + std::string(kPrintYes), Lines({"yes"})},
      {"cx not zero", ".text\nmov cx, 1\njcxz yes\nend\n" + std::string(kPrintYes), ""},
      {"only the register counts", ".data\ncx int 0\n.text\nmov cx, 1\njcxz yes\nend\n" + std::string(kPrintYes), ""},
  });
}

TEST(CallRet, NestAndReturnToTheRowAfterTheCall) {
  RunCases({
      {"three levels",
       ".text\nmain:\ncall a\nmov cmd, \"main\"\nint print\nend\n"
       "a:\ncall b\nmov cmd, \"a\"\nint print\nret\n"
       "b:\ncall c\nmov cmd, \"b\"\nint print\nret\n"
       "c:\nmov cmd, \"c\"\nint print\nret\n",
       Lines({"c", "b", "a", "main"})},
      {"ret at top level", ".text\nmov cx, 1\nret\n", "", "DEBUG >> RET ohne CALL! LINE: 2", -1},
      {"a failed conditional call pushes nothing", ".text\ncmp 1, 2\nce f\nret\nf:\n", "",
       "DEBUG >> RET ohne CALL! LINE: 3", -1},
      {"call of a missing label", ".text\ncall nowhere\n", "", "DEBUG >> pelko kann das Label 'nowhere' nicht finden!",
       -1},
      {"jump to a missing label", ".text\n\njmp fort\n", "", "DEBUG >> pelko kann das Label 'fort' nicht finden!",
       -1},
      {"a jump not taken needs no label", ".text\ncmp 1, 1\njne nowhere\n", ""},
      {"labels are case-sensitive", ".text\njmp Loop\nloop:\n", "",
       "DEBUG >> pelko kann das Label 'Loop' nicht finden!", -1},
  });
}

TEST(CallRet, FourHundredNestedCallsFitAndTheNextEndsTheRun) {
  std::string fits = ".text\nmov cx, 400\ncall down\nmov cmd, cx\nint print\nend\n"
                     "down:\ndec cx\ncmp cx, 0\njge back\ncall down\nback:\nret\n";
  RunCases({{"400", fits, Lines({"0"})}});
  std::string deeper = ".text\nmov cx, 401\ncall down\nend\ndown:\ndec cx\ncmp cx, 0\njge back\ncall down\nback:\nret\n";
  RunCases({{"401", deeper, "", "DEBUG >> CALL-Stapel voll! LINE: 8", -1}});
}

TEST(Stack, PushAndPopThroughText) {
  RunCases({
      {"single arrives as int", ".text\nmov ax, 2.5\npush ax\npop cx\nmov cmd, cx\nint print\n", Lines({"2"})},
      {"last in, first out", ".text\npush 1\npush 2\npop cx\nmov cmd, cx\nint print\npop cx\nmov cmd, cx\nint print\n",
       Lines({"2", "1"})},
      {"pop without operand sets dx",
       ".text\npush \"hi\"\npop\nmov cmd, dx\nint print\nmov dx, \"kept\"\npop\nmov cmd, dx\nint print\n",
       Lines({"hi", "kept"})},
      {"push removes every quote", ".text\npush \"a\"b\"\npop dx\nmov cmd, dx\nint print\n", Lines({"ab"})},
      {"push of a name pushes its value", ".data\nv string \"x y\"\n.text\npush v\npop cmd\nint print\n",
       Lines({"x y"})},
      {"pop into a missing name still pops", ".text\npush 5\npop nothing\npop cx\nmov cmd, cx\nint print\n",
       Lines({"0"})},
      {"pop into two cells of one name",
       ".data\nn int 0\nn single 0\n.text\npush 2.5\npop n\npush n\npop dx\nmov cmd, dx\nint print\n",
       Lines({"2"})},
      {"pop into a single", ".text\npush 2.5\npop ax\nmov cmd, ax\nint print\n", Lines({"2.50000000"})},
  });
}

TEST(Budget, ARowBudgetStopsAnEndlessLoop) {
  pelko_test::RunSetup setup;
  setup.rowBudget = 1000;
  Outcome outcome = RunBothWays(".text\nloop:\njmp loop\n", setup);
  EXPECT_FALSE(outcome.ended);
}

}  // namespace
