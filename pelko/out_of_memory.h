// The end of a run whose memory for program data ran out: "DEBUG >> Kein Speicher mehr! LINE: n",
// made and written without allocating, then the fatal end.
#pragma once
#include <cstdint>
#include <new>
#include <stdexcept>

namespace orvelt::pelko {

// Ends the run with the message for the given row (the row being stored, decoded or executed).
[[noreturn]] void RaiseOutOfMemory(int64_t row);
// The message RunProgram writes when memory runs out where no row is known (reading the file,
// building the tables): the same words without a row.
void SetOutOfMemoryMessage();

// Runs step; memory that runs out on the way ends the run at the row `row` names by then.
template <class RowNumber, class Step>
decltype(auto) OnOutOfMemoryRaiseAt(const RowNumber& row, Step&& step) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    RaiseOutOfMemory(row);
  } catch (const std::length_error&) {
    RaiseOutOfMemory(row);
  }
}

}  // namespace orvelt::pelko
