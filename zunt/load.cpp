// Load: the script file read into lines, with one jump label for every line that starts with "#".
#include "runtime/process.h"
#include "zunt/script.h"

namespace zunt {
namespace {

// A line ends at a line feed, at the character 0 or at the end of the file; carriage returns are
// dropped wherever they stand. A line feed as the last character therefore adds no empty line.
template <typename Store>
void ForEachLine(const Text& content, Store store) {
  std::size_t pos = 0;
  while (pos < content.size()) {
    Text line;
    while (pos < content.size()) {
      char16_t c = content[pos++];
      if (c == 10 || c == 0) break;
      if (c != 13) line.push_back(c);
    }
    store(std::move(line));
  }
}

}  // namespace

// The lists are made empty before the file is opened, so they exist even when loading fails.
// The first size of lines is limit; a longer script makes it grow, so that no line is lost.
int TScript::Load(const Text& path, int limit) {
  file = path;
  lines.assign(static_cast<std::size_t>(limit > 0 ? limit : 0), Text());
  anz = 0;
  IVars.clear();
  FVars.clear();
  SVars.clear();
  Arrays.clear();
  TGotos.clear();
  std::optional<std::string> native = FindRegularFile(path);
  std::string bytes;
  if (!native || !ReadFileBytes(*native, &bytes)) return 0;
  ForEachLine(DecodeBytes(bytes), [this](Text line) {
    bool label = !line.empty() && line[0] == u'#';
    if (static_cast<std::size_t>(anz) < lines.size())
      lines[static_cast<std::size_t>(anz)] = std::move(line);
    else
      lines.push_back(std::move(line));
    // Labels are named through Calc2 while every list is still empty.
    if (label) TGotos.push_back(TGoto{Calc2(lines[static_cast<std::size_t>(anz)].substr(1)), anz});
    ++anz;
  });
  return 1;
}

}  // namespace zunt
