// Limits are the machine's memory, not counts: deep nesting and long working texts give what the
// rules give, a text naming itself ends, and a script that runs out of memory ends with the
// out-of-memory message and status 255, nothing written after it.
#include <gtest/gtest.h>

#include <string>

#include "tests/zunt/run_harness.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

using testing::IndexLine;
using testing::kSuccessLine;
using testing::RunScript;
using testing::StartLine;

std::string Repeat(const std::string& piece, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += piece;
  return s;
}

// An assignment to z whose index nests `depth` more indexes of the empty array z.
std::string NestedAssignment(int depth) {
  return "int dim z[0]\n" + Repeat("z[", depth + 1) + "5" + Repeat("]", depth + 1) + " = 1\n";
}

struct Row {
  const char* rule;
  std::string script;
  std::string out;  // between the start and the success message
};

TEST(Limits, NestingAndLongTexts) {
  const Row rows[] = {
      {"an index nested 70 deep", NestedAssignment(70), IndexLine("5", "z") + Repeat(IndexLine("0", "z"), 70)},
      {"an index nested 10,000 deep", NestedAssignment(10000),
       IndexLine("5", "z") + Repeat(IndexLine("0", "z"), 10000)},
      {"a string naming itself in its index", "int dim z[0]\nstring s = \"x[s\nint v = s\ninput v,0,0\n",
       Repeat(IndexLine("0", "z"), 2) + "0"},
      {"a string naming itself and growing at every level", "string s = \"[s1\nint v = s\ninput v,0,0\n", "0"},
      {"a working text of 2^26 characters", Repeat("string a = \"aa\n", 26) + "int v = a\ninput v,0,0\n", "0"},
  };
  for (const Row& row : rows) {
    testing::ScriptRun run = RunScript(row.script);
    EXPECT_EQ(run.result.out, StartLine(run.path) + row.out + kSuccessLine) << row.rule;
    EXPECT_EQ(run.result.err, "") << row.rule;
    EXPECT_EQ(run.result.status, 0) << row.rule;
  }
}

struct ExhaustionRow {
  const char* rule;
  std::string script;
};

// Under a bound of 1 GiB on the address space; AddressSanitizer, and Wine running the Windows
// programs, need more than that for themselves.
TEST(Limits, MemoryRunningOut) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "a bound on the address space leaves AddressSanitizer no room";
#endif
  if (RunsWindowsPrograms()) GTEST_SKIP() << "a bound on the address space leaves Wine no room";
  const ExhaustionRow rows[] = {
      {"a text doubled 40 times", Repeat("string a = \"aa\n", 40) + "int v = a\ninput v,0,0\n"},
      {"a declaration run in a loop", "#l\nint " + std::string(1000, 'x') + " = 1\ngoto l\n"},
  };
  for (const ExhaustionRow& row : rows) {
    RunOptions options;
    options.input = testing::kManyLines;
    options.addressSpaceLimit = std::size_t{1} << 30;
    testing::ScriptRun run = RunScript(row.script, options);
    EXPECT_EQ(run.result.out, StartLine(run.path)) << row.rule;
    EXPECT_EQ(run.result.err, "Kein Speicher mehr!\r\n") << row.rule;
    EXPECT_EQ(run.result.status, 255) << row.rule;
  }
}

}  // namespace
}  // namespace zunt
