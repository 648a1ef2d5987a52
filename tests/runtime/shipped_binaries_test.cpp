// The built programs as they ship: linked against no display library and holding no test code,
// running on a machine where SDL2 and GTK 3 cannot be loaded, and starting no other program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
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

struct Rename {
  std::string from, to;
};
const Rename kNoSdl{"libSDL2-2.0.so.0", "libSDL2-0.0.so.9"};
const Rename kNoGtk{"libgtk-3.so.0", "libgtk-0.so.9"};

// A copy of the program whose library names name no installed library, as on a machine that
// lacks them: each soname is replaced by one of the same length.
std::string WithoutLibraries(const TempDir& dir, const std::string& program, const std::vector<Rename>& renames) {
  std::string bytes = ReadFile(program);
  for (const Rename& rename : renames) {
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
  std::string pelko = WithoutLibraries(dir, PELKO_BIN, {kNoSdl, kNoGtk});
  std::string zunt = WithoutLibraries(dir, ZUNT_BIN, {kNoSdl, kNoGtk});
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

// No session bus is named here (as under a bare X server), so the bus libraries that SDL and GTK
// use would start one with dbus-launch, and SDL's box without GTK would try zenity, both found on
// PATH. Fakes of both on PATH leave a mark if anything runs them: opening a window, GTK's box, the
// file chooser, and SDL's box (a zunt that cannot load GTK) run neither.
TEST(ShippedBinaries, StartNoOtherProgram) {
  REQUIRE_X11_DISPLAY();
  TempDir dir;
  std::string marks = dir.path() + "/gestartet";
  for (const char* program : {"dbus-launch", "zenity"}) {
    std::string fake = dir.Write(program, "#!/bin/sh\necho \"$0 $*\" >> '" + marks + "'\nexit 1\n");
    ASSERT_EQ(chmod(fake.c_str(), 0755), 0);
  }
  std::string busAddress = std::getenv("DBUS_SESSION_BUS_ADDRESS") ? std::getenv("DBUS_SESSION_BUS_ADDRESS") : "";
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  const std::map<std::string, std::string> env = {
      {"PATH", dir.path() + ":" + std::getenv("PATH")}, {"XDG_RUNTIME_DIR", dir.path()}};
  std::string zuntWithoutGtk = WithoutLibraries(dir, ZUNT_BIN, {kNoGtk});
  struct Row {
    std::string binary, argument, title, key;
    bool shows;  // false: the window may not show at all
  };
  const Row rows[] = {
      {WINDOW_PROBE_BIN, "key", "Orvelt Fenstertest", "a", true},
      {ZUNT_BIN, "fehlt-hier.cf", "ZUNT - Error!", "Return", true},
      {WINDOW_PROBE_BIN, "dialog", "Script \xC3\xB6" "ffnen:", "Escape", true},
      {zuntWithoutGtk, "fehlt-hier.cf", "ZUNT - Error!", "Return", false},  // SDL's box needs core fonts
  };
  for (const Row& row : rows) {
    x11::BackgroundProcess program(row.binary, {row.argument}, "", env);
    std::optional<x11::WindowId> window;
    for (int polls = 0; polls < 150 && !window && program.Running(); ++polls)
      window = x11::FindWindow(row.title, 100, program.Pid());
    EXPECT_TRUE(window || !row.shows) << row.argument << ": " << program.Err();
    if (window) {
      EXPECT_TRUE(x11::PressUntilExit(program, *window, row.key)) << row.argument;
    }
    EXPECT_TRUE(program.WaitForExit()) << row.argument;
    EXPECT_EQ(program.Status(), 0) << row.argument << ": " << program.Err();
  }
  if (!busAddress.empty()) setenv("DBUS_SESSION_BUS_ADDRESS", busAddress.c_str(), 1);
  EXPECT_EQ(ReadFile(marks), "");
}

}  // namespace
