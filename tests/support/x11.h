// Helpers for window tests under a real X server (Xvfb, no window manager): running a program in
// the background, finding its window by title, focusing it, pressing keys and typing with xdotool,
// and reading the window's pixels back from an xwd screenshot.
//
// Usage:
//   TEST(Window, ShowsRed) {
//     REQUIRE_X11_DISPLAY();                      // skips without DISPLAY (fails with
//                                                 // ORVELT_REQUIRE_DISPLAY=1)
//     x11::BackgroundProcess program(ZUNT_BIN, {script});
//     auto window = x11::FindWindow("Mein Titel", 15000, program.Pid());  // bounded poll
//     ASSERT_TRUE(window);
//     ASSERT_TRUE(x11::WaitForPixel(*window, 10, 10, {255, 0, 0}));  // bounded poll on screenshots
//     ASSERT_TRUE(x11::PressKeyUntil(*window, "Escape", [&] { return !program.Running(); }));
//     EXPECT_EQ(program.Status(), 0);
//   }
// Key names are X keysym names as xdotool takes them: "Escape", "Return", "BackSpace", "a", "Left".
#pragma once
#include <sys/types.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/run.h"

namespace x11 {

// DISPLAY is set.
bool DisplayAvailable();
// ORVELT_REQUIRE_DISPLAY=1: window tests must run, so a missing display is a failure.
bool DisplayRequired();

#define REQUIRE_X11_DISPLAY()                                                    \
  do {                                                                           \
    if (!::x11::DisplayAvailable()) {                                            \
      if (::x11::DisplayRequired()) FAIL() << "DISPLAY is not set";              \
      GTEST_SKIP() << "no X display (DISPLAY unset)";                            \
    }                                                                            \
  } while (0)

struct Pixel {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Pixel&, const Pixel&) = default;
};
std::ostream& operator<<(std::ostream& out, const Pixel& pixel);

struct Geometry {
  int x = 0;  // of the window's top-left corner on the screen
  int y = 0;
  int width = 0;
  int height = 0;
};

class Screenshot {
 public:
  Screenshot(int width, int height, std::vector<Pixel> pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Black outside the picture.
  Pixel At(int x, int y) const;

 private:
  int width_;
  int height_;
  std::vector<Pixel> pixels_;
};

using WindowId = unsigned long;

// Polls until a viewable window with exactly this title (its _NET_WM_NAME, else WM_NAME, compared
// as UTF-8 bytes) exists, at most timeoutMs.
// With a process id, only a window that process owns (its _NET_WM_PID) counts, so that the window
// of a program that has just ended, not yet gone, is never taken for the next one's.
std::optional<WindowId> FindWindow(const std::string& title, int timeoutMs = 15000, pid_t owner = 0);
// True when no window with this title is mapped (any more), polling at most timeoutMs.
bool WaitForNoWindow(const std::string& title, int timeoutMs = 15000);
std::optional<Geometry> WindowGeometry(WindowId window);
// Gives the window the keyboard focus and waits (bounded) until it has it.
bool FocusWindow(WindowId window);
// Focuses the window, then presses and releases the key (xdotool key).
bool PressKey(WindowId window, const std::string& keyName);
// How keys are pressed: with xdotool, which sets the modifiers a key name needs (it toggles NumLock
// around a keypad key), or through the XTEST extension, which presses the key alone.
enum class KeySender { Xdotool, XTest };
// Presses the key again and again (at most every pollMs) until `done` holds or the time is up: a
// program that flushes the keyboard before it waits (WaitForKey) may drop a press that came early.
bool PressKeyUntil(WindowId window, const std::string& keyName, const std::function<bool()>& done,
                   int timeoutMs = 15000, int pollMs = 500, KeySender sender = KeySender::Xdotool);
// Presses and releases the key through XTEST, as it is: a lock key toggles its lock, a keypad key
// gives what the current NumLock state makes of it. The focused window gets it.
bool TapKeyThroughXTest(const std::string& keysymName);
// Focuses the window first.
bool PressKeyThroughXTest(WindowId window, const std::string& keysymName);
// Focuses the window, then holds the key down or lets it go (xdotool keydown / keyup).
bool KeyDown(WindowId window, const std::string& keyName);
bool KeyUp(WindowId window, const std::string& keyName);
// Focuses the window, then types the text (xdotool type), each character a press and release.
bool TypeText(WindowId window, const std::string& text);
// Answers a GTK file chooser with a path: opens its location field (Ctrl+L), waits until it shows,
// replaces what it holds, types the path and presses Return, again until `done` holds (a dialog
// that is still being built drops keys) or the time is up.
bool AnswerFileChooser(WindowId dialog, const std::string& path, const std::function<bool()>& done,
                       int timeoutMs = 30000);
// Asks the window to close, as its close box does (a WM_DELETE_WINDOW message).
bool RequestClose(WindowId window);
// Destroys the window from another client (XDestroyWindow), as a misbehaving program might.
bool DestroyWindow(WindowId window);
// The window's contents, read back with xwd.
std::optional<Screenshot> CaptureWindow(WindowId window);
bool SamePicture(const Screenshot& a, const Screenshot& b);
// Polls until two screenshots in a row agree and the window is not one flat colour (a dialog
// that has drawn itself), at most timeoutMs.
bool WaitUntilSettled(WindowId window, int timeoutMs = 10000);
// Polls screenshots until the pixel has the colour, at most timeoutMs.
bool WaitForPixel(WindowId window, int x, int y, Pixel expected, int timeoutMs = 10000);

// Parses an XWD image (24 or 32 bits per pixel, true colour); nothing for anything else.
std::optional<Screenshot> ParseXwd(const std::string& bytes);

// A program running in the background with DISPLAY kept, standard input from a text, and its
// output collected in files. The destructor kills it if it still runs.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::string& binary, const std::vector<std::string>& args,
                    const std::string& input = "",
                    const std::map<std::string, std::string>& env = {});
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  // Polls until the program has ended, at most timeoutMs; false when it still runs.
  bool WaitForExit(int timeoutMs = 15000);
  // Polls until its standard output holds the text, at most timeoutMs; false when it ended first.
  bool WaitForOutput(const std::string& text, int timeoutMs = 15000);
  bool Running();
  void Kill();
  pid_t Pid() const { return pid_; }
  // Exit status 0..255, or -signal; -1000 while it runs.
  int Status() const { return status_; }
  std::string Out() const;
  std::string Err() const;

 private:
  std::string folder_;
  pid_t pid_ = -1;
  int status_ = -1000;
};

