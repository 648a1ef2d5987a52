// The real display through SDL2: one window on X11 or Wayland, its key, text, focus and close
// events, presents of the canvas through a streaming texture, and the message box. Needs a
// display; cannot switch the display mode, so a full-screen depth opens an ordinary window.
#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/clock.h"
#include "runtime/internal/keyboard.h"
#include "runtime/internal/platform.h"

namespace orvelt {

namespace {

// Without a connection to wait on, event waits poll this often: quick enough for keys, idle
// enough for the processor. With one, they still look round this often.
constexpr int32_t kSleepSliceMs = 4;
constexpr int32_t kDisplayWaitSliceMs = 20;

bool gVideoStarted = false;
SDL_Window* gWindow = nullptr;  // the open window, owner of message boxes

// Keys named by their position (scancode) with the Windows virtual-key code each one reports.
struct ScancodeKey {
  SDL_Scancode scancode;
  uint8_t code;
};

constexpr ScancodeKey kScancodeKeys[] = {
    {SDL_SCANCODE_A, 65}, {SDL_SCANCODE_B, 66}, {SDL_SCANCODE_C, 67}, {SDL_SCANCODE_D, 68},
    {SDL_SCANCODE_E, 69}, {SDL_SCANCODE_F, 70}, {SDL_SCANCODE_G, 71}, {SDL_SCANCODE_H, 72},
    {SDL_SCANCODE_I, 73}, {SDL_SCANCODE_J, 74}, {SDL_SCANCODE_K, 75}, {SDL_SCANCODE_L, 76},
    {SDL_SCANCODE_M, 77}, {SDL_SCANCODE_N, 78}, {SDL_SCANCODE_O, 79}, {SDL_SCANCODE_P, 80},
    {SDL_SCANCODE_Q, 81}, {SDL_SCANCODE_R, 82}, {SDL_SCANCODE_S, 83}, {SDL_SCANCODE_T, 84},
    {SDL_SCANCODE_U, 85}, {SDL_SCANCODE_V, 86}, {SDL_SCANCODE_W, 87}, {SDL_SCANCODE_X, 88},
    {SDL_SCANCODE_Y, 89}, {SDL_SCANCODE_Z, 90},
    {SDL_SCANCODE_1, 49}, {SDL_SCANCODE_2, 50}, {SDL_SCANCODE_3, 51}, {SDL_SCANCODE_4, 52},
    {SDL_SCANCODE_5, 53}, {SDL_SCANCODE_6, 54}, {SDL_SCANCODE_7, 55}, {SDL_SCANCODE_8, 56},
    {SDL_SCANCODE_9, 57}, {SDL_SCANCODE_0, 48},
    {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9}, {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_EQUALS, 187}, {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_NONUSHASH, 220},
    {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_COMMA, 188}, {SDL_SCANCODE_PERIOD, 190}, {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_F1, 112}, {SDL_SCANCODE_F2, 113}, {SDL_SCANCODE_F3, 114}, {SDL_SCANCODE_F4, 115},
    {SDL_SCANCODE_F5, 116}, {SDL_SCANCODE_F6, 117}, {SDL_SCANCODE_F7, 118}, {SDL_SCANCODE_F8, 119},
    {SDL_SCANCODE_F9, 120}, {SDL_SCANCODE_F10, 121}, {SDL_SCANCODE_F11, 122}, {SDL_SCANCODE_F12, 123},
    {SDL_SCANCODE_F13, 124}, {SDL_SCANCODE_F14, 125}, {SDL_SCANCODE_F15, 126}, {SDL_SCANCODE_F16, 127},
    {SDL_SCANCODE_F17, 128}, {SDL_SCANCODE_F18, 129}, {SDL_SCANCODE_F19, 130}, {SDL_SCANCODE_F20, 131},
    {SDL_SCANCODE_F21, 132}, {SDL_SCANCODE_F22, 133}, {SDL_SCANCODE_F23, 134}, {SDL_SCANCODE_F24, 135},
    {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_SCROLLLOCK, 145}, {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_INSERT, 45}, {SDL_SCANCODE_HOME, 36}, {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_DELETE, 46}, {SDL_SCANCODE_END, 35}, {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_RIGHT, 39}, {SDL_SCANCODE_LEFT, 37}, {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_KP_DIVIDE, 111}, {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PLUS, 107}, {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_KP_1, 97}, {SDL_SCANCODE_KP_2, 98}, {SDL_SCANCODE_KP_3, 99}, {SDL_SCANCODE_KP_4, 100},
    {SDL_SCANCODE_KP_5, 101}, {SDL_SCANCODE_KP_6, 102}, {SDL_SCANCODE_KP_7, 103}, {SDL_SCANCODE_KP_8, 104},
    {SDL_SCANCODE_KP_9, 105}, {SDL_SCANCODE_KP_0, 96}, {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_COMMA, 108}, {SDL_SCANCODE_NONUSBACKSLASH, 226}, {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_HELP, 47}, {SDL_SCANCODE_SELECT, 41}, {SDL_SCANCODE_EXECUTE, 43},
    {SDL_SCANCODE_MUTE, 173}, {SDL_SCANCODE_VOLUMEDOWN, 174}, {SDL_SCANCODE_VOLUMEUP, 175},
    {SDL_SCANCODE_AUDIONEXT, 176}, {SDL_SCANCODE_AUDIOPREV, 177}, {SDL_SCANCODE_AUDIOSTOP, 178},
    {SDL_SCANCODE_AUDIOPLAY, 179}, {SDL_SCANCODE_SLEEP, 95},
    {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RSHIFT, 161}, {SDL_SCANCODE_LCTRL, 162},
    {SDL_SCANCODE_RCTRL, 163}, {SDL_SCANCODE_LALT, 164}, {SDL_SCANCODE_RALT, 165},
    {SDL_SCANCODE_LGUI, 91}, {SDL_SCANCODE_RGUI, 92},
};

const std::array<uint8_t, SDL_NUM_SCANCODES>& ScancodeTable() {
  static const std::array<uint8_t, SDL_NUM_SCANCODES> table = [] {
    std::array<uint8_t, SDL_NUM_SCANCODES> codes{};
    for (const ScancodeKey& key : kScancodeKeys) codes[key.scancode] = key.code;
    return codes;
  }();
  return table;
}

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

bool StartVideo() {
  if (gVideoStarted) return true;
  std::string drivers = DriversWithADisplay();
  if (drivers.empty()) return false;
  // A driver the user names in SDL_VIDEODRIVER still wins over this list.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  // Ctrl+C in the console must still end the program, as it does before a window opens.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (ShowsNothing(SDL_GetCurrentVideoDriver())) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  gVideoStarted = true;
  return true;
}

SDL_Point WindowPosition(const WindowRequest& request) {
  if (request.placement == WindowPlacement::Corner32) return {32, 32};
  SDL_Rect desktop{0, 0, 0, 0};
  SDL_GetDisplayBounds(0, &desktop);
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

void HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      int code = VirtualKeyFromSdl(event.key.keysym.scancode, event.key.keysym.sym);
      Keyboard().Press(code, event.key.repeat != 0);
      if (int typed = TypedControlChar(code)) Keyboard().Type(typed);
      break;
    }
    case SDL_KEYUP:
      Keyboard().Release(VirtualKeyFromSdl(event.key.keysym.scancode, event.key.keysym.sym));
      break;
    case SDL_TEXTINPUT: HandleTextInput(event.text.text); break;
    case SDL_WINDOWEVENT: HandleWindowEvent(event.window); break;
    case SDL_QUIT: Keyboard().RequestClose(); break;
    default: break;
  }
}

