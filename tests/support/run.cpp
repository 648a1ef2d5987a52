// Runs a built program as a child process with pipes for its three standard streams.
#include "tests/support/run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<std::string> ChildEnvironment(const RunOptions& options) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    std::string name = entry.substr(0, entry.find('='));
    if (!options.withDisplay && (name == "DISPLAY" || name == "WAYLAND_DISPLAY")) continue;
    if (options.env.count(name) != 0) continue;
    env.push_back(entry);
  }
  for (const auto& [name, value] : options.env) env.push_back(name + "=" + value);
  return env;
}

std::vector<char*> CStrings(std::vector<std::string>& items) {
  std::vector<char*> result;
  for (auto& item : items) result.push_back(item.data());
  result.push_back(nullptr);
  return result;
}

// The full path of a program found on PATH, or the name itself.
std::string OnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    std::string candidate = folder + "/" + name;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return name;
}

// command: the program to run and its arguments.
[[noreturn]] void ExecChild(std::vector<std::string> command, std::vector<std::string> env,
                            const RunOptions& options, int in, int out, int err) {
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(127);
  if (options.addressSpaceLimit > 0) {
    rlimit limit{options.addressSpaceLimit, options.addressSpaceLimit};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(127);
  }
  auto argv = CStrings(command);
  auto envp = CStrings(env);
  execve(command.front().c_str(), argv.data(), envp.data());
  _exit(127);
}

// Feeds the input and collects both outputs until the child closes them or the time runs out.
void Pump(int inFd, int outFd, int errFd, const std::string& input, RunResult& result,
          std::chrono::steady_clock::time_point deadline) {
  size_t written = 0;
  if (input.empty()) {
    close(inFd);
    inFd = -1;
  }
  while (outFd >= 0 || errFd >= 0) {
    pollfd fds[3];
    int n = 0;
    if (inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
    if (outFd >= 0) fds[n++] = {outFd, POLLIN, 0};
    if (errFd >= 0) fds[n++] = {errFd, POLLIN, 0};
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) {
      result.timedOut = true;
      break;
    }
    if (poll(fds, n, static_cast<int>(left)) < 0) continue;
    for (int i = 0; i < n; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == inFd) {
        ssize_t k = write(inFd, input.data() + written, input.size() - written);
        if (k > 0) written += static_cast<size_t>(k);
        if (k < 0 || written == input.size()) {
          close(inFd);
          inFd = -1;
        }
        continue;
      }
      char buffer[65536];
      ssize_t k = read(fds[i].fd, buffer, sizeof buffer);
      bool isOut = fds[i].fd == outFd;
      if (k > 0) {
        (isOut ? result.out : result.err).append(buffer, static_cast<size_t>(k));
      } else {
        close(fds[i].fd);
        (isOut ? outFd : errFd) = -1;
      }
    }
  }
  for (int fd : {inFd, outFd, errFd})
    if (fd >= 0) close(fd);
}

}  // namespace

bool RunsWindowsPrograms() {
  const char* folder = std::getenv("ORVELT_WINE_BUILD");
  return folder != nullptr && *folder != '\0';
}

// A program of this build (BUILD_DIR/pelko/pelko) is the .exe at the same place in the Windows build.
std::vector<std::string> ProgramCommand(const std::string& binary) {
  const std::string buildDir = std::string(BUILD_DIR) + "/";
  if (!RunsWindowsPrograms() || binary.compare(0, buildDir.size(), buildDir) != 0) return {binary};
  std::string windowsBuild = std::getenv("ORVELT_WINE_BUILD");
  return {OnPath("wine"), windowsBuild + "/" + binary.substr(buildDir.size()) + ".exe"};
}

RunResult RunBinary(const std::string& binary, const std::vector<std::string>& args,
                    const RunOptions& options) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
  signal(SIGPIPE, SIG_IGN);
  auto env = ChildEnvironment(options);
  std::vector<std::string> command = ProgramCommand(binary);
  command.insert(command.end(), args.begin(), args.end());
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    close(in[1]);
    close(out[0]);
    close(err[0]);
    ExecChild(command, env, options, in[0], out[1], err[1]);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  RunResult result;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeoutMs);
  Pump(in[1], out[0], err[0], options.input, result, deadline);
  if (result.timedOut) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.status = -WTERMSIG(status);
  return result;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvelt-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  std::string full = path_ + "/" + name;
  std::filesystem::create_directories(std::filesystem::path(full).parent_path());
  std::ofstream file(full, std::ios::binary);
  file << content;
  return full;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}
