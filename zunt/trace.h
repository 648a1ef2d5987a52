// The trace of a run: for every line the executor runs, "FILE:LINE: the line as written" on standard
// error, with each variable or array element the line set, gathered and written in batches.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/text.h"
#include "zunt/records.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

class Trace {
 public:
  // The file as the user named it; lines are counted from 1.
  explicit Trace(const Text& file);
  // Writes what is left, the entry of a line that ended the program included.
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // The line at the zero-based index starts to run.
  void Begin(int32_t index, TextView line);
  // What the running line set, in the order it set it.
  void Set(const IVar& v);
  void Set(const FVar& v);
  void Set(const SVar& v);
  void Set(const Array& array, int32_t index);
  // The running line is over; its entry joins the batch.
  void End();
  // Writes the finished entries; the running line's entry waits for its end.
  void Flush();

 private:
  void Changed(const Text& name, const Text& value);

  std::string file_;     // "FILE:", encoded once
  std::string entry_;    // the running line's entry, empty between lines
  std::string batch_;    // finished entries not yet written
};

}  // namespace orvelt::zunt
