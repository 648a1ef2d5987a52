// A graphics program end to end under a real X server: the window's place and pixels after "gfx",
// "org", "rect", "oval", "text" and "flip", and keys pressed with xdotool seen by "hitkey" and
// "waitkey".
#include <gtest/gtest.h>

#include "tests/support/run.h"
#include "tests/support/x11.h"

namespace {

const char kProgram[] =
    ".text\n"
    "app \"pelko Fenstertest\"\n"
    "gfx 200, 150\n"
    "org 10, 20\n"
    "rect 30, 40\n"
    "org 100, 50\n"
    "oval 40, 40\n"
    "org 10, 100\n"
    "text AB\n"
    "flip\n"
    "held:\n"
    "int delay, 5\n"
    "int hitkey, A\n"
    "cmp kbd, 1\n"
    "jne held\n"
    "mov cmd, \"A gehalten\"\n"
    "int print\n"
    "int waitkey\n"
    "mov cmd, kbd\n"
    "int print\n";

TEST(Window, DrawsAndReadsKeysUnderX) {
  REQUIRE_X11_DISPLAY();
  x11::WindowedProgram run(PELKO_BIN, "fenster.pel", kProgram, "pelko Fenstertest");
  std::optional<x11::WindowId> window = run.window;
  ASSERT_TRUE(window);

  std::optional<x11::Geometry> geometry = x11::WindowGeometry(*window);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->width, 200);
  EXPECT_EQ(geometry->height, 150);
  EXPECT_EQ(geometry->x, 32);
  EXPECT_EQ(geometry->y, 32);

  const x11::Pixel white{255, 255, 255}, black{0, 0, 0};
  ASSERT_TRUE(x11::WaitForPixel(*window, 10, 20, white));
  std::optional<x11::Screenshot> shot = x11::CaptureWindow(*window);
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->At(39, 59), white);
  EXPECT_EQ(shot->At(40, 20), black);
  EXPECT_EQ(shot->At(10, 60), black);
  EXPECT_EQ(shot->At(120, 70), white);  // the oval's centre
  EXPECT_EQ(shot->At(100, 50), black);  // its bounding box's corner
  int textPixels = 0;
  for (int y = 100; y < 116; ++y)
    for (int x = 10; x < 26; ++x) textPixels += shot->At(x, y) == white;
  EXPECT_GT(textPixels, 20);
  EXPECT_EQ(shot->At(30, 108), black);  // right of the two glyphs

  ASSERT_TRUE(x11::KeyDown(*window, "a"));
  EXPECT_TRUE(run.program.WaitForOutput("A gehalten\r\n"));
  ASSERT_TRUE(x11::KeyUp(*window, "a"));
  ASSERT_TRUE(run.PressUntilExit("Escape"));
  EXPECT_EQ(run.program.Out(), "A gehalten\r\n27\r\n");
  EXPECT_EQ(run.program.Err(), "");
  EXPECT_EQ(run.program.Status(), 0);
}

}  // namespace
