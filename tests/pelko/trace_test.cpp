// pelko --trace end to end: the run is the same as without it, and standard error holds one line
// per executed row, exactly as expected for small programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run.h"

namespace {

RunResult Pelko(const std::vector<std::string>& args) {
  RunOptions options;
  options.timeoutMs = 30000;
  return RunBinary(PELKO_BIN, args, options);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The programs that end on their own without a window: those that open one wait for a key there.
std::vector<std::string> WindowlessExamples() {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(SOURCE_DIR) + "/examples/pelko")) {
    if (entry.path().extension() != ".pel") continue;
    if (ReadFile(entry.path().string()).find("gfx ") == std::string::npos) paths.push_back(entry.path().string());
  }
  return paths;
}

TEST(Trace, TheExamplesRunAsWithoutIt) {
  const std::vector<std::string> examples = WindowlessExamples();
  ASSERT_GE(examples.size(), 2u);
  for (const std::string& path : examples) {
    const RunResult plain = Pelko({path});
    const RunResult traced = Pelko({"--trace", path});
    EXPECT_EQ(traced.out, plain.out) << path;
    EXPECT_EQ(traced.status, plain.status) << path;
    EXPECT_FALSE(plain.timedOut || traced.timedOut) << path;
    const std::vector<std::string> lines = Lines(traced.err);
    EXPECT_FALSE(lines.empty()) << path;
    const std::regex located(std::regex_replace(path, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                             ":[1-9][0-9]*: .*");
    for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, located)) << path << ": " << line;
  }
}

// The registers as a trace line shows them, with ax and bx 0.
std::string Registers(int cx, const std::string& cmd) {
  return "  |  ax=0.00000000 bx=0.00000000 cx=" + std::to_string(cx) + " dx=\"\" cmd=\"" + cmd + "\" kbd=0";
}

struct TraceCase {
  std::string name, source, out;
  std::vector<std::string> trace;  // "F" stands for the path
  std::string fatal;               // what follows the last trace line on standard error
  int status;
};

TEST(Trace, WritesOneLinePerExecutedRow) {
  const std::vector<TraceCase> cases = {
      {"a loop, a register, a string cell, a jump",
       ".data\ns string \"a\"\n.text\nmain:\n\tmov cx, 2   ' zwei\n\nloop:\n  add s, \"b\"\n  dec cx\n"
       "  cmp cx, 0\n  jne loop\n  mov cmd, s\n  int print\n  end\n  mov cx, 9\n",
       "abb\r\n",
       {"F:4: main:" + Registers(0, ""),
        "F:5: mov cx, 2   ' zwei" + Registers(2, "") + "  |  cx=2",
        "F:7: loop:" + Registers(2, ""),
        "F:8: add s, \"b\"" + Registers(2, "") + "  |  s=\"ab\"",
        "F:9: dec cx" + Registers(1, "") + "  |  cx=1",
        "F:10: cmp cx, 0" + Registers(1, ""),
        "F:11: jne loop" + Registers(1, ""),
        "F:8: add s, \"b\"" + Registers(1, "") + "  |  s=\"abb\"",
        "F:9: dec cx" + Registers(0, "") + "  |  cx=0",
        "F:10: cmp cx, 0" + Registers(0, ""),
        "F:11: jne loop" + Registers(0, ""),
        "F:12: mov cmd, s" + Registers(0, "abb") + "  |  cmd=\"abb\"",
        "F:13: int print" + Registers(0, "abb"),
        "F:14: end" + Registers(0, "abb")},
       "",
       0},
      {"from row 0 without main, the element a substituted index names, a fatal message last",
       ".data\na[2] int 0\nv single 0\n.text\nmov cx, 2\nmov a[cx], 7\ninc v\njmp weg\n",
       "",
       {"F:4: .text" + Registers(0, ""),
        "F:5: mov cx, 2" + Registers(2, "") + "  |  cx=2",
        "F:6: mov a[cx], 7" + Registers(2, "") + "  |  a[2]=7",
        "F:7: inc v" + Registers(2, "") + "  |  v=1.00000000"},
       "DEBUG >> pelko kann das Label 'weg' nicht finden!",
       255},
  };
  TempDir dir;
  for (const TraceCase& c : cases) {
    const std::string path = dir.Write("p.pel", c.source);
    std::string expected;
    for (const std::string& line : c.trace) expected += std::regex_replace(line, std::regex("^F"), path) + "\n";
    const RunResult result = Pelko({"--trace", path});
    EXPECT_EQ(result.out, c.out) << c.name;
    EXPECT_EQ(result.err, expected + c.fatal) << c.name;
    EXPECT_EQ(result.status, c.status) << c.name;
  }
}

TEST(Trace, AFileThatCannotBeReadEndsAsARunWould) {
  TempDir dir;
  const std::string missing = dir.path() + "/fehlt.pel";
  const RunResult plain = Pelko({missing});
  const RunResult traced = Pelko({"--trace", missing});
  EXPECT_EQ(traced.out, plain.out);
  EXPECT_EQ(traced.err, "DEBUG >> pelko kann die Datei '" + missing + "' nicht oeffnen!");
  EXPECT_EQ(traced.err, plain.err);
  EXPECT_EQ(traced.status, 255);
}

// Standard error sent elsewhere by the shell: into standard output, where the trace comes before
// what the program prints, or to a full device, which is no failure of the program.
TEST(Trace, KeepsItsPlaceAmongTheOutputAndNeverFailsTheRun) {
  if (RunsWindowsPrograms()) GTEST_SKIP() << "the shell redirection runs the native program";
  TempDir dir;
  const std::string path = dir.Write("p.pel", ".text\nmov cmd, \"da\"\nint print\nend\n");
  struct Redirection {
    std::string to, out;
  };
  const std::vector<Redirection> redirections = {
      {"2>&1", path + ":1: .text" + Registers(0, "") + "\n" + path + ":2: mov cmd, \"da\"" + Registers(0, "da") +
                   "  |  cmd=\"da\"\nda\r\n" + path + ":3: int print" + Registers(0, "da") + "\n" + path +
                   ":4: end" + Registers(0, "da") + "\n"},
      {"2>/dev/full", "da\r\n"},
  };
  for (const Redirection& r : redirections) {
    const RunResult result =
        RunBinary("/bin/sh", {"-c", "exec \"$0\" --trace \"$1\" " + r.to, PELKO_BIN, path}, RunOptions());
    EXPECT_EQ(result.out, r.out) << r.to;
    EXPECT_EQ(result.status, 0) << r.to;
  }
}

}  // namespace
