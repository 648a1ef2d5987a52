// Load: the script file read into lines, with one jump label for every line that starts with "#".
#include "zunt/load.h"

#include <algorithm>
#include <cstdint>

#include "runtime/lines.h"
#include "runtime/process.h"

namespace orvelt::zunt {
namespace {

// A line feed as the last character adds no empty line.
template <typename Store>
void ForEachLine(const Text& content, Store store) {
  std::size_t pos = 0;
  while (pos < content.size()) store(NextLine(content, pos));
}

// At most this many lines: one per line end, and one more after the last.
std::size_t LineCountBound(const Text& content) {
  return static_cast<std::size_t>(std::count_if(content.begin(), content.end(), [](char16_t c) {
           return ClassifyLineChar(c) == LineChar::EndsLine;
         })) + 1;
}

// Stores the lines after those already stored; false, and nothing stored, when they would be more
// than a line number can count.
bool AppendLines(TScript& script, const Text& content) {
  std::size_t bound = LineCountBound(content);
  if (bound > static_cast<std::size_t>(INT32_MAX) - static_cast<std::size_t>(script.anz)) return false;
  script.lines.Reserve(content.size(), bound);
  ForEachLine(content, [&script](Text line) {
    script.lines.Append(line);
    ++script.anz;
  });
  return true;
}

// One label for every stored line from `first` on that starts with "#", in file order. Labels are
// named through Calc2 while every list is still empty.
void NameLabels(TScript& script, std::size_t first) {
  for (std::size_t i = first; i < script.lines.size(); ++i) {
    TextView line = script.lines[i];
    if (!line.empty() && line[0] == u'#')
      script.TGotos.push_back(TGoto{script.Calc2(line.substr(1)), static_cast<int32_t>(i)});
  }
}

}  // namespace

bool StoreScriptLines(TScript& script, const Text& content) {
  std::size_t first = script.lines.size();
  if (!AppendLines(script, content)) return false;
  NameLabels(script, first);
  return true;
}

// The lists are made empty before the file is opened, so they exist even when loading fails. The
// lines take the room their characters need, whatever the limit: no line is lost. The file's text
// is let go before the labels are named.
int TScript::Load(const Text& path, int limit) {
  file = path;
  lines.Clear();
  lines.Reserve(0, static_cast<std::size_t>(std::max(limit, 0)));
  anz = 0;
  IVars.clear();
  FVars.clear();
  SVars.clear();
  Arrays.clear();
  TGotos.clear();
  std::optional<std::string> native = FindRegularFile(path);
  {
    Text content;
    {
      std::string bytes;
      if (!native || !ReadFileBytes(*native, &bytes)) return 0;
      content = DecodeBytes(bytes);
    }
    if (!AppendLines(*this, content)) return 0;
  }
  NameLabels(*this, 0);
  return 1;
}

}  // namespace orvelt::zunt
