// One script line taken apart as the executor reads it: the statement text before any ";", its
// separator, its command word and the positions of its first three commas, and the argument fields.
#pragma once
#include <cstdint>

#include "runtime/text.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

// One line taken apart: the statement text (the line cut before its first ";"), the separator
// after the command word, the command word in lower case and the first three commas. Positions
// are 1-based, 0 when absent. The last argument of a command always runs to the end of the line.
struct Statement {
  Text text;
  int64_t length = 0;
  int64_t separator = 0;  // the first blank; without one, the first "("
  Text command;
  int64_t comma1 = 0, comma2 = 0, comma3 = 0;

  explicit Statement(TextView line) {
    int64_t semicolon = FindUnit(line, u';');
    text = semicolon > 0 ? LeftView(line, semicolon - 1) : line;
    length = static_cast<int64_t>(text.size());
    separator = FindUnit(text, u' ');
    if (separator == 0) separator = FindUnit(text, u'(');
    command = LowerText(separator > 0 ? Text(LeftView(text, separator - 1)) : text);
    comma1 = FindUnit(text, u',');
    comma2 = FindUnit(text, u',', comma1 + 1);
    comma3 = FindUnit(text, u',', comma2 + 1);
  }

  TextView FirstField() const { return MidView(text, separator + 1, comma1 - separator - 1); }
  TextView SecondField() const { return MidView(text, comma1 + 1, comma2 - comma1 - 1); }
  TextView ThirdField() const { return MidView(text, comma2 + 1, comma3 - comma2 - 1); }
  TextView FromThirdField() const { return MidView(text, comma2 + 1, length - comma2); }
  TextView FromFourthField() const { return MidView(text, comma3 + 1, length - comma3); }
  TextView Rest() const { return RightView(text, length - separator); }
};

// Whether the executor's command table has a row for the (lower-cased) word; "endif" is handled
// before the table and has none.
bool IsCommandWord(const Text& word);

}  // namespace orvelt::zunt
