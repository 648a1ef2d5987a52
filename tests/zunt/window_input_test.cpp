// Typing a line into the graphics window, in a window kept in memory: events arrive frame by
// frame through a fake clock whose sleeps stand for the frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/clock.h"
#include "runtime/internal/canvas.h"
#include "tests/testlib/runtime/fake_clock.h"
#include "tests/testlib/runtime/memory_display.h"
#include "runtime/process.h"
#include "runtime/window.h"
#include "zunt/window_input.h"

using namespace orvelt;

namespace orvelt::zunt {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;
constexpr char16_t kEscape = 27;
constexpr char16_t kClose = 1;

// What happens during each frame's sleep: characters typed, and the keys above pressed.
std::vector<std::u16string> gFrames;
std::size_t gNextFrame = 0;
uint32_t gNow = 1000;

uint32_t FakeNow() { return gNow; }

void FakeSleep(int32_t ms) {
  gNow += static_cast<uint32_t>(ms > 0 ? ms : 0);
  if (gNextFrame >= gFrames.size()) return;
  for (char16_t c : gFrames[gNextFrame++]) {
    if (c == kBackspace || c == kEnter || c == kEscape) orvelt::memory::KeyPress(c);
    else if (c == kClose) orvelt::memory::RequestClose();
    else orvelt::memory::TypeChar(c);
  }
}

class WindowInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orvelt::memory::Install();
    SetClockForTesting(FakeNow, FakeSleep);
    OpenGraphicsWindow(200, 60, 0, 60);
  }
  void TearDown() override {
    orvelt::memory::Remove();
    SetClockForTesting(nullptr, nullptr);
    gFrames.clear();
    gNextFrame = 0;
  }
  static void Frames(std::vector<std::u16string> frames) {
    gFrames = std::move(frames);
    gNextFrame = 0;
  }
};

struct TypingRow {
  const char* rule;
  std::vector<std::u16string> frames;
  std::u16string expected;
};

TEST_F(WindowInputTest, TypedLines) {
  const TypingRow rows[] = {
      {"typed text, Backspace, Enter", {u"a", u"b", u"\b", u"c", u"\r"}, u"ac"},
      {"a blank is not taken", {u"a", u" ", u"b", u"\r"}, u"ab"},
      {"Enter at once", {u"\r"}, u""},
      {"Backspace on nothing", {u"\b", u"x", u"\r"}, u"x"},
      {"two Backspaces in one frame remove one", {u"a", u"b", u"\b\b", u"\r"}, u"a"},
      {"one character per frame; the rest still waits at Enter", {u"abc", u"\r"}, u"a"},
      {"one character per frame", {u"abc", u"", u"", u"\r"}, u"abc"},
      {"control characters and letters above 126", {u"\t", u"\u00e4", u"~", u"!", u"\r"}, u"~!"},
  };
  for (const TypingRow& row : rows) {
    Frames(row.frames);
    EXPECT_EQ(WindowInput(10, 20, u"Name:"), row.expected) << row.rule;
  }
}

// The frame that shows the final text is presented before Enter is tested; the canvas is empty
// afterwards.
TEST_F(WindowInputTest, DrawsThePromptAndTheTextAfterIt) {
  Frames({u"o", u"k", u"\r"});
  ASSERT_EQ(WindowInput(10, 20, u"Name:"), u"ok");
  orvelt::Canvas expected;
  expected.Resize(200, 60);
  expected.TextAt(u"Name:", 10, 20, orvelt::Rgb{255, 255, 255});
  expected.TextAt(u"ok", 10 + 5 * 8 + 5, 20, orvelt::Rgb{255, 255, 255});
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x)
      ASSERT_EQ(orvelt::memory::FramePixel(x, y), expected.PixelAt(x, y)) << x << "," << y;
  for (int x = 10; x < 60; ++x) ASSERT_EQ(orvelt::memory::CanvasPixel(x, 28), (orvelt::Rgb{0, 0, 0}));
}

TEST_F(WindowInputTest, EscapeEndsTheProgram) {
  Frames({u"a", u"\x1b"});
  try {
    WindowInput(0, 0, u"?");
    FAIL() << "the input returned";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.status, 0);
  }
}

TEST_F(WindowInputTest, ACloseRequestEndsTheProgram) {
  Frames({u"a", std::u16string(1, kClose)});
  try {
    WindowInput(0, 0, u"?");
    FAIL() << "the input returned";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.status, 0);
  }
}

// Keys hit before the input statement do not count: the keyboard is flushed first.
TEST_F(WindowInputTest, EarlierKeysAreFlushed) {
  orvelt::memory::TypeText(u"zz");
  orvelt::memory::KeyPress(13);
  Frames({u"y", u"\r"});
  EXPECT_EQ(WindowInput(0, 0, u"?"), u"y");
}

}  // namespace
}  // namespace zunt
