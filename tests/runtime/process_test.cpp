// Tests of the process services: the fatal and normal ends, running a program body, the start in
// the program's directory, and finding the files the user names.
#include <gtest/gtest.h>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <filesystem>
#include <string>

#include "runtime/console.h"
#include "runtime/internal/os.h"
#include "runtime/process.h"
#include "tests/support/run.h"
#include "tests/testlib/runtime/console_capture.h"

using namespace orvelt;

namespace {

// The folder holding this test program.
std::string OwnDirectory() {
#ifdef _WIN32
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::string exe = EncodeUtf8(Text(self, self + n));
  return exe.substr(0, exe.find_last_of("\\/"));
#else
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
#endif
}

std::string WorkingDirectory() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

// Keeps the working directory and the process's start as they were.
class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { cwd_ = WorkingDirectory(); }
  void TearDown() override {
    EXPECT_EQ(chdir(cwd_.c_str()), 0);
    StartProcessAt({}, "", "");
  }
  std::string cwd_;
};

TEST_F(ProcessTest, FatalErrorWritesLowBytesWithoutLineEndAndExitsMinusOne) {
  struct Row { Text message; std::string written; } rows[] = {
      {u"DEBUG >> kaputt", "DEBUG >> kaputt"},
      {u"", ""},
      {u"Größe", "Gr\xF6\xDF" "e"},
      {Text(u"a\u4142\0b", 4), std::string("aB\0b", 4)}};
  for (const Row& row : rows) {
    ConsoleCapture console;
    try {
      RaiseFatalError(row.message);
      ADD_FAILURE() << "RaiseFatalError returned";
    } catch (const ProgramExit& exit) {
      EXPECT_EQ(exit.status, -1);
    }
    EXPECT_EQ(console.Err(), row.written);
  }
}

TEST_F(ProcessTest, EndProgramExitsWithZero) {
  try {
    EndProgram();
    ADD_FAILURE() << "EndProgram returned";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.status, 0);
  }
}

int gHookCalls = 0;
void CountingHook() { ++gHookCalls; }

int ReturnsThree() { return 3; }
int EndsNormally() {
  PrintLine(u"vorher");
  EndProgram();
}
int EndsFatally() { RaiseFatalError(u"weg"); }
int ReturnsMinusTwo() { return -2; }
int RunsOutOfMemory() {
  PrintLine(u"vorher");
  throw std::bad_alloc();
}
int AsksForTooMuch() {
  Text text;
  text.reserve(text.max_size() + 1);  // a size no string can have
  return 0;
}

TEST_F(ProcessTest, RunProgramGivesTheStatusMainReturnsAndRunsTheHooks) {
  struct Row { int (*body)(); int status; std::string out; std::string err; } rows[] = {
      {ReturnsThree, 3, "", ""},
      {EndsNormally, 0, "vorher\r\n", ""},
      {EndsFatally, 255, "", "weg"},
      {ReturnsMinusTwo, 254, "", ""},
      {RunsOutOfMemory, 255, "vorher\r\n", "Kein Speicher mehr!"},
      {AsksForTooMuch, 255, "", "Kein Speicher mehr!"}};
  AddEndHook(CountingHook);
  AddEndHook(CountingHook);  // registered once only
  char program[] = "/nowhere/prog";
  char* argv[] = {program, nullptr};
  for (const Row& row : rows) {
    ConsoleCapture console;
    gHookCalls = 0;
    EXPECT_EQ(RunProgram(1, argv, row.body), row.status);
    EXPECT_EQ(gHookCalls, 1);
    EXPECT_EQ(console.Out(), row.out);
    EXPECT_EQ(console.Err(), row.err);
  }
}

TEST_F(ProcessTest, StartDecodesArgumentsAndMovesToTheProgramsDirectory) {
  char program[] = "prog";
  char utf8[] = "gr\xC3\xBC\xC3\x9F.cf";
  char latin1[] = "gr\xFC\xDF.cf";
  char quoted[] = "a b";
  char* argv[] = {program, utf8, latin1, quoted, nullptr};
  StartProcess(4, argv);
  std::vector<Text> expected{u"prog", u"grüß.cf", Text(u"gr\u00FC\u00DF.cf"), u"a b"};
  EXPECT_EQ(ProgramArguments(), expected);

  EXPECT_EQ(WorkingDirectory(), OwnDirectory());
}

// Two folders standing for the program's directory and the directory the user started from.
class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override { StartProcessAt({}, program_.path(), start_.path()); }
  void TearDown() override { StartProcessAt({}, "", ""); }
  Text ProgramFolderName() const { return TextFromLatin1(std::filesystem::path(program_.path()).filename().string()); }
  TempDir program_;
  TempDir start_;
};

TEST_F(FindFileTest, RelativePathsTryTheProgramsDirectoryThenTheStartDirectory) {
  program_.Write("both.pel", "p");
  start_.Write("both.pel", "s");
  program_.Write("prog_only.pel", "p");
  start_.Write("start_only.pel", "s");
  ASSERT_TRUE(std::filesystem::create_directory(program_.path() + "/dir.pel"));
  start_.Write("dir.pel", "s");
  ASSERT_TRUE(std::filesystem::create_directory(start_.path() + "/sub"));
  start_.Write("sub/inner.pel", "s");

  struct Row { Text path; std::string foundIn; } rows[] = {
      {u"both.pel", "p"}, {u"prog_only.pel", "p"}, {u"start_only.pel", "s"}, {u"dir.pel", "s"},
      {u"sub/inner.pel", "s"}, {u"missing.pel", ""}, {u"", ""}, {u"sub", ""},
      // Written from the current directory: the start directory only.
      {u"./both.pel", "s"}, {u"./prog_only.pel", ""}, {u"./sub/inner.pel", "s"}, {u".//start_only.pel", "s"},
      {u"../" + ProgramFolderName() + u"/prog_only.pel", "p"}, {u".hidden/x.pel", ""}};
  for (const Row& row : rows) {
    std::optional<std::string> found = FindRegularFile(row.path);
    if (row.foundIn.empty()) {
      EXPECT_FALSE(found.has_value()) << NarrowBytes(row.path);
      continue;
    }
    ASSERT_TRUE(found.has_value()) << NarrowBytes(row.path);
    EXPECT_EQ(ReadFile(*found), row.foundIn) << NarrowBytes(row.path);
  }
}

