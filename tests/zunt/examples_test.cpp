// The example scripts run to their end without a display: drawing goes nowhere, the key waits and
// the name question read lines from standard input.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/run.h"
#include "tests/zunt/run_harness.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

using testing::kSuccessLine;
using testing::StartLine;

const std::string kNoWindowNotice =
    "Hinweis: Es kann kein Grafikfenster angezeigt werden; das Programm l\xC3\xA4uft ohne Fenster weiter.\r\n";

struct ExampleRow {
  const char* file;
  std::string input;
  std::string out;
};

TEST(Examples, RunWithoutADisplay) {
  const ExampleRow rows[] = {
      {"shapes.cf", "\n", ""},
      {"greet.cf", "Anna\n\n", "Wie heisst du?"},
  };
  for (const ExampleRow& row : rows) {
    std::string path = std::string(SOURCE_DIR) + "/examples/zunt/" + row.file;
    RunResult result = RunBinary(ZUNT_BIN, {path}, row.input);
    EXPECT_EQ(result.out, StartLine(path) + row.out + kSuccessLine) << row.file;
    EXPECT_EQ(result.err, kNoWindowNotice) << row.file;
    EXPECT_EQ(result.status, 0) << row.file;
  }
}

}  // namespace
}  // namespace zunt
