// Console lines: UTF-8 out with CR LF and a flush, UTF-8 in up to a line feed.
#pragma once
#include <cstdio>
#include <optional>
#include "runtime/text.h"

namespace orvelt {

// Console output that cannot be written ends the program through RaiseFatalError.
void PrintLine(const Text& text);
// Writes the prompt without a line end, flushes, and returns the next input line (what was read
// before the end of input, possibly nothing).
Text ReadLineWithPrompt(const Text& prompt);
// Writes the text without a line end and flushes.
void WriteText(const Text& text);
// The next input line, or nothing when the input ended before any character was read.
// A last line without a line end is still a line.
std::optional<Text> ReadConsoleLine();

// An embedding program may point the console at its own streams; nullptr restores stdin, stdout
// and stderr.
void SetConsoleStreams(std::FILE* in, std::FILE* out, std::FILE* err);
std::FILE* ConsoleIn();
std::FILE* ConsoleOut();
std::FILE* ConsoleErr();

}  // namespace orvelt
