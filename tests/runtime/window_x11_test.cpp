// End to end under a real X server: a program opens its window, draws and waits; the test reads
// the window's pixels back, types into it with xdotool and checks what the program saw.
#include <gtest/gtest.h>

#include <string>

#include "runtime/internal/font.h"
#include "runtime/internal/platform.h"
#include "tests/support/run.h"
#include "tests/support/x11.h"

using namespace orvelt;

namespace {

using x11::Pixel;

const char kTitle[] = "Orvelt Fenstertest";
constexpr Pixel kBackground{0, 0, 128};
constexpr Pixel kRed{255, 0, 0};
constexpr Pixel kGreen{0, 255, 0};
constexpr Pixel kYellow{255, 255, 0};
constexpr Pixel kWhite{255, 255, 255};

// Starts the probe and waits until its window shows the first drawn frame.
std::optional<x11::WindowId> StartProbe(x11::BackgroundProcess& probe) {
  std::optional<x11::WindowId> window = x11::FindWindow(kTitle, 15000, probe.Pid());
  if (window && !x11::WaitForPixel(*window, 12, 12, kRed)) return std::nullopt;
  return window;
}

TEST(WindowX11, ShowsThePictureAndEndsOnAKey) {
  REQUIRE_X11_DISPLAY();
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"key", "corner"});
  auto window = StartProbe(probe);
  ASSERT_TRUE(window) << probe.Err();
  auto geometry = x11::WindowGeometry(*window);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->x, 32);
  EXPECT_EQ(geometry->y, 32);
  EXPECT_EQ(geometry->width, 200);
  EXPECT_EQ(geometry->height, 150);
  auto shot = x11::CaptureWindow(*window);
  ASSERT_TRUE(shot);
  struct Row {
    int x, y;
    Pixel colour;
  };
  const Row rows[] = {
      {0, 0, kBackground},  {5, 5, kBackground},  {10, 10, kRed},      {49, 39, kRed},
      {50, 39, kBackground}, {49, 40, kBackground}, {9, 10, kBackground}, {130, 40, kGreen},
      {100, 40, kGreen},    {99, 40, kBackground}, {130, 20, kGreen},    {130, 19, kBackground},
      {0, 149, kWhite},     {199, 149, kWhite},   {100, 148, kBackground},
  };
  for (const Row& row : rows) EXPECT_EQ(shot->At(row.x, row.y), row.colour) << row.x << "," << row.y;
  for (int glyph = 0; glyph < 2; ++glyph) {
    int code = glyph == 0 ? 'A' : '7';
    for (int r = 0; r < orvelt::kGlyphHeight; ++r)
      for (int c = 0; c < orvelt::kGlyphWidth; ++c) {
        bool set = orvelt::GlyphRow(code, r) >> c & 1;
        EXPECT_EQ(shot->At(20 + 8 * glyph + c, 100 + r), set ? kYellow : kBackground) << code << " " << c << "," << r;
      }
  }
  ASSERT_TRUE(x11::PressUntilExit(probe, *window, "a"));
  EXPECT_EQ(probe.Status(), 0);
  EXPECT_EQ(probe.Out(), "65\r\n");
  EXPECT_EQ(probe.Err(), "");
}

TEST(WindowX11, CentresTheDrawingArea) {
  REQUIRE_X11_DISPLAY();
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"key"});
  auto window = StartProbe(probe);
  ASSERT_TRUE(window);
  auto geometry = x11::WindowGeometry(*window);
  ASSERT_TRUE(geometry);
  auto screen = x11::RunCommand("xdotool getdisplaygeometry");
  ASSERT_TRUE(screen);
  int screenWidth = 0, screenHeight = 0;
  ASSERT_EQ(std::sscanf(screen->c_str(), "%d %d", &screenWidth, &screenHeight), 2);
  EXPECT_EQ(geometry->x, screenWidth / 2 - 100);
  EXPECT_EQ(geometry->y, screenHeight / 2 - 75);
  ASSERT_TRUE(x11::PressUntilExit(probe, *window, "Escape"));
  EXPECT_EQ(probe.Out(), "27\r\n");
}

// xdotool presses the left modifier along with a right one, so the right-hand codes are checked
// against the scancode table in the keyboard tests instead.
TEST(WindowX11, KeysReportTheirVirtualKeyCodes) {
  REQUIRE_X11_DISPLAY();
  struct Row {
    std::string key;
    std::string code;
  };
  const Row rows[] = {
      {"Return", "13"}, {"BackSpace", "8"}, {"Tab", "9"},         {"space", "32"},    {"Left", "37"},
      {"Down", "40"},   {"F1", "112"},      {"F12", "123"},       {"z", "90"},        {"5", "53"},
      {"Shift_L", "160"}, {"Control_L", "162"}, {"Alt_L", "164"}, {"Delete", "46"}, {"Home", "36"},
      {"Next", "34"},     {"KP_Add", "107"},   {"minus", "189"},
  };
  for (const Row& row : rows) {
    x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"key"});
    auto window = StartProbe(probe);
    ASSERT_TRUE(window) << row.key << " " << probe.Running() << " " << probe.Err();
    ASSERT_TRUE(x11::PressUntilExit(probe, *window, row.key)) << row.key;
    EXPECT_EQ(probe.Out(), row.code + "\r\n") << row.key;
  }
}

