// The texts the dialogs work from: parsing the file filter into groups of patterns, splitting the
// initial path, and writing a message's line ends for the console or the message box.
#include "runtime/internal/dialog_texts.h"

namespace orvelt {

namespace {

std::vector<Text> SplitAt(const Text& text, char16_t separator) {
  std::vector<Text> parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == Text::npos ? Text::npos : at - start));
    if (at == Text::npos) return parts;
    start = at + 1;
  }
}

// Extensions compare without regard to case, as on the platform the filters come from.
std::string PatternForExtension(const Text& extension) {
  if (extension == u"*") return "*";
  std::string pattern = "*.";
  for (char16_t unit : extension) {
    if (unit >= u'a' && unit <= u'z') {
      pattern += {'[', static_cast<char>(unit), static_cast<char>(unit - 32), ']'};
    } else if (unit >= u'A' && unit <= u'Z') {
      pattern += {'[', static_cast<char>(unit + 32), static_cast<char>(unit), ']'};
    } else {
      pattern += EncodeUtf8(Text(1, unit));
    }
  }
  return pattern;
}

FilterGroup ParseGroup(const Text& group) {
  size_t colon = group.find(u':');
  FilterGroup parsed{TrimText(group.substr(0, colon)), {}};
  if (colon == Text::npos) return parsed;
  for (const Text& extension : SplitAt(group.substr(colon + 1), u',')) {
    Text trimmed = TrimText(extension);
    if (!trimmed.empty()) parsed.patterns.push_back(DecodeBytes(PatternForExtension(trimmed)));
  }
  if (parsed.patterns.empty()) parsed.patterns.push_back(u"*");
  return parsed;
}

// Visits the text's lines; `lineEnd` is false for the last piece.
template <typename Visit>
void ForEachLine(const Text& text, Visit visit) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    visit(text.substr(start, i - start), true);
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  visit(text.substr(start), false);
}

}  // namespace

std::vector<FilterGroup> ParseFileFilter(const Text& filter) {
  Text groups = filter.find(u':') == Text::npos ? u"Files:" + filter : filter;
  std::vector<FilterGroup> parsed;
  for (const Text& group : SplitAt(groups, u';')) {
    // A group without ":" names no files.
    if (group.find(u':') != Text::npos) parsed.push_back(ParseGroup(group));
  }
  return parsed;
}

Text WindowsFilterList(const Text& filter) {
  Text groups = filter.find(u':') == Text::npos ? u"Files:" + filter : filter;
  Text list;
  for (char16_t unit : groups) {
    switch (unit) {
      case u':': list += Text(1, u'\0') + u"*."; break;
      case u';': list.push_back(u'\0'); break;
      case u',': list += u";*."; break;
      default: list.push_back(unit); break;
    }
  }
  list.push_back(u'\0');
  return list;
}

InitialPath SplitInitialPath(const Text& path) {
  size_t slash = path.rfind(u'/');
  if (slash == Text::npos) return {Text(), path};
  return {slash == 0 ? Text(u"/") : path.substr(0, slash), path.substr(slash + 1)};
}

std::string MessageForConsole(const Text& text) {
  std::string bytes;
  ForEachLine(text, [&bytes](const Text& line, bool) { bytes += EncodeUtf8Units(line) + "\r\n"; });
  return bytes;
}

std::string MessageForBox(const Text& text) {
  std::string bytes;
  ForEachLine(text, [&bytes](const Text& line, bool lineEnd) {
    bytes += EncodeUtf8(line);
    if (lineEnd) bytes += '\n';
  });
  return bytes;
}

}  // namespace orvelt
