// Limits are the machine's memory, not counts, end to end: a long text, a deep value stack and a
// large array give what the rules give, and a program whose memory runs out ends with the
// out-of-memory message and status 255, nothing written after it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "tests/support/run.h"

namespace {

struct Row {
  const char* rule;
  std::string source;
  std::string out;
};

std::string Repeat(const std::string& piece, std::size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

TEST(Limits, LongTextsDeepStacksAndLargeArrays) {
  const Row rows[] = {
      {"a text doubled 22 times", ".data\nn int 0\n.text\nmov dx, \"ab\"\nloop:\nadd dx, dx\ninc n\ncmp n, 22\njg loop\n"
                                  "mov cmd, dx\nint print\n",
       Repeat("ab", std::size_t{1} << 22) + "\r\n"},
      {"4.5 million values pushed", ".data\nn int 0\n.text\nloop:\npush n\ninc n\ncmp n, 4500000\njg loop\npop cmd\n"
                                    "int print\npop cmd\nint print\n",
       "4499999\r\n4499998\r\n"},
      {"an array of 4,500,001 elements", ".data\na[4500000] int 1\n.text\nmov cx, 4500000\nadd a[cx], a[0]\nmov cmd, a[cx]\n"
                                         "int print\n",
       "2\r\n"},
  };
  TempDir dir;
  for (const Row& row : rows) {
    RunOptions options;
    options.timeoutMs = 300000;
    RunResult result = RunBinary(PELKO_BIN, {dir.Write("p.pel", row.source)}, options);
    EXPECT_TRUE(result.out == row.out) << row.rule << ": " << result.out.size() << " bytes written";
    EXPECT_EQ(result.err, "") << row.rule;
    EXPECT_EQ(result.status, 0) << row.rule;
  }
}

struct ExhaustionRow {
  const char* rule;
  std::string command;  // run by the shell with the source's path as $1
  std::string source;
  std::string out, err;
};

// Under a bound of 1 GiB on the address space (a POSIX bound, set for the shell that starts
// pelko); AddressSanitizer needs more than that for itself.
TEST(Limits, MemoryRunningOut) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "a bound on the address space leaves AddressSanitizer no room";
#elif defined(_WIN32)
  GTEST_SKIP() << "the address-space bound and the shell pipeline are POSIX ones";
#endif
  TempDir dir;
  // A source file of 2 GiB that takes no room on disk: ".text" and then zero bytes.
  std::string huge = dir.Write("huge.pel", ".text\n");
  ASSERT_EQ(truncate(huge.c_str(), off_t{1} << 31), 0);
  const ExhaustionRow rows[] = {
      {"an endless line read by int input", "yes 2>/dev/null | tr -d '\\n' 2>/dev/null | exec \"$0\" \"$1\"",
       ".text\nmov cmd, \"vorher\"\nint print\nint input, \"> \"\nint print\n", "vorher\r\n> ",
       "DEBUG >> Kein Speicher mehr! LINE: 3"},
      {"a 1M-character text pushed forever", "exec \"$0\" \"$1\"",
       ".data\nn int 0\n.text\nmov dx, \"x\"\ndouble:\nadd dx, dx\ninc n\ncmp n, 20\njg double\nmov cmd, \"voll\"\n"
       "int print\npush:\npush dx\njmp push\n",
       "voll\r\n", "DEBUG >> Kein Speicher mehr! LINE: 10"},
      {"a source too large to read", "exec \"$0\" \"$1\"", "", "", "DEBUG >> Kein Speicher mehr!"},
  };
  for (const ExhaustionRow& row : rows) {
    RunOptions options;
    options.timeoutMs = 300000;
    options.addressSpaceLimit = std::size_t{1} << 30;
    std::string path = row.source.empty() ? huge : dir.Write("p.pel", row.source);
    RunResult result = RunBinary("/bin/sh", {"-c", row.command, PELKO_BIN, path}, options);
    EXPECT_EQ(result.out, row.out) << row.rule;
    EXPECT_EQ(result.err, row.err) << row.rule;
    EXPECT_EQ(result.status, 255) << row.rule;
  }
}

}  // namespace
