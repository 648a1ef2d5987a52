// Running the built programs from tests: arguments, standard input, captured output, exit status;
// and temporary folders for the files they read.
#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <vector>

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;       // exit status 0..255, or -signal when killed by a signal
  bool timedOut = false; // killed after the time limit
};

struct RunOptions {
  std::string input;            // written to standard input, which is then closed
  std::string cwd;              // working directory to start in; empty: the test's own
  bool withDisplay = false;     // keep DISPLAY and WAYLAND_DISPLAY; otherwise both are removed
  int timeoutMs = 60000;        // killed (SIGKILL) after this long
  std::map<std::string, std::string> env;  // extra environment variables
  // Bytes of address space the program may take (RLIMIT_AS); 0: no bound. Not bounded where
  // RunsWindowsPrograms() holds: skip tests that need the bound there.
  std::size_t addressSpaceLimit = 0;
};

RunResult RunBinary(const std::string& binary, const std::vector<std::string>& args,
                    const RunOptions& options = {});

// The command that runs a built program: the program itself; or, with ORVELT_WINE_BUILD naming a
// Windows build folder, Wine running the same program's .exe from that folder, so that every test
// that runs the built programs checks the Windows programs too.
std::vector<std::string> ProgramCommand(const std::string& binary);
bool RunsWindowsPrograms();
// Convenience: the input text only.
inline RunResult RunBinary(const std::string& binary, const std::vector<std::string>& args,
                           const std::string& input) {
  RunOptions options;
  options.input = input;
  return RunBinary(binary, args, options);
}

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file (bytes as given) and returns its full path.
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
