// The trace of a run: the same output and exit status as without it, the exact entries of short
// scripts in their place among the output, and files that cannot be read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run.h"
#include "tests/zunt/run_harness.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

using testing::ErrorLine;
using testing::IndexLine;
using testing::kSuccessLine;
using testing::StartLine;

TEST(Trace, ExamplesRunAsWithout) {
  const struct {
    const char* file;
    std::string input;
  } rows[] = {{"shapes.cf", "\n"}, {"greet.cf", "Anna\n\n"}};
  for (const auto& row : rows) {
    const std::string path = std::string(SOURCE_DIR) + "/examples/zunt/" + row.file;
    const RunResult plain = RunBinary(ZUNT_BIN, {path}, row.input);
    const RunResult traced = RunBinary(ZUNT_BIN, {"--trace", path}, row.input);
    EXPECT_EQ(traced.out, plain.out) << row.file;
    EXPECT_EQ(traced.status, plain.status) << row.file;
    int entries = 0;
    EXPECT_EQ(testing::WithoutTraceEntries(traced.err, path, &entries), plain.err) << row.file;
    EXPECT_GT(entries, 0) << row.file;
  }
}

// Standard error joined to standard output, so that the rows also show where the entries stand
// among the messages; "@" stands for the script's path.
TEST(Trace, EntriesInPlace) {
  if (RunsWindowsPrograms()) GTEST_SKIP() << "joins the streams through the shell";
  const struct {
    const char* rule;
    std::string script, input, joined;
    bool finishes;  // with the success message
    int status;
  } rows[] = {
      {"a loop, assignments and a jump",
       "; count\nint k = 0\nstring s = \"a\"\nint dim a[3]\n#loop\nk = k + 1\t \na[k] = k*2\n\nif k < 1\ngoto loop\n"
       "endif\n  s = \"b\" ; kept\r\nfloat f = 1.5\ns = \"x\"\"y\"\n",
       "",
       "@:2: int k = 0  |  k=0\n@:3: string s = \"a\"  |  s=\"a\"\n@:4: int dim a[3]\n@:5: #loop\n"
       "@:6: k = k + 1  |  k=1\n@:7: a[k] = k*2  |  a[1]=2\n@:9: if k < 1\n@:10: goto loop\n"
       "@:6: k = k + 1  |  k=2\n@:7: a[k] = k*2  |  a[2]=4\n@:9: if k < 1\n@:11: endif\n"
       "@:12: s = \"b\" ; kept\n@:13: float f = 1.5  |  f=1.50000000\n@:14: s = \"x\"\"y\"  |  s=\"xy\"\n",
       true, 0},
      {"every name the line starts with; elements of each type",
       "int x = 1\nint xy = 2\nxy = 7\nfloat dim g[2]\ng[1] = 2\nstring dim t[2]\nt[0] = \"q\"\n", "",
       "@:1: int x = 1  |  x=1\n@:2: int xy = 2  |  xy=2\n@:3: xy = 7  |  x=7  |  xy=7\n@:4: float dim g[2]\n"
       "@:5: g[1] = 2  |  g[1]=2.00000000\n@:6: string dim t[2]\n@:7: t[0] = \"q\"  |  t[0]=\"q\"\n",
       true, 0},
      {"messages after the entries before them; a line of blanks does nothing, one of tabs is a command",
       "int dim a[2]\n   \nzz = 1\n\t\na[5] = 1\n", "\n\n",
       "@:1: int dim a[2]\n" + ErrorLine(2, "zz") + "@:3: zz = 1\n" + ErrorLine(3, "\t") + "@:4: \n" +
           IndexLine("5", "a") + "@:5: a[5] = 1\n",
       true, 0},
      {"a typed line", "input \"Name?\",1,1\n", "Anna\n", "Name?@:1: input \"Name?\",1,1  |  input_text=\"Anna\"\n", true, 0},
      {"the end of the input inside a line", "int k = 1\ninput \"Name?\",1,1\nk = 2\n", "",
       "@:1: int k = 1  |  k=1\nName?@:2: input \"Name?\",1,1\n", false, 0},
      {"a fatal error", "int k = 1\nerror\nk = 2\n", "", "@:1: int k = 1  |  k=1\n@:2: error\nUnknown error", false, 255},
  };
  TempDir dir;
  for (const auto& row : rows) {
    const std::string path = dir.Write("s.cf", row.script);
    RunOptions options;
    options.input = row.input;
    const RunResult result = RunBinary("/bin/sh", {"-c", "exec \"$0\" --trace \"$1\" 2>&1", ZUNT_BIN, path}, options);
    std::string expected = StartLine(path) + row.joined + (row.finishes ? kSuccessLine : "");
    for (std::size_t at = expected.find('@'); at != std::string::npos; at = expected.find('@', at + path.size()))
      expected.replace(at, 1, path);
    EXPECT_EQ(result.out, expected) << row.rule;
    EXPECT_EQ(result.status, row.status) << row.rule;
  }
}

TEST(Trace, FailuresEndAsWithout) {
  if (RunsWindowsPrograms()) GTEST_SKIP() << "redirects through the shell";
  TempDir dir;
  const std::string script = dir.Write("s.cf", "int k = 1\nk = 2\n");
  const struct {
    const char* rule;
    std::string path, redirect;
  } rows[] = {
      {"a file that does not exist", dir.path() + "/fehlt.cf", ""},
      {"a folder", dir.path(), ""},
      {"standard error that cannot be written", script, " 2>/dev/full"},
  };
  for (const auto& row : rows) {
    const RunResult plain = RunBinary("/bin/sh", {"-c", "exec \"$0\" \"$1\"" + row.redirect, ZUNT_BIN, row.path});
    const RunResult traced =
        RunBinary("/bin/sh", {"-c", "exec \"$0\" --trace \"$1\"" + row.redirect, ZUNT_BIN, row.path});
    EXPECT_EQ(traced.out, plain.out) << row.rule;
    EXPECT_EQ(traced.err, plain.err) << row.rule;
    EXPECT_EQ(traced.status, plain.status) << row.rule;
  }
}

}  // namespace
}  // namespace orvelt::zunt
