// The life of the process: start-up in the program's own directory, program arguments, finding
// the files the user names, end hooks, and the normal and fatal ends.
#include "runtime/process.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

#include "runtime/console.h"

namespace orvelt {

namespace {

std::vector<Text> gArguments;
std::string gProgramDirectory;  // the working directory after start
std::string gStartDirectory;    // where the user started the program
std::vector<void (*)()> gEndHooks;
const char* gOutOfMemoryText = "Kein Speicher mehr!";

std::string CurrentDirectory() {
  std::string buffer(4096, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.c_str());
}

std::string ExecutablePath(const char* argv0) {
  std::string buffer(4096, '\0');
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n > 0 && static_cast<std::size_t>(n) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(n));
  return argv0 ? std::string(argv0) : std::string();
}

// The directory part with "/" as separator; the root keeps its "/".
std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string JoinPath(const std::string& directory, const std::string& relative) {
  if (directory.empty()) return relative;
  if (directory.back() == '/') return directory + relative;
  return directory + "/" + relative;
}

// The byte spellings a path may have on disk: its UTF-8 form, and, when every unit fits a byte,
// one byte per unit, so that a name stored in a single-byte encoding still opens.
std::vector<std::string> ByteSpellings(const Text& path) {
  std::vector<std::string> spellings{EncodeUtf8(path)};
  bool narrow = std::all_of(path.begin(), path.end(), [](char16_t c) { return c < 256; });
  if (narrow && NarrowBytes(path) != spellings.front()) spellings.push_back(NarrowBytes(path));
  return spellings;
}

// Where a relative path is looked for: the program's directory first, then the start directory.
std::vector<std::string> SearchDirectories() {
  std::vector<std::string> places{gProgramDirectory};
  if (!gStartDirectory.empty() && gStartDirectory != gProgramDirectory) places.push_back(gStartDirectory);
  return places;
}

}  // namespace

void StartProcess(int argc, char** argv) {
  std::vector<Text> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(DecodeBytes(argv[i] ? argv[i] : ""));
  std::string startDirectory = CurrentDirectory();
  std::string programDirectory = DirectoryOf(ExecutablePath(argc > 0 ? argv[0] : nullptr));
  if (!programDirectory.empty() && chdir(programDirectory.c_str()) == 0)
    programDirectory = CurrentDirectory();
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
  std::fflush(ConsoleOut());
  std::fflush(ConsoleErr());
  RunEndHooks();
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
  std::vector<std::string> spellings = ByteSpellings(path);
  std::vector<std::string> places = path[0] == u'/' ? std::vector<std::string>{std::string()} : SearchDirectories();
  for (const std::string& place : places)
    for (const std::string& spelling : spellings)
      if (IsRegularFile(JoinPath(place, spelling))) return JoinPath(place, spelling);
  return std::nullopt;
}

bool ReadFileBytes(const std::string& nativePath, std::string* bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(nativePath.c_str(), "rb"), std::fclose);
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
