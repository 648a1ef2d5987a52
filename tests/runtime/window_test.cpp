// The window's public operations on the in-memory display: no effect before a window, a black
// new window drawing white, colours clamped, the title taken at opening, presents and the swap
// interval, keyboard queries that process pending events, WaitForKey, and the tick-timer pump.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/window.h"
#include "tests/testlib/runtime/console_capture.h"
#include "tests/testlib/runtime/fake_clock.h"
#include "tests/testlib/runtime/memory_display.h"

using namespace orvelt;

namespace {

namespace memory = orvelt::memory;
using orvelt::Rgb;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{};

class Window : public ::testing::Test {
 protected:
  void SetUp() override { memory::Install(); }
  void TearDown() override { memory::Remove(); }
  FakeClock clock_{1000};
};

TEST_F(Window, BeforeAnyWindowNothingHappens) {
  EXPECT_FALSE(GraphicsWindowOpen());
  EXPECT_FALSE(HasKeySource());
  ClearCanvas();
  DrawPoint(1, 1);
  DrawFilledRect(0, 0, 10, 10);
  DrawTextAt(u"A", 0, 0);
  PresentCanvas(-1);
  EXPECT_EQ(memory::PresentCount(), 0);
  EXPECT_EQ(memory::CanvasPixel(1, 1), kBlack);
  memory::KeyPress(65);
  EXPECT_EQ(KeyHitCount(65), 0);
  EXPECT_EQ(KeyIsDown(65), 0);
  EXPECT_EQ(NextTypedChar(), 0);
  EXPECT_EQ(CloseRequested(), 0);
}

TEST_F(Window, WaitForKeyWithoutAKeySourceReadsOneLine) {
  struct Row {
    std::string input;
    std::string left;  // what the next line read finds
  };
  const Row rows[] = {{"weiter\nnoch\n", "noch"}, {"\n\n", ""}, {"", ""}, {"ohne Ende", ""}};
  for (const Row& row : rows) {
    ConsoleCapture console(row.input);
    EXPECT_EQ(WaitForKey(), 0);
    EXPECT_EQ(ReadConsoleLine().value_or(u""), DecodeBytes(row.left)) << row.input;
  }
  memory::Install(false);
  OpenGraphicsWindow(64, 48, 0, 60);
  EXPECT_TRUE(GraphicsWindowOpen());
  EXPECT_FALSE(HasKeySource());
  ConsoleCapture console("taste\n");
  EXPECT_EQ(WaitForKey(), 0);
  EXPECT_FALSE(ReadConsoleLine().has_value());
}

TEST_F(Window, NewWindowIsBlackAndDrawsWhite) {
  OpenGraphicsWindow(64, 48, 0, 60);
  EXPECT_TRUE(GraphicsWindowOpen());
  EXPECT_TRUE(HasKeySource());
  EXPECT_EQ(memory::PresentCount(), 1) << "the black canvas is shown at once";
  EXPECT_EQ(memory::FramePixel(0, 0), kBlack);
  DrawPoint(3, 4);
  EXPECT_EQ(memory::CanvasPixel(3, 4), kWhite);
  EXPECT_EQ(memory::FramePixel(3, 4), kBlack) << "not shown before a present";
  PresentCanvas(0);
  EXPECT_EQ(memory::PresentCount(), 2);
  EXPECT_EQ(memory::FramePixel(3, 4), kWhite);
  EXPECT_EQ(memory::CanvasPixel(3, 4), kWhite) << "the canvas keeps its contents after a present";
}

TEST_F(Window, ColoursAreClamped) {
  struct Row {
    int r, g, b;
    Rgb drawn;
  };
  const Row rows[] = {
      {300, -5, 128, {255, 0, 128}}, {0, 0, 0, {0, 0, 0}}, {255, 255, 255, {255, 255, 255}},
      {-2147483647 - 1, 2147483647, 1, {0, 255, 1}},
  };
  OpenGraphicsWindow(8, 8, 0, 0);
  for (const Row& row : rows) {
    SetDrawColor(row.r, row.g, row.b);
    DrawPoint(0, 0);
    EXPECT_EQ(memory::CanvasPixel(0, 0), row.drawn);
    SetClearColor(row.r, row.g, row.b);
    ClearCanvas();
    EXPECT_EQ(memory::CanvasPixel(7, 7), row.drawn);
  }
}

TEST_F(Window, TitleSizeAndPlacementAreTakenAtOpening) {
  Text before = WindowTitle();
  SetWindowTitle(u"Erster Titel");
  OpenGraphicsWindow(320, 200, 0, 60, WindowPlacement::Corner32);
  SetWindowTitle(u"Zweiter Titel");
  memory::WindowInfo info = memory::Window();
  EXPECT_TRUE(info.open);
  EXPECT_EQ(info.title, u"Erster Titel");
  EXPECT_EQ(info.width, 320);
  EXPECT_EQ(info.height, 200);
  EXPECT_EQ(info.placement, WindowPlacement::Corner32);
  EXPECT_EQ(WindowTitle(), u"Zweiter Titel");
  OpenGraphicsWindow(100000, -3, 0, 0);
  info = memory::Window();
  EXPECT_EQ(info.title, u"Zweiter Titel");
  EXPECT_EQ(info.width, 8192);
  EXPECT_EQ(info.height, 1);
  EXPECT_EQ(info.placement, WindowPlacement::Centred);
  EXPECT_EQ(info.timesOpened, 2);
  SetWindowTitle(before);
}

TEST_F(Window, OpeningAgainStartsAfresh) {
  OpenGraphicsWindow(16, 16, 0, 0);
  SetDrawColor(255, 0, 0);
  DrawFilledRect(0, 0, 16, 16);
  memory::KeyDown(65);
  memory::TypeChar(97);
  memory::RequestClose();
  EXPECT_EQ(KeyIsDown(65), 1);
  OpenGraphicsWindow(16, 16, 0, 0);
  EXPECT_EQ(memory::CanvasPixel(5, 5), kBlack);
  EXPECT_EQ(KeyIsDown(65), 0);
  EXPECT_EQ(KeyHitCount(65), 0);
  EXPECT_EQ(NextTypedChar(), 0);
  EXPECT_EQ(CloseRequested(), 0);
  DrawPoint(5, 5);
  EXPECT_EQ(memory::CanvasPixel(5, 5), kWhite);
}

TEST_F(Window, ClosingStopsDrawingAndForgetsKeys) {
  OpenGraphicsWindow(16, 16, 0, 0);
  memory::KeyDown(65);
  EXPECT_EQ(KeyIsDown(65), 1);
  CloseGraphicsWindow();
  EXPECT_FALSE(GraphicsWindowOpen());
  EXPECT_FALSE(memory::Window().open);
  EXPECT_EQ(KeyIsDown(65), 0);
  DrawPoint(1, 1);
  EXPECT_EQ(memory::CanvasPixel(1, 1), kBlack);
  CloseGraphicsWindow();  // twice is harmless
}

TEST_F(Window, EndOfProgramClosesTheWindow) {
  OpenGraphicsWindow(16, 16, 0, 0);
  RunEndHooks();
  EXPECT_FALSE(GraphicsWindowOpen());
}

TEST_F(Window, KeyboardQueriesProcessPendingEventsFirst) {
  OpenGraphicsWindow(16, 16, 0, 0);
  memory::KeyDown(37);
  memory::KeyDown(37, true);
  memory::KeyDown(37, true);
  EXPECT_EQ(memory::PendingEvents(), 3);
  EXPECT_EQ(KeyIsDown(37), 1);
  EXPECT_EQ(memory::PendingEvents(), 0);
  EXPECT_EQ(KeyHitCount(37), 1);
  EXPECT_EQ(KeyHitCount(37), 0);
  memory::KeyUp(37);
  EXPECT_EQ(KeyIsDown(37), 0);
  memory::TypeText(u"H\u00e4");
  EXPECT_EQ(NextTypedChar(), 'H');
  EXPECT_EQ(NextTypedChar(), 0xE4);
  EXPECT_EQ(NextTypedChar(), 0);
  memory::RequestClose();
  EXPECT_EQ(CloseRequested(), 1);
  EXPECT_EQ(CloseRequested(), 0);
  memory::KeyDown(65);
  memory::TypeChar(65);
  memory::Focus(false);
  EXPECT_EQ(KeyIsDown(65), 0);
  EXPECT_EQ(KeyHitCount(65), 0);
  EXPECT_EQ(NextTypedChar(), 0);
  memory::KeyPress(66);
  FlushKeyboard();
  EXPECT_EQ(KeyHitCount(66), 0);
}

TEST_F(Window, DrawingAndPresentingLeaveEventsPending) {
  OpenGraphicsWindow(16, 16, 0, 60);
  memory::KeyPress(65);
  DrawPoint(1, 1);
  PresentCanvas(-1);
  ClearCanvas();
  EXPECT_EQ(memory::PendingEvents(), 2);
}

TEST_F(Window, WaitForKeyAnswersTheLowestNewHit) {
  OpenGraphicsWindow(16, 16, 0, 0);
  struct Row {
    std::vector<int> before;  // pressed before the wait: flushed
    std::vector<std::vector<int>> during;  // pressed while it waits, one list per idle call
    int answer;
  };
  const Row rows[] = {
      {{}, {{70, 66}}, 66},
      {{65}, {{90}}, 90},
      {{}, {{}, {}, {39}}, 39},
      {{}, {{-1}, {27}}, 27},  // -1: a close request, which the wait ignores
  };
  for (const Row& row : rows) {
    for (int code : row.before) memory::KeyPress(code);
    size_t call = 0;
    memory::SetIdleHandler([&] {
      if (call >= row.during.size()) throw ProgramExit{99};
      for (int code : row.during[call++]) {
        if (code < 0) {
          memory::RequestClose();
        } else {
          memory::KeyPress(code);
        }
      }
    });
    EXPECT_EQ(WaitForKey(), row.answer);
    memory::SetIdleHandler({});
  }
}

// The first close request only sets the flag; a second one before the program asked for the first
// ends the program as EndProgram does, wherever events are processed.
TEST_F(Window, SecondCloseRequestEndsTheProgram) {
  enum class Query { HitCount, IsDown, NextChar, Flush, CloseRequested, WaitForKey, WaitForTick };
  struct Row {
    int requests;
    Query query;
    bool ends;
  };
  const Row rows[] = {
      {1, Query::HitCount, false},    {2, Query::HitCount, true},   {2, Query::IsDown, true},
      {2, Query::NextChar, true},     {2, Query::Flush, true},      {2, Query::CloseRequested, true},
      {1, Query::WaitForTick, false}, {2, Query::WaitForTick, true}, {2, Query::WaitForKey, true},
      {3, Query::HitCount, true},
  };
  TickTimer* timer = CreateTickTimer(60);
  for (const Row& row : rows) {
    OpenGraphicsWindow(16, 16, 0, 0);
    for (int i = 0; i < row.requests; ++i) memory::RequestClose();
    // A wait that is not ended by the requests ends on the next key.
    memory::KeyPress(65);
    int status = -1;
    try {
      switch (row.query) {
        case Query::HitCount: KeyHitCount(65); break;
        case Query::IsDown: KeyIsDown(65); break;
        case Query::NextChar: NextTypedChar(); break;
        case Query::Flush: FlushKeyboard(); break;
        case Query::CloseRequested: CloseRequested(); break;
        case Query::WaitForKey: WaitForKey(); break;
        case Query::WaitForTick: WaitForTick(timer); break;
      }
    } catch (const ProgramExit& exit) {
      status = exit.status;
    }
    EXPECT_EQ(status, row.ends ? 0 : -1) << row.requests << " requests, query " << static_cast<int>(row.query);
  }
  // Answered in between, a request is a first one again.
  OpenGraphicsWindow(16, 16, 0, 0);
  memory::RequestClose();
  EXPECT_EQ(CloseRequested(), 1);
  memory::RequestClose();
  EXPECT_EQ(CloseRequested(), 1);
  ReleaseTickTimer(timer);
}

TEST_F(Window, WaitForTickProcessesWindowEvents) {
  OpenGraphicsWindow(16, 16, 0, 60);
  TickTimer* timer = CreateTickTimer(60);
  ASSERT_NE(timer, nullptr);
  memory::KeyDown(65);
  EXPECT_EQ(WaitForTick(timer), 1);
  EXPECT_EQ(memory::PendingEvents(), 0);
  memory::SetIdleHandler([] { memory::KeyDown(66); });
  EXPECT_EQ(WaitForTick(timer), 1);
  memory::SetIdleHandler({});
  EXPECT_EQ(memory::PendingEvents(), 0);
  EXPECT_EQ(KeyIsDown(66), 1);
  CloseGraphicsWindow();
  memory::KeyDown(67);
  EXPECT_EQ(WaitForTick(timer), 1);
  EXPECT_EQ(memory::PendingEvents(), 1) << "without a window the pump only sleeps";
  ReleaseTickTimer(timer);
}

TEST_F(Window, SwapIntervalChangesOnlyWhenItDiffers) {
  OpenGraphicsWindow(16, 16, 0, 60);
  for (int sync : {1, 1, 0, -1, -1, 0, 1}) PresentCanvas(sync);
  EXPECT_EQ(memory::SwapIntervalChanges(), (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(memory::PresentCount(), 8);
}

TEST_F(Window, PacedPresentsKeepSixtyHertz) {
  OpenGraphicsWindow(16, 16, 0, 60);
  uint32_t start = clock_.Now();
  for (int i = 0; i < 60; ++i) PresentCanvas(-1);
  EXPECT_EQ(clock_.Now() - start, 1000u);
  OpenGraphicsWindow(16, 16, 0, 0);
  start = clock_.Now();
  for (int i = 0; i < 60; ++i) PresentCanvas(-1);
  EXPECT_EQ(clock_.Now(), start) << "without a frequency presents are not paced";
}

}  // namespace
