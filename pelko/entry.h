// The pelko program: start-up in its fixed order, the command-line text, the version request, the
// path check, loading, and running a loaded source.
#pragma once
#include <cstdint>
#include <vector>

#include "pelko/loader.h"
#include "pelko/machine.h"

namespace orvelt::pelko {

// The body of the program for RunProgram: reads ProgramArguments and never returns normally.
int Main();

// The program arguments after the program path, each followed by one space.
Text CommandLineText(const std::vector<Text>& arguments);
// True for an empty command line or "-v" alone (after trimming).
bool IsVersionRequest(const Text& commandLine);
// The command-line text without its trailing blanks.
Text SourcePath(const Text& commandLine);
// The decoded units of the source file; a path that names no readable file ends the program with
// the file message.
Text ReadSource(const Text& path);

struct SourceRun {
  int32_t startTime = 0;
  TickTimer* frameTimer = nullptr;
};

// The out-of-memory message, the start time, the seeding and the frame timer, in the order every
// run sets them up.
SourceRun StartRun();

// Loads decoded source units, applies the predefined symbols and hands the program to the machine.
// The source is let go once its lines are stored; the observer hears of every line stored.
void LoadMachine(Machine& machine, Text source, const SourceRun& run, const LineObserver& observe = {});
// Loads and runs the program; ends through EndProgram or RaiseFatalError.
[[noreturn]] void RunSource(Text source, const SourceRun& run);

}  // namespace orvelt::pelko
