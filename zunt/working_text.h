// The working texts of Calc2, and pieces of them: where in a text the characters and function
// names the evaluation looks for stand, so that an index or sine text nested deep inside a long
// text is looked at in place, without a copy and without a walk over all of it.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/text.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

// What the evaluation looks for: a double quote, "[", "]", ")", any of "+-*/^", and the built-in
// functions' names with their "(", found in any letter case.
enum class Mark : uint8_t { Quote, Open, Close, Paren, Operator, KeyHit, KeyDown, Rand, Sin, Cos };
constexpr std::size_t kMarkCount = 10;
constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

// The function name a mark stands for, lower-cased with its "(", or empty for the characters.
TextView MarkName(Mark mark);

// Pieces up to this length, and whole texts, are searched directly; longer pieces through a table.
constexpr std::size_t kShortPiece = 256;

class WorkingText {
 public:
  const Text& text() const { return text_; }
  // Gives the text a new value; what was found in the old one is forgotten.
  void Assign(Text text);
  void Assign(TextView text);

  // Start of the first occurrence of the mark lying wholly within [begin, end); kNowhere if none.
  std::size_t First(Mark mark, std::size_t begin, std::size_t end) const;
  // Whether a piece of this length is looked at through the table of marks, and the table is yet
  // to be made.
  bool TableToMake(std::size_t pieceLength) const { return pieceLength > kShortPiece && !marksFound_; }

  // Whether some name of the store was found in the text: unknown (-1), no (0) or yes (1).
  int8_t namesFound = -1;

 private:
  void FindMarks() const;

  Text text_;
  mutable bool marksFound_ = false;
  mutable std::array<std::vector<std::size_t>, kMarkCount> marks_;
};

// A stretch [begin, end) of a working text.
struct Piece {
  const WorkingText* of = nullptr;
  std::size_t begin = 0;
  std::size_t end = 0;

  static Piece All(const WorkingText& w) { return Piece{&w, 0, w.text().size()}; }
  TextView view() const { return TextView(of->text()).substr(begin, end - begin); }
  std::size_t size() const { return end - begin; }
  std::size_t First(Mark mark) const { return of->First(mark, begin, end); }
  bool Has(Mark mark) const { return First(mark) != kNowhere; }
  // The piece MidText(view, pos, count) would copy, for a pos of 1 or more.
  Piece Mid(int64_t pos, int64_t count) const;
};

}  // namespace orvelt::zunt
