// What the checker knows of a script: its lines and labels as Load stores them, each line taken
// apart as the executor takes it, the names the script declares, and the findings so far; shared by
// the checks of lines and of names.
#pragma once
#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "runtime/findings.h"
#include "zunt/script.h"
#include "zunt/statement.h"
#include "zunt/store.h"

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

  // The declared names that start the line, letter case ignored, found among the line's beginnings
  // of the lengths that names have.
  template <typename Visit>
  void ForEachNameStarting(const Text& line, Visit visit) const {
    const Text lower = LowerText(line);
    for (const auto& [length, names] : byLowerName) {
      if (length > lower.size()) break;
      auto found = names.find(lower.substr(0, length));
      if (found == names.end()) continue;
      for (std::size_t k : found->second)
        if (StartsWithName(line, declared[k].name)) visit(declared[k]);
    }
  }
  // Indexes into declared, by the length and the lower-case form of the name.
  std::map<std::size_t, std::map<Text, std::vector<std::size_t>>> byLowerName;

  void Report(std::size_t line, int column, Text text, Severity severity = Severity::Warning) {
    findings.push_back({static_cast<int64_t>(line) + 1, column, severity, std::move(text)});
  }
  // A line that the executor runs: not a comment, not starting with a blank, a tab or "#".
  const Statement* Runs(std::size_t line) const;
};

// The replacement trap, the labels and the targets of goto.
void CheckNames(CheckedScript& checked);

}  // namespace orvelt::zunt
