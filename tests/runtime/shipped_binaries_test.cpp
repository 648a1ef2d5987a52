// The built programs as they ship: linked against no display library and holding no test code,
// and running on a machine where SDL2 and GTK 3 cannot be loaded.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "runtime/internal/platform.h"
#include "tests/support/run.h"
#include "tests/support/x11.h"

using namespace orvelt;

namespace {

const char* const kPrograms[] = {PELKO_BIN, ZUNT_BIN};

std::string CommandOutput(const std::string& command) { return x11::RunCommand(command).value_or("(failed)"); }

TEST(ShippedBinaries, LinkNoDisplayLibrary) {
  for (const char* program : kPrograms) {
    std::string libraries = CommandOutput("ldd '" + std::string(program) + "'");
    ASSERT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    for (const char* library : {"SDL", "gtk", "gdk", "glib", "X11", "wayland"})
      EXPECT_EQ(libraries.find(library), std::string::npos) << program << " links " << library << ":\n" << libraries;
  }
}

TEST(ShippedBinaries, HoldNoTestCode) {
  for (const char* program : kPrograms) {
    std::string symbols = CommandOutput("nm -C '" + std::string(program) + "'");
    ASSERT_NE(symbols.find("orvelt::RunProgram"), std::string::npos) << program;
    for (const char* name : {"ForTesting", "orvelt::memory::", "FakeClock", "ConsoleCapture", "MemoryPlatform",
                             "LiteralPath", "SubstituteSource", "ScanLabel", "RowBudget"})
      EXPECT_EQ(symbols.find(name), std::string::npos) << program << " holds " << name;
  }
}

// A copy of the program whose library names name no installed library, as on a machine that
// has neither SDL2 nor GTK 3: each soname is replaced by one of the same length.
std::string WithoutDisplayLibraries(const TempDir& dir, const std::string& program) {
  std::string bytes = ReadFile(program);
  struct Rename {
    std::string from, to;
  };
  for (const Rename& rename : {Rename{"libSDL2-2.0.so.0", "libSDL2-0.0.so.9"}, Rename{"libgtk-3.so.0", "libgtk-0.so.9"}}) {
    std::size_t at = bytes.find(rename.from);
    EXPECT_NE(at, std::string::npos) << program << " names no " << rename.from;
    for (; at != std::string::npos; at = bytes.find(rename.from, at)) bytes.replace(at, rename.to.size(), rename.to);
  }
  std::string copy = dir.Write(program.substr(program.rfind('/') + 1), bytes);
  EXPECT_EQ(chmod(copy.c_str(), 0755), 0);
  return copy;
}

const char kDrawing[] =
    ".text\n"
    "main:\n"
    "  app \"Ohne Bibliotheken\"\n"
    "  gfx 100, 80\n"
    "  org 10, 10\n"
    "  rect 20, 20\n"
    "  flip\n"
    "  int waitkey\n"
    "  int input, \">\"\n"
    "  int print\n";

// The display stays named (under the test run's X server), so only the missing libraries keep
// the window away; key waits then read a line each from standard input.
TEST(ShippedBinaries, RunWithoutSdlAndGtk) {
  TempDir dir;
  std::string pelko = WithoutDisplayLibraries(dir, PELKO_BIN);
  std::string zunt = WithoutDisplayLibraries(dir, ZUNT_BIN);
  std::string drawing = dir.Write("zeichnung.pel", kDrawing);
  std::string shapes = SOURCE_DIR "/examples/zunt/shapes.cf";
  std::string missing = dir.path() + "/fehlt.cf";
  struct Row {
    std::string binary, argument, input, out, err;
  };
  const Row rows[] = {
      {pelko, drawing, "Taste\nzweite Zeile\n", ">zweite Zeile\r\n", kNoDisplayNote},
      {zunt, shapes, "Taste\n",
       "Beginne Ausfuehrung des Scriptes <" + shapes + ">\r\nScript erfolgreich ausgefuehrt!\r\n", kNoDisplayNote},
      {zunt, missing, "", "", missing + "\r\nScript konnte nicht geladen werden!\r\n"},
  };
  for (const Row& row : rows) {
    RunOptions options;
    options.input = row.input;
    options.withDisplay = true;
    RunResult run = RunBinary(row.binary, {row.argument}, options);
    EXPECT_EQ(run.status, 0) << row.argument;
    EXPECT_EQ(run.out, row.out) << row.argument;
    EXPECT_EQ(run.err, row.err) << row.argument;
  }
}

}  // namespace
