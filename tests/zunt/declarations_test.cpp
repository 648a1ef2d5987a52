// Declarations and assignments as a script sees them, run by the built program: "input"
// statements write their evaluated prompt, so they show values; index messages show themselves.
#include <gtest/gtest.h>

#include <string>

#include "tests/zunt/run_harness.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

using testing::ErrorLine;
using testing::IndexLine;
using testing::kSuccessLine;
using testing::RunScript;
using testing::StartLine;

struct Row {
  const char* rule;
  std::string script;
  std::string out;
};

void ExpectRuns(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    testing::ScriptRun run = RunScript(row.script);
    EXPECT_EQ(run.result.out, StartLine(run.path) + row.out + kSuccessLine) << row.rule;
    EXPECT_EQ(run.result.err, "") << row.rule;
    EXPECT_EQ(run.result.status, 0) << row.rule;
  }
}

TEST(Declarations, IntegersAndFloats) {
  ExpectRuns({
      {"an evaluated value", "int x = 2+3*4\ninput x,0,0\n", "14"},
      {"blanks removed from the name", "int my var = 4\ninput myvar,0,0\n", "4"},
      {"without =, the whole line evaluated", "int x\ninput x,0,0\n", "0"},
      {"a float", "float f = 2.5\ninput f,0,0\n", "2.50000000"},
      {"a float in arithmetic", "float f = 2.5\ninput f+1,0,0\n", "3"},
      {"a float from an expression", "float f = 7/2\ninput f,0,0\n", "3.00000000"},
      {"the first of two records is read", "int x = 1\nint x = 2\ninput x,0,0\n", "1"},
      {"a declaration sees earlier variables", "int a = 4\nint b = a*a\ninput b,0,0\n", "16"},
  });
}

TEST(Declarations, Strings) {
  ExpectRuns({
      {"the value after the first quote", "string s = \"12\ninput s+1,0,0\n", "13"},
      {"a closing quote is kept: not evaluated", "string s = \"12\"\ninput s+1,0,0\n", "12+1"},
      {"not evaluated", "string s = \"1+1\ninput s,0,0\n", "2"},
      {"= and blanks removed from the name", "string my name=\"7\ninput myname,0,0\n", "7"},
  });
}

TEST(Declarations, Arrays) {
  ExpectRuns({
      {"elements 0 to size - 1", "int dim a[3]\na[2] = 9\nint v = a[2]\ninput v,0,0\n", "9"},
      {"an index past the end", "int dim a[3]\na[3] = 1\n", IndexLine("3", "a")},
      {"a negative index", "int dim a[3]\na[-1] = 1\n", IndexLine("-1", "a")},
      {"the size is not evaluated", "int n = 5\nint dim a[n]\na[0] = 1\n", IndexLine("0", "a")},
      {"a negative size", "int dim a[-2]\na[0] = 1\n", IndexLine("0", "a")},
      {"int dim = 5 declares an array", "int dim = 5\n=5 = 1\ninput dim,0,0\n", IndexLine("0", "=5") + "dim"},
      {"a float array", "float dim f[2]\nf[1] = 1.5\nint v = f[1]*2\ninput f[1],0,0\n", "1.50000000"},
      {"a string array keeps quotes", "string dim n[2]\nn[1] = \"Bob\"\ninput n[1],0,0\n", "Bob"},
      {"a string element without a quote holds the line",
       "string dim n[2]\nn[0] = Bob\ninput n[0],0,0\n", "n[0] = bob"},
      {"an evaluated index", "int i = 1\nint dim a[3]\na[i+1] = 7\nint v = a[2]\ninput v,0,0\n", "7"},
      {"every array is tested in an expression",
       "int dim a[5]\nint dim b[3]\na[4] = 8\nint v = a[4]\ninput v,0,0\n", IndexLine("4", "b") + "8"},
      {"an element outside the range stays text", "int dim a[2]\ninput a[5],0,0\n", IndexLine("5", "a") + "a[5]"},
  });
}

TEST(Assignments, Matching) {
  ExpectRuns({
      {"x = 7", "int x = 5\nx = 7\ninput x,0,0\n", "7"},
      {"x=7 sets 0", "int x = 5\nx=7\ninput x,0,0\n", "0"},
      {"x =7 sets what follows 7", "int x = 5\nx =78\ninput x,0,0\n", "8"},
      {"xy = 7 sets x and xy", "int xy = 1\nint x = 2\nxy = 7\ninput xy,0,0\ninput x,0,0\n", "77"},
      {"x = 7 sets only x", "int xy = 1\nint x = 2\nx = 7\ninput xy,0,0\ninput x,0,0\n", "17"},
      {"letter case ignored", "int score = 1\nSCORE = 3\ninput score,0,0\n", "3"},
      {"reading is case-sensitive", "int score = 1\ninput SCORE,0,0\n", "score"},
      {"both records of a name", "int x = 1\nint x = 2\nx = 3\ninput x,0,0\n", "3"},
      {"a float", "float f = 2.5\nf = 0.25\ninput f,0,0\n", "0.250000000"},
      {"a string gets both quotes", "string s = \"1\nif s = 1\ninput 1,0,0\nendif\ns = \"1\"\n"
                                    "if s = 1\ninput 2,0,0\nendif\n", "1"},
      {"an array without brackets uses element 0", "int dim a[3]\na = 5\nint v = a[0]\ninput v,0,0\n", "5"},
      {"an array line without = is no assignment", "int dim a[3]\na[1]\ninput 1,0,0\n", ErrorLine(1, "a[1]") + "1"},
      {"an array index message does not stop", "int dim a[1]\na[1] = 2\ninput 3,0,0\n", IndexLine("1", "a") + "3"},
  });
}

TEST(Assignments, WhatIsNotAnAssignment) {
  ExpectRuns({
      {"no = for an integer", "int x = 1\nx 5\n", ErrorLine(1, "x")},
      {"no quote for a string", "string s = \"a\ns = b\n", ErrorLine(1, "s")},
      {"a name that was never declared", "y = 1\n", ErrorLine(0, "y")},
  });
}

}  // namespace
}  // namespace zunt
