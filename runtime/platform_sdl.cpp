// The window backend through SDL2: one window on X11 or Wayland, its key, text, focus and close
// events, presents of the canvas through a streaming texture, and SDL's message box. Needs a
// display and libSDL2-2.0.so.0, loaded the first time a window or a box is asked for (without
// either it shows nothing, and the core goes on without a window); cannot switch the display
// mode, so a full-screen depth opens an ordinary window; offers no file-open dialog, and its box
// only on X11. A display or window that goes away ends the program (x11_connection.cpp on X11).
#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/clock.h"
#include "runtime/internal/dialog_texts.h"
#include "runtime/internal/keyboard.h"
#include "runtime/internal/platform.h"
#include "runtime/internal/platform_sdl_keys.h"
#include "runtime/internal/shared_library.h"
#include "runtime/internal/x11_connection.h"

namespace orvelt {

namespace {

// Without a connection to wait on, event waits poll this often: quick enough for keys, idle
// enough for the processor. With one, they still look round this often.
constexpr int32_t kSleepSliceMs = 4;
constexpr int32_t kDisplayWaitSliceMs = 20;

#define ORVELT_SDL_FUNCTIONS(X)                                                                   \
  X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_Quit) X(SDL_GetCurrentVideoDriver) \
  X(SDL_GetDisplayBounds) X(SDL_CreateWindow) X(SDL_DestroyWindow) X(SDL_ShowWindow) X(SDL_RaiseWindow) \
  X(SDL_GetWindowWMInfo) X(SDL_CreateRenderer) X(SDL_DestroyRenderer) X(SDL_GetRendererInfo)     \
  X(SDL_GetRendererOutputSize) X(SDL_RenderSetVSync) X(SDL_SetRenderDrawColor) X(SDL_RenderClear) \
  X(SDL_RenderCopy) X(SDL_RenderPresent) X(SDL_GL_GetProcAddress) X(SDL_CreateTexture)           \
  X(SDL_DestroyTexture) X(SDL_SetTextureScaleMode) X(SDL_UpdateTexture) X(SDL_StartTextInput)    \
  X(SDL_PollEvent) X(SDL_EventState) X(SDL_SetHintWithPriority) X(SDL_ShowSimpleMessageBox)

struct SdlLibrary {
  ORVELT_LIBRARY_TABLE(ORVELT_SDL_FUNCTIONS)
};

const SdlLibrary* Sdl() { return LoadLibraryTable<SdlLibrary>("libSDL2-2.0.so.0"); }

bool gVideoStarted = false;
SDL_Window* gWindow = nullptr;  // the open window, owner of message boxes

// The keys that also type a character, as the character messages of the original platform do;
// SDL's text input leaves these control characters out.
int TypedControlChar(int code) {
  switch (code) {
    case 8: case 9: case 13: case 27: return code;
    default: return 0;
  }
}

// The display a window can appear on, as X11 and Wayland clients find theirs. Without one, SDL
// is not asked at all: it would settle for an off-screen driver, and its Wayland attempt writes
// complaints to standard error.
std::string DriversWithADisplay() {
  auto named = [](const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
  };
  std::string drivers;
  if (named("DISPLAY")) drivers = "x11";
  if (named("WAYLAND_DISPLAY")) drivers += drivers.empty() ? "wayland" : ",wayland";
  return drivers;
}

bool ShowsNothing(const char* driver) {
  return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

bool OnX11() {
  const char* driver = Sdl()->SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

bool StartVideo() {
  if (gVideoStarted) return true;
  std::string drivers = DriversWithADisplay();
  if (drivers.empty() || !Sdl()) return false;
  const SdlLibrary& sdl = *Sdl();
  // A driver the user names in SDL_VIDEODRIVER still wins over this list.
  sdl.SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  // Ctrl+C in the console must still end the program, as it does before a window opens.
  sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdl.SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The close box is one close request, not a second one in the shape of a quit; so a quit can
  // only mean that the display went away.
  sdl.SDL_SetHintWithPriority(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0", SDL_HINT_OVERRIDE);
  if (drivers.find("x11") != std::string::npos) GuardX11Connections();
  if (sdl.SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (ShowsNothing(sdl.SDL_GetCurrentVideoDriver())) {
    sdl.SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  if (OnX11()) GuardX11ConnectionLoss();
  // The X events come along, so that the window's destruction by another client is seen.
  sdl.SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  gVideoStarted = true;
  return true;
}

SDL_Point WindowPosition(const WindowRequest& request) {
  const SdlLibrary& sdl = *Sdl();
  if (request.placement == WindowPlacement::Corner32) return {32, 32};
  SDL_Rect desktop{0, 0, 0, 0};
  sdl.SDL_GetDisplayBounds(0, &desktop);
  return {desktop.x + desktop.w / 2 - request.width / 2, desktop.y + desktop.h / 2 - request.height / 2};
}

void HandleWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: Keyboard().Clear(); break;
    case SDL_WINDOWEVENT_CLOSE: Keyboard().RequestClose(); break;
    default: break;
  }
}

void HandleTextInput(const char* utf8) {
  for (char16_t unit : DecodeBytes(utf8)) Keyboard().Type(unit);
}

int VirtualKeyOf(const SDL_KeyboardEvent& key) {
  return VirtualKeyFromSdl(key.keysym.scancode, key.keysym.sym, key.keysym.mod);
}

void HandleSystemEvent(const SDL_SysWMmsg* message) {
  if (message && message->subsystem == SDL_SYSWM_X11) NoteX11Event(message->msg.x11.event);
}

void HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      int code = VirtualKeyOf(event.key);
      Keyboard().Press(code, event.key.repeat != 0);
      if (int typed = TypedControlChar(code)) Keyboard().Type(typed);
      break;
    }
    case SDL_KEYUP: Keyboard().Release(VirtualKeyOf(event.key)); break;
    case SDL_TEXTINPUT: HandleTextInput(event.text.text); break;
    case SDL_WINDOWEVENT: HandleWindowEvent(event.window); break;
    case SDL_SYSWMEVENT: HandleSystemEvent(event.syswm.msg); break;
    case SDL_QUIT: EndForLostDisplay();
    default: break;
  }
}

// Mesa's CPU rasterisers, which a display without a graphics card (a virtual X server) offers.
bool GlRendersOnTheCpu(SDL_Renderer* renderer) {
  const SdlLibrary& sdl = *Sdl();
  SDL_RendererInfo info{};
  if (sdl.SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
  using GetString = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  auto getString = reinterpret_cast<GetString>(sdl.SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
  if (!name) return false;
  std::string rendererName(reinterpret_cast<const char*>(name));
  for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (rendererName.find(software) != std::string::npos) return true;
  return false;
}

// A graphics card presents the texture best; without one, SDL's own software renderer copies
// the frame straight to the display server, at a fraction of the cost of a GL rasteriser that
// runs on the CPU, so the window surface must not be routed through GL either.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
  const SdlLibrary& sdl = *Sdl();
  SDL_Renderer* renderer = sdl.SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (renderer && !GlRendersOnTheCpu(renderer)) return renderer;
  if (renderer) sdl.SDL_DestroyRenderer(renderer);
  sdl.SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  return sdl.SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

struct X11Window {
  int connectionFd = -1;  // the socket to the X server, to wait on for its events
  unsigned long window = 0;
};

// Nothing on other displays.
X11Window X11WindowOf(SDL_Window* window) {
  const SdlLibrary& sdl = *Sdl();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!sdl.SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  return {ConnectionNumber(info.info.x11.display), info.info.x11.window};
}

// Made only once video has started, so the library is loaded.
class SdlWindow final : public PlatformWindow {
 public:
  ~SdlWindow() override {
    WatchX11Window(0);
    if (texture_) sdl.SDL_DestroyTexture(texture_);
    if (renderer_) sdl.SDL_DestroyRenderer(renderer_);
    if (window_) sdl.SDL_DestroyWindow(window_);
    if (gWindow == window_) gWindow = nullptr;
  }

  bool Open(const WindowRequest& request) {
    SDL_Point at = WindowPosition(request);
    std::string title = EncodeUtf8(request.title);
    // Hidden until it is ready: SDL replaces the window with a new one for a renderer that needs
    // other visuals, and the first would flash up and vanish.
    window_ = sdl.SDL_CreateWindow(title.c_str(), at.x, at.y, request.width, request.height,
                                   SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
    if (!window_) return false;
    renderer_ = CreateRenderer(window_);
    if (renderer_) {
      texture_ = sdl.SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                       request.width, request.height);
    }
    if (!texture_) return false;
    sdl.SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    sdl.SDL_StartTextInput();
    X11Window x11 = X11WindowOf(window_);
    displayFd_ = x11.connectionFd;
    WatchX11Window(x11.window);
    sdl.SDL_ShowWindow(window_);
    gWindow = window_;
    return true;
  }

  // SDL's own timed wait (2.26) can leave its wake-up target set when it times out; a later
  // event, such as the focus loss while the window is destroyed, then sends a wake-up to the
  // vanished window, and Xlib ends the program over the error. So the wait is made here: on the
  // X server's connection where there is one, else in short sleeps, polling in between.
  void PollEvents(int maxWaitMs) override {
    if (HandlePending() || maxWaitMs <= 0) return;
    uint32_t start = Millisecs();
    for (;;) {
      int32_t left = maxWaitMs - static_cast<int32_t>(Millisecs() - start);
      if (left <= 0) return;
      WaitForInput(left);
      if (HandlePending()) return;
    }
  }

  // On a high-density display the drawing area is enlarged by the largest whole factor that
  // fits, pixel for pixel, and centred.
  void Present(const Canvas& canvas) override {
    int width = canvas.Width(), height = canvas.Height();
    sdl.SDL_UpdateTexture(texture_, nullptr, canvas.Pixels(), width * 4);
    int outWidth = width, outHeight = height;
    sdl.SDL_GetRendererOutputSize(renderer_, &outWidth, &outHeight);
    int scale = std::max(1, std::min(outWidth / width, outHeight / height));
    target_ = {(outWidth - width * scale) / 2, (outHeight - height * scale) / 2, width * scale, height * scale};
    shownFrame_ = true;
    ShowLastFrame();
    // A GL present may not notice a server that has gone; the next request would only find out
    // when events are next processed, and a program that only draws would draw on for good.
    if (displayFd_ >= 0) WaitOnX11Connection(displayFd_, 0);
  }

  void SetSwapInterval(int interval) override { sdl.SDL_RenderSetVSync(renderer_, interval); }

  bool DeliversKeys() const override { return true; }

  void Raise() override { sdl.SDL_RaiseWindow(window_); }

 private:
  bool HandlePending() {
    SDL_Event event;
    bool any = false;
    while (sdl.SDL_PollEvent(&event)) {
      if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        ShowLastFrame();
      } else {
        HandleEvent(event);
      }
      any = true;
    }
    return any;
  }

  // The display keeps no copy of a window's pixels: a window shown for the first time, or
  // uncovered, is blank until drawn again. The texture still holds the last frame.
  void ShowLastFrame() {
    if (!shownFrame_) return;
    sdl.SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    sdl.SDL_RenderClear(renderer_);
    sdl.SDL_RenderCopy(renderer_, texture_, nullptr, &target_);
    sdl.SDL_RenderPresent(renderer_);
  }

  // Events that other sources bring (an input method) are picked up at the next slice.
  void WaitForInput(int32_t ms) {
    if (displayFd_ < 0) {
      DelayMillis(std::min(ms, kSleepSliceMs));
      return;
    }
    WaitOnX11Connection(displayFd_, std::min(ms, kDisplayWaitSliceMs));
  }

  int displayFd_ = -1;
  bool shownFrame_ = false;
  SDL_Rect target_{0, 0, 0, 0};
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  const SdlLibrary& sdl = *Sdl();
};

class SdlPlatform final : public Platform {
 public:
  std::unique_ptr<PlatformWindow> OpenWindow(const WindowRequest& request) override {
    if (!StartVideo()) return nullptr;
    auto window = std::make_unique<SdlWindow>();
    if (!window->Open(request)) return nullptr;
    return window;
  }

  // SDL's box draws with the X core fonts, so it comes after GTK's dialog. It is asked only on X11
  // and always with an owner window on X11 (a hidden stand-in while none is open): a box without
  // one, or on Wayland, is tried through the zenity program, and these programs start no other.
  bool ShowMessage(const Text& caption, const Text& text, bool serious) override {
    if (!StartVideo() || !OnX11()) return false;
    const SdlLibrary& sdl = *Sdl();
    SDL_Window* standIn = gWindow ? nullptr
                                  : sdl.SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1, 1,
                                                         SDL_WINDOW_HIDDEN);
    SDL_Window* owner = gWindow ? gWindow : standIn;
    if (!owner) return false;
    Uint32 flags = serious ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    std::string title = EncodeUtf8(caption);
    std::string message = MessageForBox(text);
    bool shown = sdl.SDL_ShowSimpleMessageBox(flags, title.c_str(), message.c_str(), owner) == 0;
    if (standIn) sdl.SDL_DestroyWindow(standIn);
    return shown;
  }

  void ShutDown() override {
    if (!gVideoStarted) return;
    Sdl()->SDL_QuitSubSystem(SDL_INIT_VIDEO);
    Sdl()->SDL_Quit();
    gVideoStarted = false;
  }
};

}  // namespace

Platform& SdlBackend() {
  static SdlPlatform backend;
  return backend;
}

}  // namespace orvelt
