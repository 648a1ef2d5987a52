// Scripts with a real window under an X server: the drawn pixels read back from screenshots, a
// line typed into the window with xdotool, the window's title, Escape, and the file-open dialog
// answered by typing a path.
#include <gtest/gtest.h>

#include <string>

#include "runtime/internal/canvas.h"
#include "runtime/text.h"
#include "tests/support/run.h"
#include "tests/support/x11.h"
#include "tests/zunt/run_harness.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

using testing::kSuccessLine;
using testing::StartLine;

const x11::Pixel kBlack{0, 0, 0};

x11::Pixel ToPixel(orvelt::Rgb rgb) { return x11::Pixel{rgb.r, rgb.g, rgb.b}; }

// The text as the built-in font draws it, on the given background.
orvelt::Canvas Rendered(const Text& text, orvelt::Rgb colour, orvelt::Rgb background, int width, int height) {
  orvelt::Canvas canvas;
  canvas.Resize(width, height);
  canvas.Fill(background);
  canvas.TextAt(text, 0, 0, colour);
  return canvas;
}

// The screenshot holds the text drawn at (x, y), pixel for pixel over the text's whole box.
void ExpectText(const x11::Screenshot& shot, int x, int y, const Text& text, orvelt::Rgb colour,
                orvelt::Rgb background) {
  int width = 8 * static_cast<int>(text.size());
  orvelt::Canvas expected = Rendered(text, colour, background, width, 16);
  for (int dy = 0; dy < 16; ++dy)
    for (int dx = 0; dx < width; ++dx)
      ASSERT_EQ(shot.At(x + dx, y + dy), ToPixel(expected.PixelAt(dx, dy))) << "at " << x + dx << "," << y + dy;
}

// A pixel that the last glyph of the text sets: it shows that glyph has been drawn.
std::pair<int, int> PixelOfLastGlyph(const Text& text) {
  orvelt::Canvas canvas = Rendered(text.substr(text.size() - 1), {255, 255, 255}, {0, 0, 0}, 8, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8; ++x)
      if (canvas.PixelAt(x, y) == orvelt::Rgb{255, 255, 255}) return {8 * static_cast<int>(text.size() - 1) + x, y};
  return {0, 0};
}

const char kShapes[] =
    "apptitle \"Formen\"\n"
    "window 200,120\n"
    "clscolor 0,0,96\n"
    "cls\n"
    "color 255,0,0\n"
    "rect 10,10,40,30\n"
    "color 0,200,0\n"
    "oval 60,10,40,30\n"
    "color 255,255,0\n"
    "line 10,60,190,60\n"
    "plot 100,70\n"
    "color 255,255,255\n"
    "print \"AB 7\",10,80\n"
    "flip\n"
    "waitkey\n";

TEST(ScriptWindow, DrawsShapesAndTextAndEndsOnAKey) {
  REQUIRE_X11_DISPLAY();
  x11::WindowedProgram run(ZUNT_BIN, "shapes.cf", kShapes, "ZUNT - Formen");
  const std::string& path = run.path;
  x11::BackgroundProcess& program = run.program;
  std::optional<x11::WindowId> window = run.window;
  ASSERT_TRUE(window);
  std::optional<x11::Geometry> geometry = x11::WindowGeometry(*window);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->width, 200);
  EXPECT_EQ(geometry->height, 120);

  const x11::Pixel red{255, 0, 0}, green{0, 200, 0}, yellow{255, 255, 0}, clear{0, 0, 96};
  ASSERT_TRUE(x11::WaitForPixel(*window, 10, 10, red));
  std::optional<x11::Screenshot> shot = x11::CaptureWindow(*window);
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->At(49, 39), red);    // the rectangle's last pixel
  EXPECT_EQ(shot->At(50, 40), clear);  // just outside it
  EXPECT_EQ(shot->At(80, 25), green);  // the oval's centre
  EXPECT_EQ(shot->At(61, 11), clear);  // the corner of its box
  EXPECT_EQ(shot->At(10, 60), yellow);
  EXPECT_EQ(shot->At(190, 60), yellow);  // the line's last pixel is drawn
  EXPECT_EQ(shot->At(100, 70), yellow);
  EXPECT_EQ(shot->At(100, 71), clear);
  ExpectText(*shot, 10, 80, u"AB 7", {255, 255, 255}, {0, 0, 96});

  ASSERT_TRUE(x11::PressUntilExit(program, *window, "space"));
  EXPECT_EQ(program.Out(), StartLine(path) + kSuccessLine);
  EXPECT_EQ(program.Status(), 0);
}

// Without "apptitle" the window is captioned with the script's path; "apptitle" after "window"
// leaves the open window as it is, and the next "window" opens a new one with the new title.
TEST(ScriptWindow, Titles) {
  REQUIRE_X11_DISPLAY();
  TempDir dir;
  std::string path = dir.Write("titel.cf", "window 64,48\napptitle \"Zweites\"\nwaitkey\nwindow 80,60\nwaitkey\n");
  x11::BackgroundProcess program(ZUNT_BIN, {path});
  std::optional<x11::WindowId> first = x11::FindWindow("ZUNT - " + path);
  ASSERT_TRUE(first);
  std::optional<x11::WindowId> second;
  for (int i = 0; i < 100 && !second; ++i) {
    x11::PressKey(*first, "a");
    second = x11::FindWindow("ZUNT - Zweites", 200);
  }
  ASSERT_TRUE(second);
  EXPECT_NE(*second, *first);  // the first window was never renamed
  EXPECT_TRUE(x11::WaitForNoWindow("ZUNT - " + path));
  std::optional<x11::Geometry> geometry = x11::WindowGeometry(*second);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->width, 80);
  EXPECT_EQ(geometry->height, 60);
  ASSERT_TRUE(x11::PressUntilExit(program, *second, "b"));
  EXPECT_EQ(program.Status(), 0);
}

