// The whole contract between the core and a display: a backend opens one window, feeds its events
// into the keyboard state, presents the canvas, sets the swap interval, shows the message box and
// the file-open dialog, and gives back what it started when the program ends. Each backend says at
// its top what it needs and what it cannot do; the core asks the built ones in turn (platforms.cpp).
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "runtime/internal/canvas.h"
#include "runtime/text.h"
#include "runtime/window.h"

namespace orvelt {

// The one line written to standard error when no window can be shown (once per run); the program
// then goes on with a window that shows nothing and delivers no keys.
inline constexpr char kNoDisplayNote[] =
    "Hinweis: Es kann kein Grafikfenster angezeigt werden; das Programm l\xC3\xA4uft ohne Fenster "
    "weiter.\r\n";
// The one line written to standard error when the display or the window goes away while the program
// runs; the program then ends with status 255.
inline constexpr char kDisplayLostNote[] = "Die Verbindung zum Grafikfenster ist verloren.\r\n";

struct WindowRequest {
  int width = 0;  // of the drawing area, in pixels
  int height = 0;
  WindowPlacement placement = WindowPlacement::Centred;
  Text title;
};

// One open window; destroying it closes the window.
class PlatformWindow {
 public:
  virtual ~PlatformWindow() = default;
  // Processes the pending events into Keyboard(); when none is pending, waits at most maxWaitMs
  // for one (0: does not wait).
  virtual void PollEvents(int maxWaitMs) = 0;
  virtual void Present(const Canvas& canvas) = 0;
  virtual void SetSwapInterval(int interval) = 0;
  // Whether key events can ever arrive from this window.
  virtual bool DeliversKeys() const = 0;
  // Takes the keyboard focus back, after a modal dialog.
  virtual void Raise() {}
};

// A display backend. A service it cannot give here (no display, its library missing) answers
// "not here", and the core asks the next backend.
class Platform {
 public:
  virtual ~Platform() = default;
  // Nothing when no window can be shown.
  virtual std::unique_ptr<PlatformWindow> OpenWindow(const WindowRequest& request) { return nullptr; }
  // A modal box with the caption, the text and one OK button, a warning sign when serious; false
  // when it cannot be shown.
  virtual bool ShowMessage(const Text& caption, const Text& text, bool serious) { return false; }
  // The chosen path, or the empty text when cancelled; nothing when no dialog can be shown.
  virtual std::optional<Text> ChooseFileToOpen(const Text& title, const Text& filter, const Text& initialPath) {
    return std::nullopt;
  }
  // Gives back what the backend started; called once at the end of the program.
  virtual void ShutDown() {}
};

// The backends built for this system, in the order the core asks them (one small file per system,
// picked by CMake).
const std::vector<Platform*>& BuiltPlatforms();
// The window of last resort: shows nothing, delivers no keys (platform_memory.cpp).
std::unique_ptr<PlatformWindow> MakeNoDisplayWindow();

// An embedding program's own display, asked instead of the built backends; nullptr gives them
// back. Not owned.
void UsePlatform(Platform* platform);

// What the core asks for, of the first backend that can give it.
std::unique_ptr<PlatformWindow> OpenPlatformWindow(const WindowRequest& request);
bool ShowPlatformMessage(const Text& caption, const Text& text, bool serious);
std::optional<Text> ChoosePlatformFile(const Text& title, const Text& filter, const Text& initialPath);
void ShutDownPlatforms();

// A backend whose display connection or window is gone calls this wherever it finds out (inside a
// library's error handler too): standard output is flushed, the lost-display note written, and the
// process ends with status 255 at once, without the end hooks, whose shutdown work would wait on
// the dead connection.
[[noreturn]] void EndForLostDisplay();

// DISPLAY or WAYLAND_DISPLAY names a display to connect to.
bool DisplayNamed();

// The canvas of the open window; nullptr when none is open.
const Canvas* CurrentCanvas();
// Gives the open window the keyboard focus back (window.cpp).
void RaiseGraphicsWindow();

}  // namespace orvelt
