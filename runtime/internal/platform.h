// The small contract between the window core and a display: open one window, feed its events into
// the keyboard state, present the canvas, set the swap interval.
#pragma once
#include <memory>
#include <string>

#include "runtime/internal/canvas.h"
#include "runtime/text.h"
#include "runtime/window.h"

namespace orvelt {

struct WindowRequest {
  int width = 0;   // of the drawing area, in pixels
  int height = 0;
  WindowPlacement placement = WindowPlacement::Centred;
  Text title;
};

class Platform {
 public:
  virtual ~Platform() = default;
  // False when no window can be shown.
  virtual bool OpenWindow(const WindowRequest& request) = 0;
  virtual void CloseWindow() = 0;
  // Processes the pending events into Keyboard(); when none is pending, waits at most maxWaitMs
  // for one (0: does not wait).
  virtual void PollEvents(int maxWaitMs) = 0;
  virtual void Present(const Canvas& canvas) = 0;
  virtual void SetSwapInterval(int interval) = 0;
  // Whether key events can ever arrive from this display.
  virtual bool DeliversKeys() const = 0;
};

// The canvas of the open window; nullptr when none is open.
const Canvas* CurrentCanvas();

// The real display through SDL2; its OpenWindow fails when there is no display.
std::unique_ptr<Platform> MakeSdlPlatform();
// Shuts SDL down if it was started.
void ShutDownSdl();
// A modal SDL message box with a UTF-8 message; false when it cannot be shown.
bool ShowSdlMessage(const Text& caption, const std::string& message, bool serious);
// Windows key code for an SDL scancode and key symbol; 0 for keys without one.
int VirtualKeyFromSdl(int scancode, int keysym);

// The in-memory display: for tests (platform_memory.h), and for running without a display, when
// it delivers no keys and keeps no frames.
std::unique_ptr<Platform> MakeMemoryPlatform(bool forTests);

}  // namespace orvelt
