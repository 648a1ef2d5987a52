// The life of the process: start-up in the program's own directory, program arguments, finding
// the files the user names, end hooks, and the normal and fatal ends.
#include "runtime/process.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

#include "runtime/console.h"
#include "runtime/internal/os.h"

namespace orvelt {

namespace {

std::vector<Text> gArguments;
std::string gProgramDirectory;  // the working directory after start
std::string gStartDirectory;    // where the user started the program
std::vector<void (*)()> gEndHooks;
const char* gOutOfMemoryText = "Kein Speicher mehr!";

std::string JoinPath(const std::string& directory, const std::string& relative) {
  if (directory.empty()) return relative;
  if (directory.back() == '/') return directory + relative;
  return directory + "/" + relative;
}

// A path written from the current directory, as a shell user means it: "./x.pel", "../x.pel".
bool StartsFromCurrentDirectory(const Text& path) {
  return path.starts_with(u"./") || path.starts_with(u"../");
}

// Where a path is looked for: an absolute one as it stands; one written from the current
// directory in the start directory only; any other relative one in the program's directory
// first, then in the start directory. An empty directory stands for the working directory.
std::vector<std::string> SearchDirectories(const Text& path) {
  if (os::IsAbsolutePath(path)) return {std::string()};
  if (StartsFromCurrentDirectory(path)) return {gStartDirectory};
  std::vector<std::string> places{gProgramDirectory};
  if (!gStartDirectory.empty() && gStartDirectory != gProgramDirectory) places.push_back(gStartDirectory);
  return places;
}

}  // namespace

void StartProcess(int argc, char** argv) {
  os::PrepareProcess();
  std::vector<Text> arguments = os::Arguments(argc, argv);
  std::string startDirectory = os::CurrentDirectory();
  std::string programDirectory = os::ProgramDirectory(argc > 0 ? argv[0] : nullptr);
  if (!programDirectory.empty() && os::ChangeDirectory(programDirectory))
    programDirectory = os::CurrentDirectory();
  else
    programDirectory = startDirectory;
  StartProcessAt(std::move(arguments), std::move(programDirectory), std::move(startDirectory));
}

void StartProcessAt(std::vector<Text> arguments, std::string programDirectory, std::string startDirectory) {
  gArguments = std::move(arguments);
  gProgramDirectory = std::move(programDirectory);
  gStartDirectory = std::move(startDirectory);
}

int RunProgram(int argc, char** argv, int (*body)()) {
  int status = 0;
  try {
    StartProcess(argc, argv);
    status = body();
  } catch (const ProgramExit& exit) {
    status = exit.status;
  } catch (const std::bad_alloc&) {
    WriteOutOfMemoryText();
    status = -1;
  } catch (const std::length_error&) {
    WriteOutOfMemoryText();
    status = -1;
  }
  // Output that could not be written fails the run, whatever the program's own status; only
  // standard error can be left with such a failure here, since console output ends the run at once.
  if (std::fflush(ConsoleOut()) != 0 || std::ferror(ConsoleOut())) status = -1;
  if (std::fflush(ConsoleErr()) != 0 || std::ferror(ConsoleErr())) status = -1;
  RunEndHooks();
  os::RestoreProcessState();
  return status & 0xFF;
}

// Hooks run in the reverse order of their registration, like the C library's exit handlers.
void RunEndHooks() {
  std::vector<void (*)()> hooks = gEndHooks;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) (*it)();
}

void AddEndHook(void (*hook)()) {
  if (hook && std::find(gEndHooks.begin(), gEndHooks.end(), hook) == gEndHooks.end())
    gEndHooks.push_back(hook);
}

void SetOutOfMemoryText(const char* bytes) { gOutOfMemoryText = bytes; }

void WriteOutOfMemoryText() {
  std::FILE* err = ConsoleErr();
  std::fputs(gOutOfMemoryText, err);
  std::fflush(err);
}

const std::vector<Text>& ProgramArguments() { return gArguments; }

void EndProgram() { throw ProgramExit{0}; }

void RaiseFatalError(const Text& message) {
  std::string bytes = NarrowBytes(message);
  std::FILE* err = ConsoleErr();
  std::fwrite(bytes.data(), 1, bytes.size(), err);
  std::fflush(err);
  throw ProgramExit{-1};
}

std::optional<std::string> FindRegularFile(const Text& path) {
  if (path.empty()) return std::nullopt;
  std::vector<std::string> spellings = os::PathSpellings(path);
  for (const std::string& place : SearchDirectories(path))
    for (const std::string& spelling : spellings)
      if (os::IsRegularFile(JoinPath(place, spelling))) return JoinPath(place, spelling);
  return std::nullopt;
}

bool ReadFileBytes(const std::string& nativePath, std::string* bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(os::OpenForReading(nativePath), std::fclose);
  if (!file) return false;
  std::string content;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) content.append(buffer, n);
  if (std::ferror(file.get())) return false;
  *bytes = std::move(content);
  return true;
}

}  // namespace orvelt
