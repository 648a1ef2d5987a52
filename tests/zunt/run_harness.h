// Running scripts through the built zunt program: a script written to a temporary folder, its
// standard output, standard error and exit status, and the messages the interpreter writes.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run.h"

namespace orvelt::zunt::testing {

inline std::string StartLine(const std::string& path) {
  return "Beginne Ausfuehrung des Scriptes <" + path + ">\r\n";
}
inline const std::string kSuccessLine = "Script erfolgreich ausgefuehrt!\r\n";

inline std::string ErrorLine(int line, const std::string& command) {
  return "Scriptfehler in Zeile " + std::to_string(line) + ": Befehl <" + command + "> nicht vorhanden.\r\n";
}

inline std::string IndexLine(const std::string& index, const std::string& array) {
  return "Auf das Feld " + index + " im Array <" + array + "> kann nicht zugegriffen werden!\r\n";
}

// Enough empty lines for every key wait and input statement of a test script.
inline const std::string kManyLines(100, '\n');

struct ScriptRun {
  std::string path;
  RunResult result;
};

// A trace entry: "FILE:LINE: " with a line number counted from 1.
inline bool IsTraceEntry(const std::string& line, const std::string& path) {
  if (line.rfind(path + ":", 0) != 0) return false;
  std::size_t digits = path.size() + 1, end = digits;
  while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
  return end > digits && line[digits] != '0' && line.compare(end, 2, ": ") == 0;
}

// Standard error of a traced run without its entries (the rest byte for byte), and how many
// entries there were.
inline std::string WithoutTraceEntries(const std::string& err, const std::string& path, int* entries = nullptr) {
  std::string rest;
  for (std::size_t start = 0; start < err.size();) {
    std::size_t end = err.find('\n', start);
    end = end == std::string::npos ? err.size() : end + 1;
    if (IsTraceEntry(err.substr(start, end - start), path)) {
      if (entries) ++*entries;
    } else {
      rest.append(err, start, end - start);
    }
    start = end;
  }
  return rest;
}

// Runs the script, and once more with --trace, which must give the same output and exit status
// and, once its entries are taken out, the same standard error. Not under an address-space bound
// (the two runs may run out at different places) nor under Wine (twice the time for no new case).
inline ScriptRun RunScript(const std::string& script, RunOptions options) {
  TempDir dir;
  std::string path = dir.Write("script.cf", script);
  RunResult plain = RunBinary(ZUNT_BIN, {path}, options);
  if (options.addressSpaceLimit == 0 && !RunsWindowsPrograms()) {
    RunResult traced = RunBinary(ZUNT_BIN, {"--trace", path}, options);
    EXPECT_EQ(traced.out, plain.out) << "traced run of:\n" << script;
    EXPECT_EQ(traced.status, plain.status) << "traced run of:\n" << script;
    EXPECT_EQ(WithoutTraceEntries(traced.err, path), plain.err) << "traced run of:\n" << script;
  }
  return ScriptRun{path, plain};
}

inline ScriptRun RunScript(const std::string& script, const std::string& input = kManyLines) {
  RunOptions options;
  options.input = input;
  return RunScript(script, options);
}

}  // namespace orvelt::zunt::testing
