// The records of a loaded script: its lines, its variables and arrays in declaration order, its
// jump labels in file order, and the one object that holds them all while the script runs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "runtime/text.h"
#include "zunt/calc_levels.h"
#include "zunt/name_index.h"
#include "zunt/records.h"
#include "zunt/script_lines.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

class Trace;

class TScript {
 public:
  ScriptLines lines;
  int32_t anz = 0;
  std::vector<IVar> IVars;
  std::vector<FVar> FVars;
  std::vector<SVar> SVars;
  std::vector<Array> Arrays;
  std::deque<TGoto> TGotos;  // grows without moving: a script may hold millions of labels
  Text file;
  Trace* trace = nullptr;  // set while the run is traced: told of every line and every change

  int Load(const Text& path, int limit);  // 1 when the file opened, 0 when it could not
  int Execute();                           // runs the loaded lines; 0 at a normal end
  Text Calc2(TextView expr);               // evaluates one expression text

  // The records whose names can occur in a text or start a line, found by their first characters;
  // brought up to date with the lists on every call.
  NameIndex& Names();

 private:
  class Evaluation;

  NameIndex names_;
  CalcLevels calc_;
};

}  // namespace orvelt::zunt
