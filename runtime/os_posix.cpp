// The process services' system calls on Linux and other POSIX systems: arguments as bytes,
// the program's directory from /proc/self/exe, and file names as byte strings.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "runtime/internal/os.h"

namespace orvelt::os {

namespace {

std::string ExecutablePath(const char* argv0) {
  std::string buffer(4096, '\0');
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n > 0 && static_cast<std::size_t>(n) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(n));
  return argv0 ? std::string(argv0) : std::string();
}

}  // namespace

std::vector<Text> Arguments(int argc, char** argv) {
  std::vector<Text> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(DecodeBytes(argv[i] ? argv[i] : ""));
  return arguments;
}

// The root keeps its "/".
std::string ProgramDirectory(const char* argv0) {
  std::string path = ExecutablePath(argv0);
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string CurrentDirectory() {
  std::string buffer(4096, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.c_str());
}

bool ChangeDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

bool IsAbsolutePath(const Text& path) { return !path.empty() && path[0] == u'/'; }

// Its UTF-8 form, and, when every unit fits a byte, one byte per unit, so that a name stored in a
// single-byte encoding still opens.
std::vector<std::string> PathSpellings(const Text& path) {
  std::vector<std::string> spellings{EncodeUtf8(path)};
  bool narrow = std::all_of(path.begin(), path.end(), [](char16_t c) { return c < 256; });
  if (narrow && NarrowBytes(path) != spellings.front()) spellings.push_back(NarrowBytes(path));
  return spellings;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

// A standard descriptor the program was started without gets /dev/null opened for reading, so that
// no file or connection opened later takes its number: output to it then fails, as it should,
// instead of landing in that file, and input from it ends at once.
void PrepareProcess() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    int opened = open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

void RestoreProcessState() {}

}  // namespace orvelt::os
