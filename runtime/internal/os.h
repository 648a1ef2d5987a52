// What the process services ask of the operating system: the arguments as the system passed them,
// directories, regular files, and the modes of the standard streams. One file per system
// (os_posix.cpp, os_win32.cpp) answers; native paths are UTF-8 strings on both.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/text.h"

namespace orvelt::os {

// The program's arguments as texts. On Windows the process's own arguments come from its UTF-16
// command line; arguments a caller made up (tests) are decoded from their bytes, as on POSIX.
std::vector<Text> Arguments(int argc, char** argv);
// The directory holding the running program's file; empty when it cannot be told.
std::string ProgramDirectory(const char* argv0);
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& path);

bool IsAbsolutePath(const Text& path);
// The native spellings a path the user gave may have on disk, the likeliest first.
std::vector<std::string> PathSpellings(const Text& path);
bool IsRegularFile(const std::string& path);
std::FILE* OpenForReading(const std::string& path);

// Called once at start: standard input, output and error carry bytes unchanged, console windows
// show UTF-8, and sleeps and timers get a 1-millisecond resolution; a standard stream the program
// was started without keeps its number taken, so that writing to it fails. RestoreProcessState gives the
// console's code pages and the timer resolution back.
void PrepareProcess();
void RestoreProcessState();

}  // namespace orvelt::os
