// Scripts run in-process against a window kept in memory: what the drawing statements leave in
// the presented frame, compared pixel for pixel with the canvas drawing the same texts.
#include <gtest/gtest.h>

#include <string>

#include "runtime/internal/canvas.h"
#include "tests/testlib/runtime/memory_display.h"
#include "runtime/process.h"
#include "runtime/window.h"
#include "tests/testlib/runtime/console_capture.h"
#include "zunt/load.h"
#include "zunt/script.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

class ExecuteWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { orvelt::memory::Install(); }
  void TearDown() override { orvelt::memory::Remove(); }

  static std::string Run(const Text& source) {
    ConsoleCapture console;
    TScript script;
    script.file = u"t.cf";
    StoreScriptLines(script, source);
    script.Execute();
    return console.Out();
  }

  static void ExpectFrame(const orvelt::Canvas& expected) {
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x)
        ASSERT_EQ(orvelt::memory::FramePixel(x, y), expected.PixelAt(x, y)) << x << "," << y;
  }
};

// The ";" cuts the text and its coordinates off; a quoted text followed by "+" and a name is drawn
// as written, without its quotes.
TEST_F(ExecuteWindowTest, PrintQuirks) {
  Run(u"window 100,40\n"
      u"print \"a;b\",50,20\n"
      u"int n = 5\n"
      u"print \"x\" + n,0,16\n"
      u"flip\n");
  orvelt::Canvas expected;
  expected.Resize(100, 40);
  const orvelt::Rgb white{255, 255, 255};
  expected.TextAt(u"a", 0, 0, white);
  expected.TextAt(u"x + n", 0, 16, white);
  ExpectFrame(expected);
}

TEST_F(ExecuteWindowTest, ShapesColoursAndClearing) {
  Run(u"rect 0,0,10,10\n"  // before any window: nothing
      u"window 40,30\n"
      u"clscolor 0,0,300\n"
      u"cls\n"
      u"color 255,-5,128\n"
      u"rect 2,3,4,5\n"
      u"line 10,1,20,1\n"
      u"plot 30,20\n"
      u"oval 20,10,10,10\n"
      u"flip\n");
  orvelt::Canvas expected;
  expected.Resize(40, 30);
  expected.Fill({0, 0, 255});
  const orvelt::Rgb colour{255, 0, 128};
  expected.FilledRect(2, 3, 4, 5, colour);
  expected.Line(10, 1, 20, 1, colour);
  expected.Point(20, 1, colour);
  expected.Point(30, 20, colour);
  expected.FilledOval(20, 10, 10, 10, colour);
  ExpectFrame(expected);
  EXPECT_EQ(orvelt::memory::Window().timesOpened, 1);
}

// The window takes the title current when it opens.
TEST_F(ExecuteWindowTest, TheWindowTakesTheTitleOfItsTime) {
  SetWindowTitle(u"ZUNT - t.cf");
  Run(u"apptitle \"Eins\"\nwindow 20,20\napptitle \"Zwei\"\n");
  EXPECT_EQ(orvelt::memory::Window().title, u"ZUNT - Eins");
  EXPECT_EQ(WindowTitle(), u"ZUNT - Zwei");
  Run(u"window 30,30\n");
  EXPECT_EQ(orvelt::memory::Window().title, u"ZUNT - Zwei");
  EXPECT_EQ(orvelt::memory::Window().width, 30);
  EXPECT_EQ(orvelt::memory::Window().placement, WindowPlacement::Centred);
}

}  // namespace
}  // namespace zunt
