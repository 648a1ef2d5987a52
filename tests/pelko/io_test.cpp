// The console, keyboard, timing and drawing instructions, in-process: the console through
// temporary files, the window through the in-memory display.
#include <gtest/gtest.h>

#include "tests/testlib/runtime/memory_display.h"
#include "runtime/window.h"
#include "tests/pelko/harness.h"

using namespace orvelt;

namespace {

using orvelt::Rgb;
using pelko_test::Lines;
using pelko_test::Outcome;
using pelko_test::RunBothWays;
using pelko_test::RunSetup;

const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

RunSetup WithInput(const std::string& input) {
  RunSetup setup;
  setup.input = input;
  return setup;
}

struct ConsoleCase {
  std::string name;
  std::string source;
  std::string input;
  std::string out;
};

void RunCases(const std::vector<ConsoleCase>& cases) {
  for (const ConsoleCase& c : cases) {
    Outcome outcome = RunBothWays(c.source, WithInput(c.input));
    EXPECT_EQ(outcome.out, c.out) << c.name;
    EXPECT_EQ(outcome.err, "") << c.name;
    EXPECT_EQ(outcome.status, 0) << c.name;
  }
}

TEST(Print, WritesTheTextOfEveryCellNamedCmd) {
  RunCases({
      {"register", ".text\nmov cmd, \"Grüße\"\nint print\n", "", "Grüße\r\n"},
      {"empty", ".text\nint print\n", "", "\r\n"},
      {"a declared cmd of type int prints its empty text",
       ".data\ncmd int 5\ncmd string \"zwei\"\n.text\nint print\n", "", Lines({"", "", "zwei"})},
      {"unknown services do nothing", ".text\nint Print\nint\nint nothing, 5\n", "", ""},
  });
}

TEST(Input, ChoosesThePromptByTheArgument) {
  RunCases({
      {"quoted prompt keeps its blank", ".text\nint input, \"Name? \"\nint print\n", "Bob\n", "Name? Bob\r\n"},
      {"prompt from a cell", ".data\np string \"Zahl> \"\n.text\nint input, p\nint print\n", "7\r\n", "Zahl> 7\r\n"},
      {"prompt naming no cell is the text", ".text\nint input, Eingabe\nint print\n", "x\n", "Eingabex\r\n"},
      {"a lone quote gives an empty prompt", ".text\nint input, \"\nint print\n", "x\n", "x\r\n"},
      {"opening quote only", ".text\nint input, \"abc\nint print\n", "x\n", "abx\r\n"},
      {"no argument reads nothing", ".text\nint input\nint print\n", "unread\n", "\r\n"},
      {"no argument repeats the last line",
       ".text\nint input, \">\"\nmov cmd, \"\"\nint input\nint print\n", "eins\nzwei\n", ">eins\r\n"},
      {"end of input", ".text\nint input, \"?\"\nint print\n", "", "?\r\n"},
      {"last line without a line end", ".text\nint input, \"?\"\nint print\n", "abc", "?abc\r\n"},
      {"every cmd cell receives the line",
       ".data\ncmd int 0\n.text\nint input, \"?\"\nint print\n", "ja\n", "?ja\r\nja\r\n"},
      {"the line is text, whatever it holds", ".text\nint input, \"?\"\nmov cx, cmd\nmov cmd, cx\nint print\n", "42abc\n",
       "?42\r\n"},
  });
}

TEST(Keys, WithoutAWindowNoKeyIsHeldAndWaitkeyReadsALine) {
  RunCases({
      {"hitkey", ".text\nmov kbd, 9\nint hitkey, ESC\nmov cmd, kbd\nint print\n", "", Lines({"0"})},
      {"downkey", ".text\nmov kbd, 9\nint downkey, LEFT\nmov cmd, kbd\nint print\n", "", Lines({"0"})},
      {"waitkey reads one line",
       ".text\nmov kbd, 9\nint waitkey\nmov cmd, kbd\nint print\nint input, \">\"\nint print\n", "first\nsecond\n",
       Lines({"0", ">second"})},
      {"waitkey at the end of input", ".text\nint waitkey\nmov cmd, \"on\"\nint print\n", "", Lines({"on"})},
  });
}

TEST(Wait, PacesOnTheFrameTimer) {
  RunSetup setup;
  setup.frameTimer = true;
  Outcome outcome = RunBothWays(
      ".text\nmov cx, __TIMER__\nmov bx, 10\nloop:\nwait\ndec bx\ncmp bx, 0\njl loop\n"
      "mov ax, __TIMER__\nsub ax, cx\nmov cx, ax\nmov cmd, cx\nint print\n",
      setup);
  // Ten waits of the 16 ms timer, read through a clock that also moves 1 ms per reading.
  int32_t elapsed = std::stoi(outcome.out);
  EXPECT_GE(elapsed, 144);
  EXPECT_LE(elapsed, 200);
}

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override { orvelt::memory::Install(); }
  void TearDown() override {
    orvelt::memory::Remove();
    SetWindowTitle(u"Orvelt Application");
  }
};

