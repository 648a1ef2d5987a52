// What the checker knows of a script: its lines and labels as Load stores them, each line taken
// apart as the executor takes it, the names the script declares, and the findings so far; shared by
// the checks of lines and of names.
#pragma once
#include <cstddef>
#include <optional>
#include <vector>

#include "runtime/findings.h"
#include "zunt/script.h"
#include "zunt/statement.h"

namespace orvelt::zunt {

struct DeclaredName {
  Text name;
  std::size_t line = 0;
  int typ = 0;  // 1 integer, 2 float, 3 string
  bool array = false;
};

// A stretch of a line's statement text that the executor evaluates with Calc2.
struct Evaluated {
  int start = 0;  // 1-based position in the statement text
  Text text;
};

struct CheckedScript {
  TScript script;
  std::vector<std::optional<Statement>> statements;  // none for comment lines
  std::vector<DeclaredName> declared;                // in line order, input_text first
  std::vector<std::vector<Evaluated>> evaluated;     // per line
  std::vector<Finding> findings;

  void Report(std::size_t line, int column, Text text, Severity severity = Severity::Warning) {
    findings.push_back({static_cast<int64_t>(line) + 1, column, severity, std::move(text)});
  }
  // A line that the executor runs: not a comment, not starting with a blank, a tab or "#".
  const Statement* Runs(std::size_t line) const;
};

// The replacement trap, the labels and the targets of goto.
void CheckNames(CheckedScript& checked);

}  // namespace orvelt::zunt
