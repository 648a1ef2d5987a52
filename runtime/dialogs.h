// The file-open dialog and the message box.
#pragma once
#include "runtime/text.h"

namespace orvelt {

// The chosen path, or the empty text when cancelled. Without a display: writes the title to
// standard output and reads one line from standard input as the path.
Text ChooseFileToOpen(const Text& title, const Text& filter, const Text& initialPath);
// A modal box with the application title as caption. When it cannot be shown the text goes to
// standard error, each CR written as a line end, followed by a line end.
void ShowMessage(const Text& text, bool serious);

}  // namespace orvelt