TEST_F(Drawing, GfxOpensAtTheCornerWithTheTitleAndSizesAsWritten) {
  RunBothWays(".text\napp \"Spiel\"\ngfx 640, 480\n");
  orvelt::memory::WindowInfo window = orvelt::memory::Window();
  EXPECT_TRUE(window.open);
  EXPECT_EQ(window.width, 640);
  EXPECT_EQ(window.height, 480);
  EXPECT_EQ(window.placement, WindowPlacement::Corner32);
  EXPECT_EQ(EncodeUtf8(window.title), "Spiel");

  // Registers are not looked up: the width reads as 0.
  RunBothWays(".text\nmov cx, 640\ngfx cx, 480\n");
  EXPECT_LE(orvelt::memory::Window().width, 1);
}

TEST_F(Drawing, RectOvalDotAndTextAtTheDrawPosition) {
  RunBothWays(
      ".data\nw int 30\n.text\ngfx 100, 100\norg 10, 20\nrect w, 40\ndot 5, 5\norg 60, 60\noval 20, 20\n"
      "org 0, 80\ntext A\nflip\n");
  struct Probe {
    int x, y;
    Rgb colour;
  };
  const Probe probes[] = {
      {10, 20, kWhite}, {39, 59, kWhite}, {40, 20, kBlack}, {10, 60, kBlack}, {9, 20, kBlack},
      {5, 5, kWhite},   {6, 5, kBlack},   {70, 70, kWhite}, {60, 60, kBlack}, {81, 81, kBlack},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(orvelt::memory::FramePixel(p.x, p.y), p.colour) << p.x << "," << p.y;
  // One glyph of 8 by 16 pixels at (0, 80), and nothing to its right.
  int inGlyph = 0, beside = 0;
  for (int y = 80; y < 96; ++y)
    for (int x = 0; x < 16; ++x) (x < 8 ? inGlyph : beside) += orvelt::memory::FramePixel(x, y) == kWhite;
  EXPECT_GT(inGlyph, 10);
  EXPECT_EQ(beside, 0);
}

TEST_F(Drawing, ClsClearsAndFlipPresentsBySyncOfTheWaitFlag) {
  // Each of the three runs (literal, decoded, traced) opens its own window and sets the interval once.
  RunBothWays(".text\ngfx 50, 50\norg 0, 0\nrect 50, 50\ncls\nflip\nflip\n");
  EXPECT_EQ(orvelt::memory::FramePixel(25, 25), kBlack);
  EXPECT_EQ(orvelt::memory::SwapIntervalChanges(), (std::vector<int>{1, 1, 1}));

  orvelt::memory::Remove();
  orvelt::memory::Install();
  RunBothWays(".text\ngfx 50, 50\nflip\nend\nwait\n");
  EXPECT_EQ(orvelt::memory::SwapIntervalChanges(), (std::vector<int>{0, 0, 0}));
}

TEST_F(Drawing, TextDrawsTheOperandValueWithItsQuotes) {
  RunBothWays(".text\ngfx 100, 20\nmov ax, 1.5\ntext ax\nflip\n");
  // "1.50000000" is ten glyphs; the last one's "0" reaches beyond x = 72.
  bool drawnFar = false;
  for (int x = 72; x < 80; ++x)
    for (int y = 0; y < 16; ++y) drawnFar = drawnFar || orvelt::memory::FramePixel(x, y) == kWhite;
  EXPECT_TRUE(drawnFar);
  EXPECT_EQ(orvelt::memory::FramePixel(85, 8), kBlack);
}

TEST_F(Drawing, KeysFromTheWindow) {
  // A key comes whenever the program waits for one.
  orvelt::memory::SetIdleHandler([] { orvelt::memory::KeyPress(65); });
  Outcome outcome = RunBothWays(".text\ngfx 10, 10\nint waitkey\nmov cmd, kbd\nint print\n");
  EXPECT_EQ(outcome.out, Lines({"65"}));

  orvelt::memory::SetIdleHandler([] { orvelt::memory::KeyDown(27); });
  outcome = RunBothWays(
      ".text\ngfx 10, 10\nwait\nint hitkey, ESC\nmov cmd, kbd\nint print\nint downkey, ESC\nmov cmd, kbd\n"
      "int print\nint hitkey, esc\nmov cmd, kbd\nint print\nint downkey, LEFT\nmov cmd, kbd\nint print\n",
      [] {
        pelko_test::RunSetup setup;
        setup.frameTimer = true;
        return setup;
      }());
  EXPECT_EQ(outcome.out, Lines({"1", "1", "0", "0"}));
  orvelt::memory::SetIdleHandler({});
}

}  // namespace