// Through XTEST the keypad's keys come as they are (xdotool would toggle NumLock around them), on a
// server of the test's own, whose NumLock the test turns on for the second round.
TEST(WindowX11, KeypadFollowsNumLock) {
  REQUIRE_X11_DISPLAY();
  struct Row {
    std::string key, numLockOff, numLockOn;
  };
  Row rows[] = {
      {"KP_1", "35", "97"},  {"KP_2", "40", "98"},  {"KP_3", "34", "99"},  {"KP_4", "37", "100"},
      {"KP_5", "12", "101"}, {"KP_6", "39", "102"}, {"KP_7", "36", "103"}, {"KP_8", "38", "104"},
      {"KP_9", "33", "105"}, {"KP_0", "45", "96"},  {"KP_Decimal", "46", "110"}, {"KP_Add", "107", "107"},
  };
  // On Windows the codes come from the system as they are; Wine's keyboard driver gives the
  // keypad's decimal key VK_DECIMAL also with NumLock off, where Windows itself gives VK_DELETE.
  if (RunsWindowsPrograms()) rows[10].numLockOff = "110";
  x11::OwnServer server;
  ASSERT_TRUE(server.Started());
  for (bool numLock : {false, true}) {
    if (numLock) {
      ASSERT_TRUE(x11::TapKeyThroughXTest("Num_Lock"));
    }
    x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"keys"});
    auto window = StartProbe(probe);
    ASSERT_TRUE(window) << probe.Err();
    std::string expected;
    for (const Row& row : rows) {
      expected += (numLock ? row.numLockOn : row.numLockOff) + "\r\n";
      auto answered = [&] { return probe.Out().size() >= expected.size(); };
      ASSERT_TRUE(x11::PressKeyUntil(*window, row.key, answered, 15000, 500, x11::KeySender::XTest)) << row.key;
    }
    EXPECT_EQ(probe.Out(), expected) << "NumLock " << numLock;
    ASSERT_TRUE(x11::PressUntilExit(probe, *window, "Escape"));
  }
}

TEST(WindowX11, TypedTextReachesTheCharacterQueue) {
  REQUIRE_X11_DISPLAY();
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"type"});
  auto window = StartProbe(probe);
  ASSERT_TRUE(window);
  ASSERT_TRUE(x11::TypeText(*window, "Hi!"));
  ASSERT_TRUE(x11::PressKey(*window, "BackSpace"));
  ASSERT_TRUE(x11::PressKey(*window, "Tab"));
  ASSERT_TRUE(x11::PressKey(*window, "Return"));
  ASSERT_TRUE(probe.WaitForExit());
  EXPECT_EQ(probe.Out(), "72 105 33 8 9\r\n");
}

TEST(WindowX11, HeldKeyCountsOnce) {
  REQUIRE_X11_DISPLAY();
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"hold"});
  auto window = StartProbe(probe);
  ASSERT_TRUE(window);
  ASSERT_TRUE(x11::KeyDown(*window, "x"));
  // Held long enough for the server's auto-repeat to start.
  bool down = false;
  for (int i = 0; i < 500 && !down; ++i) {
    down = probe.Out().find("unten") != std::string::npos;
    if (!down) x11::RunCommand("sleep 0.02");
  }
  ASSERT_TRUE(down);
  x11::RunCommand("sleep 0.8");
  ASSERT_TRUE(x11::KeyUp(*window, "x"));
  ASSERT_TRUE(probe.WaitForExit());
  EXPECT_EQ(probe.Out(), "unten\r\n1\r\n");
}

TEST(WindowX11, CloseBoxOnlyRequestsClosing) {
  REQUIRE_X11_DISPLAY();
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"close"});
  auto window = StartProbe(probe);
  ASSERT_TRUE(window);
  ASSERT_TRUE(x11::RequestClose(*window));
  ASSERT_TRUE(probe.WaitForExit());
  EXPECT_EQ(probe.Status(), 0);
  EXPECT_EQ(probe.Out(), "geschlossen\r\n0\r\n");
}

TEST(WindowX11, UntitledWindowHasTheDefaultTitle) {
  REQUIRE_X11_DISPLAY();
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"untitled"});
  auto window = x11::FindWindow("Orvelt Application", 15000, probe.Pid());
  ASSERT_TRUE(window);
  ASSERT_TRUE(x11::WaitForPixel(*window, 50, 40, {0, 0, 0}));
  ASSERT_TRUE(x11::PressUntilExit(probe, *window, "q"));
  EXPECT_EQ(probe.Out(), "81\r\n");
}

TEST(WindowX11, MessageBoxCarriesTheApplicationTitle) {
  REQUIRE_X11_DISPLAY();
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"message"});
  auto box = x11::FindWindow("Orvelt Meldung");
  ASSERT_TRUE(box) << probe.Err();
  ASSERT_TRUE(x11::PressUntilExit(probe, *box, "Return"));
  EXPECT_EQ(probe.Out(), "ok\r\n");
  EXPECT_EQ(probe.Err(), "");
}

