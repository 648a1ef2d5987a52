// One run of a built program in a process of its own, with nothing to read and its output thrown
// away: its CPU time (user + system), its wall time and its peak resident memory.
#pragma once
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace bench {

struct ChildRun {
  double cpuSeconds = 0, wallSeconds = 0, peakMegabytes = 0;
  bool succeeded = false;  // ended with status 0
};

inline ChildRun RunChild(const std::string& binary, const std::string& file) {
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    int nowhere = open("/dev/null", O_RDWR);
    dup2(nowhere, 0);
    dup2(nowhere, 1);
    execl(binary.c_str(), binary.c_str(), file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  ChildRun run;
  run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

}  // namespace bench
