// Finding the marks of a working text: directly in short or whole texts, and through a table of
// their positions, made once per text, for the pieces that nested evaluations look at.
#include "zunt/working_text.h"

#include <algorithm>

namespace orvelt::zunt {
namespace {

constexpr TextView kMarkNames[kMarkCount] = {u"",        u"",         u"",      u"",     u"",
                                             u"keyhit(", u"keydown(", u"rand(", u"sin(", u"cos("};

std::size_t FirstDirectly(Mark mark, TextView s) {
  std::size_t found = kNowhere;
  switch (mark) {
    case Mark::Quote: found = s.find(u'"'); break;
    case Mark::Open: found = s.find(u'['); break;
    case Mark::Close: found = s.find(u']'); break;
    case Mark::Paren: found = s.find(u')'); break;
    case Mark::Operator: found = s.find_first_of(u"+-*/^"); break;
    default: {
      int64_t at = FindLowered(s, MarkName(mark));
      found = at == 0 ? kNowhere : static_cast<std::size_t>(at - 1);
    }
  }
  return found == TextView::npos ? kNowhere : found;
}

bool NameStartsAt(TextView s, std::size_t i, TextView name) {
  if (name.size() > s.size() - i) return false;
  for (std::size_t k = 0; k < name.size(); ++k)
    if (LowerUnit(s[i + k]) != name[k]) return false;
  return true;
}

}  // namespace

TextView MarkName(Mark mark) { return kMarkNames[static_cast<std::size_t>(mark)]; }

void WorkingText::Assign(Text text) {
  text_ = std::move(text);
  marksFound_ = false;
  namesFound = -1;
}

void WorkingText::Assign(TextView text) {
  text_.assign(text);
  marksFound_ = false;
  namesFound = -1;
}

void WorkingText::FindMarks() const {
  for (auto& list : marks_) list.clear();
  TextView s(text_);
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto note = [&](Mark mark) { marks_[static_cast<std::size_t>(mark)].push_back(i); };
    switch (LowerUnit(s[i])) {
      case u'"': note(Mark::Quote); break;
      case u'[': note(Mark::Open); break;
      case u']': note(Mark::Close); break;
      case u')': note(Mark::Paren); break;
      case u'+': case u'-': case u'*': case u'/': case u'^': note(Mark::Operator); break;
      case u'k':
        if (NameStartsAt(s, i, MarkName(Mark::KeyHit))) note(Mark::KeyHit);
        if (NameStartsAt(s, i, MarkName(Mark::KeyDown))) note(Mark::KeyDown);
        break;
      case u'r': if (NameStartsAt(s, i, MarkName(Mark::Rand))) note(Mark::Rand); break;
      case u's': if (NameStartsAt(s, i, MarkName(Mark::Sin))) note(Mark::Sin); break;
      case u'c': if (NameStartsAt(s, i, MarkName(Mark::Cos))) note(Mark::Cos); break;
      default: break;
    }
  }
  marksFound_ = true;
}

std::size_t WorkingText::First(Mark mark, std::size_t begin, std::size_t end) const {
  if (begin >= end) return kNowhere;
  if (end - begin <= kShortPiece || (begin == 0 && end == text_.size())) {
    std::size_t found = FirstDirectly(mark, TextView(text_).substr(begin, end - begin));
    return found == kNowhere ? kNowhere : begin + found;
  }
  if (!marksFound_) FindMarks();
  const std::vector<std::size_t>& list = marks_[static_cast<std::size_t>(mark)];
  auto it = std::lower_bound(list.begin(), list.end(), begin);
  if (it == list.end() || *it + std::max<std::size_t>(MarkName(mark).size(), 1) > end) return kNowhere;
  return *it;
}

Piece Piece::Mid(int64_t pos, int64_t count) const {
  TextView whole = view();
  TextView part = MidView(whole, pos, count);
  std::size_t offset = part.empty() ? 0 : static_cast<std::size_t>(part.data() - whole.data());
  return Piece{of, begin + offset, begin + offset + part.size()};
}

}  // namespace orvelt::zunt
