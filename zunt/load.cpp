// Load: the script file read into lines, with one jump label for every line that starts with "#".
#include "zunt/load.h"

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

}  // namespace

void StoreScriptLines(TScript& script, const Text& content) {
  ForEachLine(content, [&script](Text line) {
    bool label = !line.empty() && line[0] == u'#';
    std::size_t at = static_cast<std::size_t>(script.anz);
    if (at < script.lines.size())
      script.lines[at] = std::move(line);
    else
      script.lines.push_back(std::move(line));
    // Labels are named through Calc2 while every list is still empty.
    if (label) script.TGotos.push_back(TGoto{script.Calc2(script.lines[at].substr(1)), script.anz});
    ++script.anz;
  });
}

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
  StoreScriptLines(*this, DecodeBytes(bytes));
  return 1;
}

}  // namespace orvelt::zunt