// Mesa's CPU rasterisers, which a display without a graphics card (a virtual X server) offers.
bool GlRendersOnTheCpu(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
  using GetString = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
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
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (renderer && !GlRendersOnTheCpu(renderer)) return renderer;
  if (renderer) SDL_DestroyRenderer(renderer);
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

// The socket to the X server, to wait on for its events; -1 on other displays.
int X11ConnectionOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return -1;
  return ConnectionNumber(info.info.x11.display);
}

class SdlPlatform final : public Platform {
 public:
  ~SdlPlatform() override { CloseWindow(); }

  bool OpenWindow(const WindowRequest& request) override {
    if (!StartVideo()) return false;
    SDL_Point at = WindowPosition(request);
    std::string title = EncodeUtf8(request.title);
    window_ = SDL_CreateWindow(title.c_str(), at.x, at.y, request.width, request.height,
                               SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_) renderer_ = CreateRenderer(window_);
    if (renderer_) {
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                   request.width, request.height);
    }
    if (!texture_) {
      CloseWindow();
      return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    SDL_StartTextInput();
    displayFd_ = X11ConnectionOf(window_);
    gWindow = window_;
    return true;
  }

  void CloseWindow() override {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    if (gWindow == window_) gWindow = nullptr;
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    displayFd_ = -1;
    shownFrame_ = false;
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
    SDL_UpdateTexture(texture_, nullptr, canvas.Pixels(), width * 4);
    int outWidth = width, outHeight = height;
    SDL_GetRendererOutputSize(renderer_, &outWidth, &outHeight);
    int scale = std::max(1, std::min(outWidth / width, outHeight / height));
    target_ = {(outWidth - width * scale) / 2, (outHeight - height * scale) / 2, width * scale, height * scale};
    shownFrame_ = true;
    ShowLastFrame();
  }

  void SetSwapInterval(int interval) override { SDL_RenderSetVSync(renderer_, interval); }

  bool DeliversKeys() const override { return true; }

 private:
  bool HandlePending() {
    SDL_Event event;
    bool any = false;
    while (SDL_PollEvent(&event)) {
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
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target_);
    SDL_RenderPresent(renderer_);
  }

  // Events that other sources bring (an input method) are picked up at the next slice.
  void WaitForInput(int32_t ms) {
    if (displayFd_ < 0) {
      DelayMillis(std::min(ms, kSleepSliceMs));
      return;
    }
    pollfd connection{displayFd_, POLLIN, 0};
    poll(&connection, 1, std::min(ms, kDisplayWaitSliceMs));
  }

  int displayFd_ = -1;
  bool shownFrame_ = false;
  SDL_Rect target_{0, 0, 0, 0};
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
};

}  // namespace

// Letters and digits follow the label on the user's layout; every other key its position.
int VirtualKeyFromSdl(int scancode, int keysym) {
  if (keysym >= 'a' && keysym <= 'z') return keysym - 'a' + 'A';
  if (keysym >= '0' && keysym <= '9') return keysym;
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return ScancodeTable()[static_cast<size_t>(scancode)];
}

std::unique_ptr<Platform> MakeSdlPlatform() { return std::make_unique<SdlPlatform>(); }

void ShutDownSdl() {
  if (!gVideoStarted) return;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
  gVideoStarted = false;
}

bool ShowSdlMessage(const Text& caption, const std::string& message, bool serious) {
  if (DriversWithADisplay().empty()) return false;
  Uint32 flags = serious ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
  std::string title = EncodeUtf8(caption);
  bool shown = SDL_ShowSimpleMessageBox(flags, title.c_str(), message.c_str(), gWindow) == 0;
  if (shown && gWindow) SDL_RaiseWindow(gWindow);
  return shown;
}

}  // namespace orvelt
