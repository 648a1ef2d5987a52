// Output that cannot be written fails the run of both built programs (status 255, a message where
// standard error still works); a closed pipe still ends them by SIGPIPE.
#include <gtest/gtest.h>

#include "tests/support/run.h"

namespace {

// The shell's redirections and signals are those of a POSIX system.
#ifndef _WIN32

const std::string kLost = "Fehler: Die Ausgabe des Programms konnte nicht geschrieben werden.\r\n";

TEST(OutputFailures, EndTheRunWithStatus255) {
  TempDir dir;
  dir.Write("hello.pel", ".text\nmov cmd, \"Hallo\"\nint print\n");
  dir.Write("loop.pel", ".text\nloop:\nmov cmd, \"y\"\nint print\njmp loop\n");
  dir.Write("ok.cf", "print \"x\",1,1\n");
  // The shell line runs "$0" (the program) on "$1" with its streams as the row gives them; the
  // tests run with SIGPIPE ignored, which the program inherits unless env gives back the default.
  struct Row { std::string program, argument, shellLine, out, err; int status; } rows[] = {
      {PELKO_BIN, "hello.pel", "exec \"$0\" \"$1\" >/dev/full", "", kLost, 255},
      {PELKO_BIN, "hello.pel", "exec \"$0\" \"$1\" >&-", "", kLost, 255},
      {ZUNT_BIN, "ok.cf", "exec \"$0\" \"$1\" >/dev/full", "", kLost, 255},
      {ZUNT_BIN, "ok.cf", "exec \"$0\" \"$1\" >&-", "", kLost, 255},
      {PELKO_BIN, "-v", "exec \"$0\" \"$1\" >/dev/full", "", kLost, 255},
      {ZUNT_BIN, "--version", "exec \"$0\" \"$1\" >&-", "", kLost, 255},
      {ZUNT_BIN, "missing.cf", "exec \"$0\" \"$1\" 2>/dev/full", "", "", 255},
      {PELKO_BIN, "missing.pel", "exec \"$0\" \"$1\" 2>&-", "", "", 255},
      {PELKO_BIN, "hello.pel", "exec \"$0\" \"$1\" 2>&-", "Hallo\r\n", "", 0},
      {PELKO_BIN, "loop.pel", "env --default-signal=PIPE \"$0\" \"$1\" | head -c 2; exit \"${PIPESTATUS[0]}\"",
       "y\r", "", 128 + 13},
      {PELKO_BIN, "loop.pel", "\"$0\" \"$1\" | head -c 2; exit \"${PIPESTATUS[0]}\"", "y\r", kLost, 255},
  };
  for (const Row& row : rows) {
    RunOptions options;
    options.cwd = dir.path();
    options.timeoutMs = 20000;
    RunResult result = RunBinary("/bin/bash", {"-c", row.shellLine, row.program, row.argument}, options);
    std::string label = row.program + " " + row.argument + ": " + row.shellLine;
    EXPECT_EQ(result.out, row.out) << label;
    EXPECT_EQ(result.err, row.err) << label;
    EXPECT_EQ(result.status, row.status) << label;
  }
}

#endif

}  // namespace
