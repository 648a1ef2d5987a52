// The texts the dialogs work from: the file filter's groups, the initial path's parts, and a
// message's line ends for the console and for the message box.
#pragma once
#include <string>
#include <vector>

#include "runtime/text.h"

namespace orvelt {

struct FilterGroup {
  Text description;       // leading and trailing blanks removed
  std::vector<Text> patterns;  // shell patterns; "*" for every file
};

// "Scripte:cf; Textdateien:txt; Alle Dateien:*": groups separated by ";", each a description, a
// ":" and extensions separated by ",". A filter without any ":" is one group named "Files".
std::vector<FilterGroup> ParseFileFilter(const Text& filter);

// The same filter in the form Windows' file dialogs take: description and pattern list as
// NUL-separated pairs, ending with a NUL ("Scripte\0*.cf\0 Textdateien\0*.txt\0"); each ":" becomes
// NUL and "*.", each ";" NUL and each "," ";*.", so the blank after a ";" stays in the description.
Text WindowsFilterList(const Text& filter);

struct InitialPath {
  Text directory;  // empty: the dialog's default folder
  Text name;
};
InitialPath SplitInitialPath(const Text& path);

// CR LF, a lone CR and a lone LF each become one console line end (CR LF).
std::string MessageForConsole(const Text& text);
// The same line ends as "\n", in UTF-8, for the message box.
std::string MessageForBox(const Text& text);

}  // namespace orvelt
