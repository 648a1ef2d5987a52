// The line rule of source files and console input: a line feed or the character 0 ends a line,
// and carriage returns are dropped wherever they stand.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/text.h"

namespace orvelt {

enum class LineChar { Kept, Dropped, EndsLine };

constexpr LineChar ClassifyLineChar(uint32_t code) {
  if (code == 10 || code == 0) return LineChar::EndsLine;
  return code == 13 ? LineChar::Dropped : LineChar::Kept;
}

// The line that starts at `position`, without its end; `position` moves past the end. The text is
// read to its end when `position` reaches its size, so a line feed as the last character adds no
// empty line after it.
Text NextLine(std::u16string_view text, std::size_t& position);

}  // namespace orvelt
