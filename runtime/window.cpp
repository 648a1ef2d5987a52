// The graphics window's state and its public operations: choosing the display, the canvas with
// its colours, paced presents, and the keyboard queries, each of which first processes the
// window's pending events; and the two ends a window brings: a close request insisted on, and a
// display that went away.
#include "runtime/window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/internal/canvas.h"
#include "runtime/internal/keyboard.h"
#include "runtime/internal/pacing.h"
#include "runtime/internal/platform.h"
#include "runtime/process.h"

namespace orvelt {

namespace {

// WaitForKey waits in slices, so that a display that stops answering cannot block it for good.
constexpr int kKeyWaitSliceMs = 100;

struct WindowState {
  std::unique_ptr<PlatformWindow> display;
  bool open = false;
  int depth = 0;
  Canvas canvas;
  FramePacer pacer;
  SwapIntervalBook swapInterval;
  Rgb drawColour{255, 255, 255};
  Rgb clearColour{};
};

WindowState& State() {
  static WindowState state;
  return state;
}

Text& Title() {
  static Text title = u"Orvelt Application";
  return title;
}

Rgb ClampedColour(int red, int green, int blue) {
  auto clamp = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
  return {clamp(red), clamp(green), clamp(blue)};
}

// A close request made while an earlier one is still unanswered ends the program as EndProgram
// does: the first only sets the flag the program may ask for, so a window that would not close
// could otherwise only be ended from a console; these programs write no files, so nothing is lost.
void PollOpenWindow(int maxWaitMs) {
  State().display->PollEvents(maxWaitMs);
  if (Keyboard().CloseInsisted()) EndProgram();
}

void PumpWindowEvents(int maxWaitMs) {
  if (State().open) {
    PollOpenWindow(maxWaitMs);
  } else {
    DelayMillis(maxWaitMs);
  }
}

void ProcessPendingEvents() {
  if (State().open) PollOpenWindow(0);
}

void ShutDownWindowing() {
  CloseGraphicsWindow();
  ShutDownPlatforms();
}

}  // namespace

void EndForLostDisplay() {
  std::fflush(ConsoleOut());
  std::FILE* err = ConsoleErr();
  std::fputs(kDisplayLostNote, err);
  std::fflush(err);
  std::_Exit(255);
}

const Canvas* CurrentCanvas() { return State().open ? &State().canvas : nullptr; }

void RaiseGraphicsWindow() {
  if (State().open) State().display->Raise();
}

void OpenGraphicsWindow(int width, int height, int depth, int hertz, WindowPlacement placement) {
  CloseGraphicsWindow();
  WindowState& state = State();
  state.canvas.Resize(width, height);
  WindowRequest request{state.canvas.Width(), state.canvas.Height(), placement, Title()};
  state.display = OpenPlatformWindow(request);
  state.open = true;
  state.depth = depth;
  state.drawColour = {255, 255, 255};
  state.clearColour = {};
  state.pacer.Start(hertz, depth);
  state.swapInterval.Forget();
  Keyboard() = KeyboardState{};
  // The first frame shows the black canvas, so a new window never shows stale contents.
  state.display->Present(state.canvas);
  SetEventPump(PumpWindowEvents);
  AddEndHook(ShutDownWindowing);
}

void CloseGraphicsWindow() {
  WindowState& state = State();
  if (!state.open) return;
  state.display.reset();
  state.open = false;
  Keyboard() = KeyboardState{};
  SetEventPump(nullptr);
}

bool GraphicsWindowOpen() { return State().open; }

bool HasKeySource() { return State().open && State().display->DeliversKeys(); }

void SetWindowTitle(const Text& title) { Title() = title; }

const Text& WindowTitle() { return Title(); }

void SetDrawColor(int red, int green, int blue) { State().drawColour = ClampedColour(red, green, blue); }

void SetClearColor(int red, int green, int blue) { State().clearColour = ClampedColour(red, green, blue); }

void ClearCanvas() {
  WindowState& state = State();
  if (state.open) state.canvas.Fill(state.clearColour);
}

void PresentCanvas(int sync) {
  WindowState& state = State();
  if (!state.open) return;
  int interval = state.pacer.Prepare(sync);
  if (state.swapInterval.NeedsChange(interval)) state.display->SetSwapInterval(interval);
  state.display->Present(state.canvas);
}

void DrawPoint(float x, float y) {
  WindowState& state = State();
  if (state.open) state.canvas.Point(x, y, state.drawColour);
}

void DrawLineSegment(float x1, float y1, float x2, float y2) {
  WindowState& state = State();
  if (state.open) state.canvas.Line(x1, y1, x2, y2, state.drawColour);
}

void DrawFilledRect(float x, float y, float w, float h) {
  WindowState& state = State();
  if (state.open) state.canvas.FilledRect(x, y, w, h, state.drawColour);
}

void DrawFilledOval(float x, float y, float w, float h) {
  WindowState& state = State();
  if (state.open) state.canvas.FilledOval(x, y, w, h, state.drawColour);
}

void DrawTextAt(const Text& text, float x, float y) {
  WindowState& state = State();
  if (state.open) state.canvas.TextAt(text, x, y, state.drawColour);
}

int TextPixelWidth(const Text& text) { return TextWidthInPixels(text); }

int KeyHitCount(int code) {
  ProcessPendingEvents();
  return Keyboard().TakeHits(code);
}

int KeyIsDown(int code) {
  ProcessPendingEvents();
  return Keyboard().IsDown(code);
}

// Without a key source no key can ever come, so the console stands in: one line, or at once
// at the end of input.
int WaitForKey() {
  if (!HasKeySource()) {
    ReadConsoleLine();
    return 0;
  }
  FlushKeyboard();
  for (;;) {
    PollOpenWindow(kKeyWaitSliceMs);
    if (int code = Keyboard().TakeLowestHit()) return code;
  }
}

void FlushKeyboard() {
  ProcessPendingEvents();
  Keyboard().Clear();
}

int NextTypedChar() {
  ProcessPendingEvents();
  return Keyboard().NextChar();
}

int CloseRequested() {
  ProcessPendingEvents();
  return Keyboard().TakeCloseRequest();
}

}  // namespace orvelt