// GTK's message dialog draws with the desktop's fonts, so the box shows where the X server has no
// core fonts (the test run's virtual server has none).
TEST(WindowX11, ZuntLoadFailureShowsItsMessageBox) {
  REQUIRE_X11_DISPLAY();
  TempDir folder;
  x11::BackgroundProcess zunt(ZUNT_BIN, {folder.path() + "/fehlt.cf"});
  auto box = x11::FindWindow("ZUNT - Error!", 15000, zunt.Pid());
  ASSERT_TRUE(box) << zunt.Err();
  ASSERT_TRUE(x11::PressUntilExit(zunt, *box, "Return"));
  EXPECT_EQ(zunt.Status(), 0);
  EXPECT_EQ(zunt.Out(), "");
  EXPECT_EQ(zunt.Err(), "");
}

TEST(WindowX11, FileChooserAnswersWithTheTypedPath) {
  REQUIRE_X11_DISPLAY();
  if (RunsWindowsPrograms()) GTEST_SKIP() << "GTK's file chooser; Windows' own has its own tests";
  TempDir folder;
  std::string script = folder.Write("probe.cf", "print \"x\"\n");
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"dialog"});
  auto dialog = x11::FindWindow("Script \xC3\xB6" "ffnen:", 15000, probe.Pid());
  ASSERT_TRUE(dialog) << probe.Err();
  ASSERT_TRUE(x11::AnswerFileChooser(*dialog, script, [&] { return !probe.Running(); }));
  EXPECT_EQ(probe.Out(), script + "\r\n");
  EXPECT_EQ(probe.Err(), "");
}

TEST(WindowX11, FileChooserIsGoneWhenTheProgramGoesOn) {
  REQUIRE_X11_DISPLAY();
  if (RunsWindowsPrograms()) GTEST_SKIP() << "GTK's file chooser; Windows' own has its own tests";
  TempDir folder;
  std::string script = folder.Write("weiter.cf", "end\n");
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"dialog-window"});
  auto dialog = x11::FindWindow("Script \xC3\xB6" "ffnen:", 15000, probe.Pid());
  ASSERT_TRUE(dialog);
  auto window = x11::FindWindow(kTitle, 1, probe.Pid());
  EXPECT_FALSE(window) << "the program waits inside the dialog";
  ASSERT_TRUE(x11::AnswerFileChooser(*dialog, script, [&] { return x11::FindWindow(kTitle, 1, probe.Pid()).has_value(); }));
  EXPECT_TRUE(x11::WaitForNoWindow("Script \xC3\xB6" "ffnen:"));
  window = x11::FindWindow(kTitle, 15000, probe.Pid());
  ASSERT_TRUE(window);
  ASSERT_TRUE(x11::PressUntilExit(probe, *window, "Escape"));
  EXPECT_EQ(probe.Out(), script + "\r\n27\r\n");
  EXPECT_EQ(probe.Err(), "");
}

TEST(WindowX11, FileChooserCancelledGivesNothing) {
  REQUIRE_X11_DISPLAY();
  if (RunsWindowsPrograms()) GTEST_SKIP() << "GTK's file chooser; Windows' own has its own tests";
  x11::BackgroundProcess probe(WINDOW_PROBE_BIN, {"dialog"});
  auto dialog = x11::FindWindow("Script \xC3\xB6" "ffnen:", 15000, probe.Pid());
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(x11::WaitUntilSettled(*dialog));
  ASSERT_TRUE(x11::PressUntilExit(probe, *dialog, "Escape"));
  EXPECT_EQ(probe.Out(), "\r\n");
  EXPECT_EQ(probe.Err(), "");
}

// With no display the window lives in memory: one note, then key waits read the console. A
// display that is named but cannot be reached counts as none, for the window and the box alike.
TEST(WindowX11, WithoutADisplayTheProgramRunsOn) {
  RunResult run = RunBinary(WINDOW_PROBE_BIN, {"key"}, std::string("weiter\n"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "0\r\n");
  EXPECT_EQ(run.err, orvelt::kNoDisplayNote);
  RunResult ended = RunBinary(WINDOW_PROBE_BIN, {"key"}, std::string());
  EXPECT_EQ(ended.status, 0);
  EXPECT_EQ(ended.out, "0\r\n");
  RunOptions unreachable;
  unreachable.input = "weiter\n";
  unreachable.env = {{"DISPLAY", ":9876"}};
  RunResult named = RunBinary(WINDOW_PROBE_BIN, {"key"}, unreachable);
  EXPECT_EQ(named.status, 0);
  EXPECT_EQ(named.out, "0\r\n");
  EXPECT_EQ(named.err, orvelt::kNoDisplayNote);
  RunResult message = RunBinary(WINDOW_PROBE_BIN, {"message"}, unreachable);
  EXPECT_EQ(message.status, 0);
  EXPECT_EQ(message.out, "ok\r\n");
  EXPECT_EQ(message.err, "datei.cf\r\nScript konnte nicht geladen werden!\r\n");
}

}  // namespace