TEST_F(FindFileTest, AbsolutePathsAreTakenAsTheyStand) {
  std::string full = start_.Write("abs.pel", "x");
  EXPECT_EQ(FindRegularFile(TextFromLatin1(full)), full);
  EXPECT_EQ(FindRegularFile(TextFromLatin1(start_.path())), std::nullopt);
  EXPECT_EQ(FindRegularFile(TextFromLatin1(start_.path() + "/nope")), std::nullopt);
}

#ifndef _WIN32
TEST_F(FindFileTest, ANameOpensWhateverBytesItIsStoredAs) {
  start_.Write("gr\xC3\xBCn.cf", "utf8");
  start_.Write("wei\xDF.cf", "latin1");
  start_.Write("\xC3\xBC\xFC.cf", "mixed");
  start_.Write("\xE2\x82\xAC.cf", "euro");
  struct Row { std::string argument; std::string content; } rows[] = {
      {"gr\xC3\xBCn.cf", "utf8"}, {"gr\xFCn.cf", "utf8"}, {"wei\xDF.cf", "latin1"},
      {"wei\xC3\x9F.cf", "latin1"}, {"\xC3\xBC\xFC.cf", "mixed"}, {"\xE2\x82\xAC.cf", "euro"}};
  for (const Row& row : rows) {
    std::optional<std::string> found = FindRegularFile(DecodeBytes(row.argument));
    ASSERT_TRUE(found.has_value()) << row.argument;
    EXPECT_EQ(ReadFile(*found), row.content) << row.argument;
  }
}

// Both spellings decode to the same text, so the text cannot tell them apart: UTF-8 goes first.
TEST_F(FindFileTest, WhenBothSpellingsExistTheUtf8NameWins) {
  start_.Write("gr\xC3\xBC\xC3\x9F.cf", "utf8");
  start_.Write("gr\xFC\xDF.cf", "latin1");
  for (std::string argument : {"gr\xC3\xBC\xC3\x9F.cf", "gr\xFC\xDF.cf"}) {
    std::optional<std::string> found = FindRegularFile(DecodeBytes(argument));
    ASSERT_TRUE(found.has_value()) << argument;
    EXPECT_EQ(ReadFile(*found), "utf8") << argument;
  }
}
#else
// Names are UTF-16 on Windows: a name has one spelling, whatever characters it holds.
TEST_F(FindFileTest, ANameOpensWithAnyCharacters) {
  for (Text name : {Text(u"grün.cf"), Text(u"€ 中.cf"), Text(u"😀.cf")}) {
    start_.Write(EncodeUtf8(name), "found");
    std::optional<std::string> found = FindRegularFile(name);
    ASSERT_TRUE(found.has_value()) << EncodeUtf8(name);
    EXPECT_EQ(ReadFile(*found), "found") << EncodeUtf8(name);
  }
}
#endif

TEST(PathTest, AbsolutePathsByTheSystemsRules) {
  struct Row { Text path; bool absolute; } rows[] = {
      {u"/x/y.cf", true}, {u"x/y.cf", false}, {u"y.cf", false}, {u"", false}, {u"./y.cf", false},
#ifdef _WIN32
      {u"C:\\x\\y.cf", true}, {u"c:/x/y.cf", true}, {u"Z:y.cf", true}, {u"\\\\server\\share\\y.cf", true},
      {u"\\x\\y.cf", true}, {u"x\\y.cf", false}, {u"1:\\y.cf", false},
#else
      {u"C:\\x\\y.cf", false}, {u"\\x\\y.cf", false},
#endif
  };
  for (const Row& row : rows) EXPECT_EQ(os::IsAbsolutePath(row.path), row.absolute) << EncodeUtf8(row.path);
}

TEST_F(FindFileTest, WithoutDirectoriesTheWorkingDirectoryCounts) {
  StartProcessAt({}, "", "");
  std::string cwd = WorkingDirectory();
  ASSERT_EQ(chdir(start_.path().c_str()), 0);
  start_.Write("here.pel", "h");
  std::optional<std::string> found = FindRegularFile(u"here.pel");
  EXPECT_EQ(chdir(cwd.c_str()), 0);
  EXPECT_EQ(found, std::optional<std::string>("here.pel"));
}

TEST(ReadFileBytesTest, ReadsEveryByteOrFails) {
  TempDir dir;
  std::string content("a\0\xFF\r\nb", 6);
  content += std::string(200000, 'z');
  std::string path = dir.Write("f.bin", content);
  std::string bytes = "old";
  ASSERT_TRUE(ReadFileBytes(path, &bytes));
  EXPECT_EQ(bytes, content);
  ASSERT_TRUE(ReadFileBytes(dir.Write("empty", ""), &bytes));
  EXPECT_EQ(bytes, "");
  bytes = "kept";
  EXPECT_FALSE(ReadFileBytes(dir.path() + "/missing", &bytes));
  EXPECT_FALSE(ReadFileBytes(dir.path(), &bytes));
  EXPECT_EQ(bytes, "kept");
}

}  // namespace
