// The marks of a working text, found through the table for long pieces, are where a plain search
// of the piece finds them.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/text.h"
#include "zunt/working_text.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

// The first mark within the piece, by a search of the piece alone.
std::size_t PlainFirst(Mark mark, TextView piece) {
  TextView name = MarkName(mark);
  for (std::size_t i = 0; i < piece.size(); ++i) {
    char16_t c = piece[i];
    switch (mark) {
      case Mark::Quote: if (c == u'"') return i; break;
      case Mark::Open: if (c == u'[') return i; break;
      case Mark::Close: if (c == u']') return i; break;
      case Mark::Paren: if (c == u')') return i; break;
      case Mark::Operator: if (TextView(u"+-*/^").find(c) != TextView::npos) return i; break;
      default:
        if (i + name.size() <= piece.size() && LowerText(Text(piece.substr(i, name.size()))) == name) return i;
    }
  }
  return kNowhere;
}

TEST(WorkingText, MarksInLongPiecesAreWhereASearchFindsThem) {
  const TextView pieces[] = {u"\"", u"[", u"]", u")", u"+", u"^", u"SIN(", u"sin(", u"cos(", u"Rand(", u"keyhit(",
                             u"keydown(", u"key", u"si", u"x", u"  "};
  std::mt19937 rng(41);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int round = 0; round < 20; ++round) {
    Text t;
    while (t.size() < 3000) t.append(pieces[pick(rng)]);
    WorkingText w;
    w.Assign(t);
    std::uniform_int_distribution<std::size_t> at(0, t.size());
    for (int i = 0; i < 500; ++i) {
      std::size_t begin = at(rng), end = at(rng);
      if (begin > end) std::swap(begin, end);
      Piece piece{&w, begin, end};
      for (std::size_t m = 0; m < kMarkCount; ++m) {
        Mark mark = static_cast<Mark>(m);
        std::size_t plain = PlainFirst(mark, piece.view());
        ASSERT_EQ(piece.First(mark), plain == kNowhere ? kNowhere : begin + plain) << m << " " << begin << " " << end;
      }
    }
  }
}

}  // namespace
}  // namespace zunt
