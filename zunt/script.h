// The records of a loaded script: its lines, its variables and arrays in declaration order, its
// jump labels in file order, and the one object that holds them all while the script runs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/text.h"
#include "zunt/name_index.h"
#include "zunt/records.h"

namespace orvelt::zunt {

// Bounds that keep hostile scripts from exhausting the machine, and the switches that let tests
// and fuzzing run a script without a window or a person at the keyboard.
struct RunLimits {
  int64_t lineBudget = -1;    // lines to run before the run stops quietly; negative: no bound
  bool noWaiting = false;     // no window opens, key waits return at once, input reads nothing
  int maxNesting = 64;        // index and sine texts evaluated inside one another, at most
  int64_t nestedWork = int64_t{1} << 24;  // characters of nested texts one evaluation may take on
  std::size_t maxTextLength = std::size_t{1} << 25;  // longest working text; beyond: fatal error
  // Walk every list whole and compute by the literal recursive stages: the slow reference that
  // tests and fuzzing hold the fast paths against. Only for short texts.
  bool literalWalks = false;
};

class TScript {
 public:
  std::vector<Text> lines;
  int32_t anz = 0;
  std::vector<IVar> IVars;
  std::vector<FVar> FVars;
  std::vector<SVar> SVars;
  std::vector<Array> Arrays;
  std::vector<TGoto> TGotos;
  Text file;

  RunLimits limits;

  int Load(const Text& path, int limit);  // 1 when the file opened, 0 when it could not
  int Execute();                           // runs the loaded lines; 0 at a normal end
  Text Calc2(const Text& expr);            // evaluates one expression text
  Text CalcNested(const Text& expr);       // Calc2 of an index or sine text met inside Calc2

  // The records whose names can occur in a text or start a line, found by their first characters;
  // brought up to date with the lists on every call.
  NameIndex& Names();

 private:
  Text SubstituteNames(Text t);
  Text SubstituteArrayElement(Text t);
  Text ApplyBuiltins(Text t);

  NameIndex names_;
  int nesting_ = 0;          // depth of the Calc2 call now running, 0 outside any
  int64_t nestedLeft_ = 0;   // characters nested evaluations may still take in this evaluation
};

}  // namespace orvelt::zunt
