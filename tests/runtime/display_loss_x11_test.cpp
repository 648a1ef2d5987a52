// End to end on an X server of the test's own: the server killed, the program's connection killed
// (xdotool windowkill) or its window destroyed by another client, while a program flips, waits for
// a key, takes a line of input or shows a dialog. Each run must end with the lost-display note and
// status 255; the time from the loss to the end is printed, not asserted.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "runtime/internal/font.h"
#include "runtime/internal/platform.h"
#include "tests/support/run.h"
#include "tests/support/x11.h"

using namespace orvelt;

namespace {

enum class Loss { KillServer, KillConnection, DestroyWindow };

// A window opened and "bereit" printed; then what the program does when the display goes away.
const std::string kPelkoOpening =
    ".text\n"
    "main:\n"
    "app \"Verlust\"\n"
    "gfx 100, 80\n"
    "mov cmd, \"bereit\"\n"
    "int print\n";
const std::string kFlipping = kPelkoOpening + "loop:\nflip\njmp loop\n";
const std::string kWaitingForAKey = kPelkoOpening + "int waitkey\n";

const std::string kTakingInput =
    "apptitle \"Verlust\"\n"
    "window 100,80\n"
    "input \"Name:\",0,0\n";

struct Scene {
  const char* name;
  const char* binary;
  const char* argument;  // the source's file name, written for it: the program starts on its path
  std::string source;    // empty: the argument is given as it is
  const char* title;     // of the window to wait for
  const char* ready;     // standard output at the moment of the loss
  bool prompts = false;  // the loss comes once the window shows the prompt "Name:"
};

const Scene kPelkoFlipping{"pelko flipping", PELKO_BIN, "flip.pel", kFlipping, "Verlust", "bereit\r\n"};
const Scene kPelkoKeyWait{"pelko waiting for a key", PELKO_BIN, "key.pel", kWaitingForAKey, "Verlust", "bereit\r\n"};
const Scene kZuntInput{"zunt input", ZUNT_BIN, "input.cf", kTakingInput, "ZUNT - Verlust", "Beginne", true};
const Scene kZuntBox{"zunt load-failure box", ZUNT_BIN, "fehlt-hier.cf", "", "ZUNT - Error!", ""};
const Scene kFileChooser{"file chooser", WINDOW_PROBE_BIN, "dialog", "", "Script \xC3\xB6" "ffnen:", ""};

struct Row {
  const Scene& scene;
  Loss loss;
  int runs;
};

using Clock = std::chrono::steady_clock;

// A pixel of the prompt's first letter, drawn in white: the input statement shows its frames.
bool WaitForPrompt(x11::WindowId window) {
  for (int row = 0; row < kGlyphHeight; ++row)
    for (int column = 0; column < kGlyphWidth; ++column)
      if (GlyphRow('N', row) >> column & 1) return x11::WaitForPixel(window, column, row, {255, 255, 255});
  return false;
}

// One run on a fresh server; the milliseconds from the loss to the program's end, -1 when it did
// not end or ended otherwise.
int LoseTheDisplay(const Scene& scene, Loss loss) {
  x11::OwnServer server;
  EXPECT_TRUE(server.Started());
  TempDir dir;
  x11::BackgroundProcess program(scene.binary, {scene.source.empty() ? scene.argument : dir.Write(scene.argument, scene.source)});
  std::optional<x11::WindowId> window = x11::FindWindow(scene.title, 15000, program.Pid());
  if (!window || !program.WaitForOutput(scene.ready) || (scene.prompts && !WaitForPrompt(*window))) {
    ADD_FAILURE() << scene.name << ": no window or output: " << program.Out() << program.Err();
    return -1;
  }
  std::string shown = program.Out();
  auto lost = Clock::now();
  switch (loss) {
    case Loss::KillServer: server.Kill(); break;
    case Loss::KillConnection: EXPECT_TRUE(x11::RunCommand("xdotool windowkill " + std::to_string(*window))); break;
    case Loss::DestroyWindow: EXPECT_TRUE(x11::DestroyWindow(*window)); break;
  }
  // A generous bound: reaching it means the program hangs.
  if (!program.WaitForExit(10000)) {
    ADD_FAILURE() << scene.name << ": still running 10 s after the loss";
    return -1;
  }
  int ms = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lost).count());
  EXPECT_EQ(program.Status(), 255) << scene.name;
  EXPECT_EQ(program.Err(), kDisplayLostNote) << scene.name;
  EXPECT_EQ(program.Out(), shown) << scene.name << ": nothing is written after the loss";
  return ms;
}

TEST(DisplayLossX11, EndsTheProgramWithTheNote) {
  REQUIRE_X11_DISPLAY();
  const Row rows[] = {
      {kPelkoFlipping, Loss::KillServer, 10},    {kPelkoKeyWait, Loss::KillServer, 10},
      {kPelkoFlipping, Loss::DestroyWindow, 5},  {kPelkoKeyWait, Loss::DestroyWindow, 5},
      {kPelkoFlipping, Loss::KillConnection, 3}, {kPelkoKeyWait, Loss::KillConnection, 3},
      {kZuntInput, Loss::KillServer, 3},         {kZuntInput, Loss::DestroyWindow, 3},
      {kZuntBox, Loss::KillServer, 3},           {kFileChooser, Loss::KillServer, 3},
  };
  const char* const kLossNames[] = {"server killed", "connection killed", "window destroyed"};
  for (const Row& row : rows) {
    std::vector<int> times;
    for (int run = 0; run < row.runs; ++run) times.push_back(LoseTheDisplay(row.scene, row.loss));
    std::sort(times.begin(), times.end());
    std::cout << row.scene.name << ", " << kLossNames[static_cast<int>(row.loss)] << ": ms to the end";
    for (int ms : times) std::cout << " " << ms;
    std::cout << std::endl;
  }
}

}  // namespace
