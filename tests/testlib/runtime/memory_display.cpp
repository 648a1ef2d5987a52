// The in-memory display: windows that exist only as the core's canvas, with queued injected
// events and the last presented frame kept for the test to read.
#include "tests/testlib/runtime/memory_display.h"

#include <deque>
#include <utility>

#include "runtime/clock.h"
#include "runtime/internal/keyboard.h"
#include "runtime/internal/platform.h"

namespace orvelt {

namespace {

enum class EventKind { KeyDown, KeyUp, Char, Focus, Close };

struct Event {
  EventKind kind;
  int code = 0;
  bool repeat = false;
};

struct Recorder {
  bool keySource = true;
  std::deque<Event> pending;
  std::function<void()> idle;
  memory::WindowInfo window;
  int presents = 0;
  Canvas lastFrame;
  std::vector<int> swapChanges;
};

Recorder& TheRecorder() {
  static Recorder recorder;
  return recorder;
}

void Deliver(const Event& event) {
  KeyboardState& keys = Keyboard();
  switch (event.kind) {
    case EventKind::KeyDown: keys.Press(event.code, event.repeat); break;
    case EventKind::KeyUp: keys.Release(event.code); break;
    case EventKind::Char: keys.Type(event.code); break;
    case EventKind::Focus: keys.Clear(); break;
    case EventKind::Close: keys.RequestClose(); break;
  }
}

class MemoryWindow final : public PlatformWindow {
 public:
  ~MemoryWindow() override { TheRecorder().window.open = false; }

  // Events injected before the window opened are kept: a test may queue a whole session first.
  void PollEvents(int maxWaitMs) override {
    Recorder& rec = TheRecorder();
    if (rec.pending.empty() && maxWaitMs > 0) {
      if (rec.idle) {
        std::function<void()> idle = rec.idle;
        idle();
      }
      // Time passes while the program waits, so tick timers move on: the whole wait when
      // nothing comes, a millisecond when the handler brought an event.
      DelayMillis(rec.pending.empty() ? maxWaitMs : 1);
    }
    while (!rec.pending.empty()) {
      Event event = rec.pending.front();
      rec.pending.pop_front();
      Deliver(event);
    }
  }

  void Present(const Canvas& canvas) override {
    Recorder& rec = TheRecorder();
    ++rec.presents;
    rec.lastFrame = canvas;
  }

  void SetSwapInterval(int interval) override { TheRecorder().swapChanges.push_back(interval); }

  bool DeliversKeys() const override { return TheRecorder().keySource; }
};

// Offers windows only: the dialogs decline, so their console forms answer.
class MemoryPlatform final : public Platform {
 public:
  std::unique_ptr<PlatformWindow> OpenWindow(const WindowRequest& request) override {
    Recorder& rec = TheRecorder();
    rec.window = {true, request.width, request.height, request.placement, request.title, rec.window.timesOpened + 1};
    return std::make_unique<MemoryWindow>();
  }
};

MemoryPlatform gPlatform;

void Queue(Event event) { TheRecorder().pending.push_back(event); }

}  // namespace

namespace memory {

void Install(bool keySource) {
  Remove();
  TheRecorder().keySource = keySource;
  UsePlatform(&gPlatform);
}

void Remove() {
  if (GraphicsWindowOpen()) CloseGraphicsWindow();
  UsePlatform(nullptr);
  TheRecorder() = Recorder{};
}

void KeyDown(int code, bool repeat) { Queue({EventKind::KeyDown, code, repeat}); }
void KeyUp(int code) { Queue({EventKind::KeyUp, code, false}); }
void KeyPress(int code) {
  KeyDown(code);
  KeyUp(code);
}
void TypeChar(int code) { Queue({EventKind::Char, code, false}); }
void TypeText(const Text& text) {
  for (char16_t unit : text) TypeChar(unit);
}
void Focus(bool gained) { Queue({EventKind::Focus, gained ? 1 : 0, false}); }
void RequestClose() { Queue({EventKind::Close, 0, false}); }
int PendingEvents() { return static_cast<int>(TheRecorder().pending.size()); }
void SetIdleHandler(std::function<void()> handler) { TheRecorder().idle = std::move(handler); }

WindowInfo Window() { return TheRecorder().window; }
int PresentCount() { return TheRecorder().presents; }
Rgb FramePixel(int x, int y) { return TheRecorder().lastFrame.PixelAt(x, y); }
const Canvas& LastFrame() { return TheRecorder().lastFrame; }

Rgb CanvasPixel(int x, int y) {
  const Canvas* canvas = CurrentCanvas();
  return canvas ? canvas->PixelAt(x, y) : Rgb{};
}

std::vector<int> SwapIntervalChanges() { return TheRecorder().swapChanges; }

}  // namespace memory

}  // namespace orvelt
