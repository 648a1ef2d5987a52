// The life of the process: start-up, program arguments, finding files, normal and fatal ends.
#pragma once
#include <optional>
#include <string>
#include <vector>
#include "runtime/text.h"

namespace orvelt {

// Thrown by EndProgram and RaiseFatalError; RunProgram catches it, so that tests and fuzz targets
// can run an interpreter in-process. Interpreter code never catches it.
struct ProgramExit {
  int status;
};

// Start of the process: splits the arguments into texts (DecodeBytes per argument), remembers the
// directory the user started from and makes the directory holding the program the working one.
void StartProcess(int argc, char** argv);
// The same start for an interpreter that another program runs in-process: the arguments and the
// two directories relative paths are looked for in (empty program directory: the working one;
// empty start directory: none), leaving the working directory as it is.
void StartProcessAt(std::vector<Text> arguments, std::string programDirectory, std::string startDirectory);
// Runs body, ends the process cleanly (window closed, hooks run) and returns the exit status that
// main returns: 0, or 255 for a fatal error or for output to standard output or standard error
// that could not be written.
// Memory that runs out (std::bad_alloc, or a size that cannot be represented) ends the run with
// the program's out-of-memory message and status 255; nothing else is written after it.
int RunProgram(int argc, char** argv, int (*body)());
// The bytes RunProgram writes to standard error when memory ran out and the interpreter had no
// message of its own ready; a string literal, so that writing it needs no memory.
void SetOutOfMemoryText(const char* bytes);
// Writes the out-of-memory text to standard error, with no allocation; for interpreters whose own
// message could not be made.
void WriteOutOfMemoryText();
// Runs the end-of-program hooks (closing the window, ...). Called by RunProgram; tests may call it.
void RunEndHooks();
void AddEndHook(void (*hook)());

const std::vector<Text>& ProgramArguments();

[[noreturn]] void EndProgram();
[[noreturn]] void RaiseFatalError(const Text& message);

// Finds a regular file for a path the user gave: a relative path in the program's directory
// first, then in the directory the program was started from; one that starts with "./" or "../"
// only in the directory the program was started from. Returns the native path to open.
std::optional<std::string> FindRegularFile(const Text& path);
// Reads a whole file as bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& nativePath, std::string* bytes);

}  // namespace orvelt
