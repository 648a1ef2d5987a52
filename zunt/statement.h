// One script line taken apart as the executor reads it: the statement text before any ";", its
// separator, its command word and the positions of its first three commas, and the argument fields.
#pragma once
#include "runtime/text.h"

namespace orvelt::zunt {

struct Statement {
  Text L;
  int len = 0;
  int p = 0;
  Text cmd;
  int c1 = 0, c2 = 0, c3 = 0;

  explicit Statement(const Text& line) : L(line) {
    int semicolon = FindText(L, u";");
    if (semicolon > 0) L = LeftText(L, semicolon - 1);
    len = static_cast<int>(L.size());
    p = FindText(L, u" ");
    if (p == 0) p = FindText(L, u"(");
    cmd = LowerText(p > 0 ? LeftText(L, p - 1) : L);
    c1 = FindText(L, u",");
    c2 = FindText(L, u",", c1 + 1);
    c3 = FindText(L, u",", c2 + 1);
  }

  Text F1() const { return MidText(L, p + 1, c1 - p - 1); }
  Text F2() const { return MidText(L, c1 + 1, c2 - c1 - 1); }
  Text F3() const { return MidText(L, c2 + 1, c3 - c2 - 1); }
  Text F3plus() const { return MidText(L, c2 + 1, len - c2); }
  Text F4plus() const { return MidText(L, c3 + 1, len - c3); }
  Text R() const { return RightText(L, len - p); }
};

// Whether the executor's command table has a row for the (lower-cased) word; "endif" is handled
// before the table and has none.
bool IsCommandWord(const Text& word);

}  // namespace orvelt::zunt
