// Reading lines off a text by the line rule: a line feed or the character 0 ends a line, carriage
// returns are dropped.
#include "runtime/lines.h"

namespace orvelt {

// The line is copied in runs between carriage returns, not unit by unit.
Text NextLine(std::u16string_view text, std::size_t& position) {
  Text line;
  std::size_t run = position;
  while (position < text.size()) {
    LineChar kind = ClassifyLineChar(text[position]);
    if (kind == LineChar::Kept) {
      ++position;
      continue;
    }
    line.append(text.substr(run, position - run));
    ++position;
    run = position;
    if (kind == LineChar::EndsLine) return line;
  }
  line.append(text.substr(run, position - run));
  return line;
}

}  // namespace orvelt