const char kTyping[] =
    "apptitle \"Eingabe\"\n"
    "window 240,100\n"
    "input \"Name:\",10,10\n"
    "color 255,255,0\n"
    "print input_text,10,60\n"
    "flip\n"
    "waitkey\n";

// Each step waits until the window shows its effect, so that no key overtakes another.
TEST(ScriptWindow, AnInputLineTypedIntoTheWindow) {
  REQUIRE_X11_DISPLAY();
  x11::WindowedProgram run(ZUNT_BIN, "eingabe.cf", kTyping, "ZUNT - Eingabe");
  const std::string& path = run.path;
  x11::BackgroundProcess& program = run.program;
  std::optional<x11::WindowId> window = run.window;
  ASSERT_TRUE(window);
  const x11::Pixel white{255, 255, 255};
  ASSERT_TRUE(x11::WaitForPixel(*window, PixelOfLastGlyph(u"Name:").first + 10, PixelOfLastGlyph(u"Name:").second + 10, white));
  const int typedX = 10 + 5 * 8 + 5;
  auto [xOfX, yOfX] = PixelOfLastGlyph(u"abx");
  ASSERT_TRUE(x11::TypeText(*window, "abx"));
  ASSERT_TRUE(x11::WaitForPixel(*window, typedX + xOfX, 10 + yOfX, white));
  ASSERT_TRUE(x11::PressKey(*window, "BackSpace"));
  ASSERT_TRUE(x11::WaitForPixel(*window, typedX + xOfX, 10 + yOfX, kBlack));
  auto [xOfC, yOfC] = PixelOfLastGlyph(u"abc");
  ASSERT_TRUE(x11::TypeText(*window, "c"));
  ASSERT_TRUE(x11::WaitForPixel(*window, typedX + xOfC, 10 + yOfC, white));
  ASSERT_TRUE(x11::PressKey(*window, "Return"));

  auto [xOfResult, yOfResult] = PixelOfLastGlyph(u"abc");
  ASSERT_TRUE(x11::WaitForPixel(*window, 10 + xOfResult, 60 + yOfResult, x11::Pixel{255, 255, 0}));
  std::optional<x11::Screenshot> shot = x11::CaptureWindow(*window);
  ASSERT_TRUE(shot);
  ExpectText(*shot, 10, 60, u"abc", {255, 255, 0}, {0, 0, 0});
  EXPECT_EQ(shot->At(typedX + 4, 14), kBlack);  // the input line itself is gone

  ASSERT_TRUE(x11::PressUntilExit(program, *window, "space"));
  EXPECT_EQ(program.Out(), StartLine(path) + kSuccessLine);
  EXPECT_EQ(program.Status(), 0);
}

TEST(ScriptWindow, EscapeDuringInputEndsTheProgram) {
  REQUIRE_X11_DISPLAY();
  x11::WindowedProgram run(ZUNT_BIN, "abbruch.cf", kTyping, "ZUNT - Eingabe");
  const std::string& path = run.path;
  x11::BackgroundProcess& program = run.program;
  std::optional<x11::WindowId> window = run.window;
  ASSERT_TRUE(window);
  ASSERT_TRUE(x11::PressUntilExit(program, *window, "Escape"));
  EXPECT_EQ(program.Out(), StartLine(path));
  EXPECT_EQ(program.Status(), 0);
}

// The bouncing ball of the examples runs paced by "flip" until "keyhit(27)" sees Escape.
TEST(ScriptWindow, EscapeEndsTheAnimatedExample) {
  REQUIRE_X11_DISPLAY();
  std::string path = SOURCE_DIR "/examples/zunt/bounce.cf";
  x11::BackgroundProcess program(ZUNT_BIN, {path});
  std::optional<x11::WindowId> window = x11::FindWindow("ZUNT - Ball");
  ASSERT_TRUE(window);
  ASSERT_TRUE(x11::WaitForPixel(*window, 8 + 1, 8 + 5, x11::Pixel{255, 255, 255}));
  ASSERT_TRUE(x11::PressUntilExit(program, *window, "Escape"));
  EXPECT_EQ(program.Out(), StartLine(path) + kSuccessLine);
  EXPECT_EQ(program.Status(), 0);
}

// Without an argument the file-open dialog asks; the path typed into its location field is run.
TEST(ScriptWindow, TheFileOpenDialogAnsweredByTypingAPath) {
  REQUIRE_X11_DISPLAY();
  if (RunsWindowsPrograms()) GTEST_SKIP() << "GTK's file chooser; Windows' own has its own tests";
  TempDir dir;
  std::string path = dir.Write("gewaehlt.cf", "end\n");
  x11::BackgroundProcess program(ZUNT_BIN, {}, "", {{"GSETTINGS_BACKEND", "memory"}});
  std::optional<x11::WindowId> dialog = x11::FindWindow("Script \xC3\xB6" "ffnen:");
  ASSERT_TRUE(dialog);
  for (int attempt = 0; attempt < 5 && program.Running(); ++attempt) {
    ASSERT_TRUE(x11::PressKey(*dialog, "ctrl+l"));
    ASSERT_TRUE(x11::TypeText(*dialog, path));
    ASSERT_TRUE(x11::PressKey(*dialog, "Return"));
    if (program.WaitForExit(3000)) break;
  }
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.Out(), StartLine(path) + kSuccessLine);
  EXPECT_EQ(program.Status(), 0);
}

}  // namespace
}  // namespace zunt