// Presses the key until the program has ended: a program that flushes the keyboard before it
// waits ("waitkey", WaitForKey) drops a press that came early.
bool PressUntilExit(BackgroundProcess& program, WindowId window, const std::string& keyName);

// The start of most window tests: a source written to a temporary folder, the program started on
// it in the background, and its window found by title (owned by that program).
//   x11::WindowedProgram run(PELKO_BIN, "fenster.pel", kSource, "pelko Fenstertest");
//   ASSERT_TRUE(run.window);
//   ASSERT_TRUE(x11::WaitForPixel(*run.window, 10, 10, {255, 0, 0}));
//   ASSERT_TRUE(run.PressUntilExit("Escape"));
//   EXPECT_EQ(run.program.Out(), "...");
struct WindowedProgram {
  WindowedProgram(const std::string& binary, const std::string& fileName, const std::string& source,
                  const std::string& title);
  bool PressUntilExit(const std::string& keyName) { return x11::PressUntilExit(program, *window, keyName); }

  TempDir dir;
  std::string path;  // of the source
  BackgroundProcess program;
  std::optional<WindowId> window;
};

// An X server of the test's own (Xvfb, 640 x 480), for tests that kill it. While it lives, DISPLAY
// names it, so the helpers above and the programs started meanwhile use it; the display named
// before comes back at the end.
//   x11::OwnServer server;
//   ASSERT_TRUE(server.Started());
//   x11::WindowedProgram run(PELKO_BIN, "p.pel", kSource, "Titel");
//   server.Kill();
class OwnServer {
 public:
  OwnServer();
  ~OwnServer();
  OwnServer(const OwnServer&) = delete;
  OwnServer& operator=(const OwnServer&) = delete;
  bool Started() const { return pid_ > 0; }
  // Ends it at once (SIGKILL), as a server that crashes ends.
  void Kill();

 private:
  pid_t pid_ = -1;
  std::string number_;  // of the display
  std::optional<std::string> previousDisplay_;
};

// Runs a command line through the shell and returns its standard output (for xdotool and xwd).
std::optional<std::string> RunCommand(const std::string& commandLine);

}  // namespace x11
