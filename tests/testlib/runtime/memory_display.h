// The in-memory display for in-process tests, benchmarks and fuzz targets: windows open in
// memory, key, character, focus and close events are injected, and presented frames and the
// canvas are read back pixel by pixel. It is handed to the core as an embedding program's own
// display, so the shipped programs hold none of it.
//
// Usage (tests of the runtime, pelko and zunt):
//   memory::Install();            // every window opened from now on lives in memory
//   OpenGraphicsWindow(640, 480, 0, 60);  // no SDL, no display needed, never a note on stderr
//   memory::KeyPress(27);         // queued; the program sees it at its next keyboard query,
//                                         // WaitForKey or WaitForTick, as with a real window
//   memory::TypeText(u"Hallo\r"); // characters for NextTypedChar (13 is Enter)
//   ... run the interpreter ...
//   EXPECT_EQ(memory::FramePixel(10, 10), (Rgb{255, 0, 0}));
//   memory::Remove();             // closes the window and forgets everything
// Install() also makes ChooseFileToOpen and ShowMessage take their console forms (title printed,
// a line read from standard input; message text to standard error), so no dialog ever appears.
// A program waiting for a key with no event pending calls the idle handler; without one it waits
// (through DelayMillis, so a fake clock makes the wait instant) and a WaitForKey waits forever.
#pragma once
#include <functional>
#include <vector>

#include "runtime/internal/canvas.h"
#include "runtime/text.h"
#include "runtime/window.h"

namespace orvelt::memory {

// keySource false acts like a machine without a display (HasKeySource() false, WaitForKey reads
// a line from standard input), but still without the note on standard error.
void Install(bool keySource = true);
// Closes the window, clears every recorded frame and event, and gives the real display back.
void Remove();

// Events, queued until the program next processes window events. Codes are the Windows
// virtual-key codes the keyboard operations answer with (27 Escape, 37..40 arrows, 65..90 A..Z).
void KeyDown(int code, bool repeat = false);
void KeyUp(int code);
void KeyPress(int code);  // KeyDown then KeyUp
void TypeChar(int code);
void TypeText(const Text& text);  // one TypeChar per code unit
void Focus(bool gained);
void RequestClose();
int PendingEvents();
// Called when the program waits for window events and none is pending (WaitForKey, WaitForTick);
// it may inject events, or throw ProgramExit to end the run. Each call lets time pass through
// DelayMillis: the whole wait when it injects nothing, else 1 ms. An empty function removes it.
void SetIdleHandler(std::function<void()> handler);

struct WindowInfo {
  bool open = false;
  int width = 0;
  int height = 0;
  WindowPlacement placement = WindowPlacement::Centred;
  Text title;
  int timesOpened = 0;
};
WindowInfo Window();

// The presented frames: how many (opening a window presents its black canvas once), and the
// pixels of the last one (black when none or outside).
int PresentCount();
Rgb FramePixel(int x, int y);
const Canvas& LastFrame();
// The canvas as drawn so far, presented or not (black when no window is open).
Rgb CanvasPixel(int x, int y);
// Every change of the swap interval, in order (a present that keeps the interval adds nothing).
std::vector<int> SwapIntervalChanges();

}  // namespace orvelt::memory
