// Starting the built program: the script path from the argument or the console's file question,
// the line-reading rules seen through line numbers, and the load failure message.
#include <gtest/gtest.h>

#include <string>

#include "tests/zunt/run_harness.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

using testing::ErrorLine;
using testing::kManyLines;
using testing::kSuccessLine;
using testing::RunScript;
using testing::StartLine;

const std::string kFailure = "Script konnte nicht geladen werden!\r\n";
const std::string kDialogTitle = "Script \xC3\xB6" "ffnen:\r\n";

struct Row {
  const char* rule;
  std::string file;
  std::string out;
};

// The unknown command words show where each line begins and ends.
TEST(Load, LineRules) {
  const Row rows[] = {
      {"line feeds", "x\ny\n", ErrorLine(0, "x") + ErrorLine(1, "y")},
      {"carriage returns and line feeds", "x\r\ny\r\n", ErrorLine(0, "x") + ErrorLine(1, "y")},
      {"a carriage return inside a line is dropped", "a\rb\n", ErrorLine(0, "ab")},
      {"a last line without a line end", "x\ny", ErrorLine(0, "x") + ErrorLine(1, "y")},
      {"a zero byte ends a line", std::string("x\0y\n", 4), ErrorLine(0, "x") + ErrorLine(1, "y")},
      {"an empty line counts", "x\n\ny\n", ErrorLine(0, "x") + ErrorLine(2, "y")},
      {"an empty file", "", ""},
      {"more than a hundred lines", std::string(149, '\n') + "x\n", ErrorLine(149, "x")},
      {"UTF-8 decoded", "input \"\xC3\xA4\",0,0\n", "\xC3\xA4"},
      {"single bytes kept", "input \"\xE4\",0,0\n", "\xC3\xA4"},
  };
  for (const Row& row : rows) {
    testing::ScriptRun run = RunScript(row.file);
    EXPECT_EQ(run.result.out, StartLine(run.path) + row.out + kSuccessLine) << row.rule;
    EXPECT_EQ(run.result.status, 0) << row.rule;
  }
}

TEST(Load, AMissingFileShowsTheFailureMessage) {
  TempDir dir;
  std::string path = dir.path() + "/missing.cf";
  RunResult result = RunBinary(ZUNT_BIN, {path}, "");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, path + "\r\n" + kFailure);
  EXPECT_EQ(result.status, 0);
}

TEST(Load, AFolderIsNoScript) {
  TempDir dir;
  RunResult result = RunBinary(ZUNT_BIN, {dir.path()}, "");
  EXPECT_EQ(result.err, dir.path() + "\r\n" + kFailure);
  EXPECT_EQ(result.status, 0);
}

TEST(Load, DoubleQuotesAreRemovedFromTheArgument) {
  TempDir dir;
  std::string path = dir.Write("my script.cf", "input 1,0,0\n");
  RunResult result = RunBinary(ZUNT_BIN, {"\"" + dir.path() + "/my \"script.cf\""}, kManyLines);
  EXPECT_EQ(result.out, StartLine(path) + "1" + kSuccessLine);
  EXPECT_EQ(result.status, 0);
}

TEST(Load, OnlyTheFirstArgumentCounts) {
  TempDir dir;
  std::string path = dir.Write("a.cf", "input 1,0,0\n");
  RunResult result = RunBinary(ZUNT_BIN, {path, dir.path() + "/missing.cf"}, kManyLines);
  EXPECT_EQ(result.out, StartLine(path) + "1" + kSuccessLine);
}

// Not in the program's folder, a relative path is looked for where the program was started.
TEST(Load, ARelativePathFromTheStartFolder) {
  TempDir dir;
  dir.Write("rel.cf", "input 2,0,0\n");
  RunOptions options;
  options.cwd = dir.path();
  options.input = kManyLines;
  RunResult result = RunBinary(ZUNT_BIN, {"rel.cf"}, options);
  EXPECT_EQ(result.out, StartLine("rel.cf") + "2" + kSuccessLine);
}

// Without an argument and without a display the question for the script is asked on the console.
TEST(Load, WithoutAnArgumentThePathIsAsked) {
  TempDir dir;
  std::string path = dir.Write("asked.cf", "input 3,0,0\n");
  RunResult result = RunBinary(ZUNT_BIN, {}, path + "\n" + kManyLines);
  EXPECT_EQ(result.out, kDialogTitle + StartLine(path) + "3" + kSuccessLine);
  EXPECT_EQ(result.status, 0);
}

TEST(Load, AnUnansweredQuestionFailsToLoad) {
  RunResult result = RunBinary(ZUNT_BIN, {}, "");
  EXPECT_EQ(result.out, kDialogTitle);
  EXPECT_EQ(result.err, "\r\n" + kFailure);
  EXPECT_EQ(result.status, 0);
}

}  // namespace
}  // namespace zunt
