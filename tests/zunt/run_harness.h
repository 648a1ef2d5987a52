// Running scripts through the built zunt program: a script written to a temporary folder, its
// standard output, standard error and exit status, and the messages the interpreter writes.
#pragma once
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

inline ScriptRun RunScript(const std::string& script, RunOptions options) {
  TempDir dir;
  std::string path = dir.Write("script.cf", script);
  return ScriptRun{path, RunBinary(ZUNT_BIN, {path}, options)};
}

inline ScriptRun RunScript(const std::string& script, const std::string& input = kManyLines) {
  RunOptions options;
  options.input = input;
  return RunScript(script, options);
}

}  // namespace orvelt::zunt::testing
