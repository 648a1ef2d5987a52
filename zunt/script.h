// The records of a loaded script: its lines, its variables and arrays in declaration order, its
// jump labels in file order, and the one object that holds them all while the script runs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/text.h"
#include "zunt/elements.h"

namespace zunt {

struct TGoto {
  Text name;         // computed through Calc2 when the script was loaded
  int32_t line = 0;  // zero-based index of the label's own line
};

struct IVar {
  Text Name;
  int32_t value = 0;
};

struct FVar {
  Text Name;
  float Value = 0.0f;
};

struct SVar {
  Text Name;
  Text value;  // kept with whatever double quotes the setting rules leave in it
};

struct Array {
  Text name;
  uint8_t typ = 0;  // 1 integer, 2 float, 3 string
  Elements<int32_t> iarray;
  Elements<float> farray;
  Elements<Text> sarray;
  int32_t amount = 0;  // the declared size as converted; valid indexes are 0 to amount - 1
};

// Bounds that keep hostile scripts from exhausting the machine, and the switches that let tests
// and fuzzing run a script without a window or a person at the keyboard.
struct RunLimits {
  int64_t lineBudget = -1;    // lines to run before the run stops quietly; negative: no bound
  bool noWaiting = false;     // no window opens, key waits return at once, input reads nothing
  int maxNesting = 64;        // index and sine texts evaluated inside one another, at most
  int64_t nestedWork = int64_t{1} << 24;  // characters of nested texts one evaluation may take on
  std::size_t maxTextLength = std::size_t{1} << 25;  // longest working text; beyond: fatal error
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

 private:
  Text SubstituteNames(Text t) const;
  Text SubstituteArrayElement(Text t);
  Text ApplyBuiltins(Text t);

  int nesting_ = 0;          // depth of the Calc2 call now running, 0 outside any
  int64_t nestedLeft_ = 0;   // characters nested evaluations may still take in this evaluation
};

}  // namespace zunt
