// The display backend on Windows, through Win32, GDI and the common dialogs: one window of the
// canvas's exact client size, its key, character, focus and close messages, presents of the canvas
// with StretchDIBits, GetOpenFileNameW and MessageBoxW. Needs an interactive window station (not a
// service, not Wine without an X display); cannot switch the display mode, so a full-screen depth
// opens an ordinary window.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "runtime/internal/dialog_texts.h"
#include "runtime/internal/keyboard.h"
#include "runtime/internal/platform.h"
#include "runtime/internal/platform_win32_keys.h"

namespace orvelt {

namespace {

constexpr wchar_t kWindowClass[] = L"OrveltGraphicsWindow";
// A title bar with a close box and a system menu; no resize border, no minimise or maximise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = 0;

// The longest initial file name the dialog's name field takes; the path it returns may be longer.
constexpr size_t kInitialNameLimit = 260;
constexpr size_t kChosenPathLimit = 32768;

HWND gWindow = nullptr;  // the open window, owner of the dialogs

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The whole factor by which the drawing area is enlarged on a high-density display (the program
// declares itself DPI-aware, so the system does not stretch it).
int PixelScale(int width, int height) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  int scale = std::max(1, dpi / 96);
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  while (scale > 1 && (width * scale > screenWidth || height * scale > screenHeight)) --scale;
  return scale;
}

struct Frame {
  int width = 0;
  int height = 0;
  int scale = 1;
  std::vector<uint32_t> pixels;  // the last presented canvas, shown again when the window is exposed
};

// The canvas's 0xAARRGGBB pixels are, byte by byte, the blue, green, red and unused bytes of a
// 32-bit DIB; a negative height makes it top-down like the canvas.
void ShowFrame(HDC dc, const Frame& frame) {
  if (frame.pixels.empty()) {
    RECT all{0, 0, frame.width * frame.scale, frame.height * frame.scale};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = frame.width;
  info.bmiHeader.biHeight = -frame.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, 0, 0, frame.width * frame.scale, frame.height * frame.scale, 0, 0, frame.width, frame.height,
                frame.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// High and low surrogates come in two character messages; the pair is queued together, a lone
// half not at all.
class TypedUnits {
 public:
  void Take(wchar_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      high_ = unit;
      return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (high_) {
        Keyboard().Type(high_);
        Keyboard().Type(unit);
      }
    } else {
      Keyboard().Type(unit);
    }
    high_ = 0;
  }

 private:
  wchar_t high_ = 0;
};

struct WindowData {
  Frame frame;
  TypedUnits typed;
};

LRESULT HandleKey(UINT message, WPARAM wParam, LPARAM lParam) {
  int scanCode = static_cast<int>((lParam >> 16) & 0xFF);
  bool extended = ((lParam >> 24) & 1) != 0;
  int code = VirtualKeyFromWin32(static_cast<int>(wParam), scanCode, extended);
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    Keyboard().Press(code, ((lParam >> 30) & 1) != 0);
  } else {
    Keyboard().Release(code);
  }
  return 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_SYSKEYDOWN:
      // Alt+F4 still asks to close. Alt and F10 are keys like any other: the system's handling
      // would move the keyboard into a menu bar the window does not have.
      if (wParam == VK_F4) DefWindowProcW(window, message, wParam, lParam);
      return HandleKey(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: return HandleKey(message, wParam, lParam);
    case WM_CHAR:
      if (data) data->typed.Take(static_cast<wchar_t>(wParam));
      return 0;
    case WM_SYSCHAR:
      // Alt+Space opens the system menu; the system would answer other Alt combinations with a beep.
      if (wParam == ' ') break;
      return 0;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP: Keyboard().Clear(); break;
    case WM_CLOSE: Keyboard().RequestClose(); return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
      break;
    case WM_ERASEBKGND: return 1;
    case WM_GETMINMAXINFO:
      // A small drawing area keeps its size: the system's least width of a window with a title
      // bar would otherwise widen it.
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {1, 1};
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (data) ShowFrame(dc, data->frame);
      EndPaint(window, &paint);
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    // The program's own icon (resource 1), where the executable carries one.
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    if (!windowClass.hIcon) windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}

// A service has no window station the user can see; Wine without an X display has one, but no
// window can be made there, not even a hidden one.
bool WindowsCanBeShown() {
  HWINSTA station = GetProcessWindowStation();
  USEROBJECTFLAGS flags{};
  if (!station) return false;
  if (GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) && !(flags.dwFlags & WSF_VISIBLE))
    return false;
  if (!RegisterWindowClass()) return false;
  HWND probe = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

// The drawing area's top-left corner on the desktop.
POINT ClientPosition(const WindowRequest& request, int clientWidth, int clientHeight) {
  if (request.placement == WindowPlacement::Corner32) return {32, 32};
  int desktopWidth = GetSystemMetrics(SM_CXSCREEN), desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  return {desktopWidth / 2 - clientWidth / 2, desktopHeight / 2 - clientHeight / 2};
}

class Win32Window final : public PlatformWindow {
 public:
  // Nothing when the system refuses the window.
  static std::unique_ptr<Win32Window> Open(const WindowRequest& request) {
    std::unique_ptr<Win32Window> opened(new Win32Window());
    return opened->Create(request) ? std::move(opened) : nullptr;
  }

  ~Win32Window() override {
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    if (gWindow == window_) gWindow = nullptr;
    SetThreadExecutionState(ES_CONTINUOUS);
    // Messages the destroyed window left behind go nowhere.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  void PollEvents(int maxWaitMs) override {
    if (HandlePending() || maxWaitMs <= 0) return;
    DWORD start = GetTickCount();
    for (;;) {
      DWORD waited = GetTickCount() - start;
      if (waited >= static_cast<DWORD>(maxWaitMs)) return;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(maxWaitMs) - waited, QS_ALLINPUT);
      if (HandlePending()) return;
    }
  }

  void Present(const Canvas& canvas) override {
    Frame& frame = data_.frame;
    frame.pixels.assign(canvas.Pixels(), canvas.Pixels() + static_cast<size_t>(canvas.Width()) * canvas.Height());
    frame.width = canvas.Width();
    frame.height = canvas.Height();
    if (HDC dc = GetDC(window_)) {
      ShowFrame(dc, frame);
      ReleaseDC(window_, dc);
    }
    GdiFlush();
    // GDI has no swap interval; waiting for the next refresh stands in for vertical sync.
    if (interval_ > 0) WaitForVerticalBlank();
  }

  void SetSwapInterval(int interval) override { interval_ = interval; }

  bool DeliversKeys() const override { return true; }

  void Raise() override {
    SetForegroundWindow(window_);
    SetFocus(window_);
  }

 private:
  Win32Window() = default;

  bool Create(const WindowRequest& request) {
    data_.frame = Frame{request.width, request.height, PixelScale(request.width, request.height), {}};
    int clientWidth = request.width * data_.frame.scale, clientHeight = request.height * data_.frame.scale;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, kWindowExStyle);
    POINT at = ClientPosition(request, clientWidth, clientHeight);
    window_ = CreateWindowExW(kWindowExStyle, kWindowClass, Wide(request.title), kWindowStyle, at.x + outer.left,
                              at.y + outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&data_));
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    // The screen saver and the monitor's power-off wait while the window exists.
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
    gWindow = window_;
    return true;
  }

  // Dispatches every pending message; true when there was at least one.
  bool HandlePending() {
    MSG message;
    bool any = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
      any = true;
    }
    return any;
  }

  static void WaitForVerticalBlank() {
    static HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    using DwmFlushFunction = HRESULT(WINAPI*)();
    static auto flush = dwm ? reinterpret_cast<DwmFlushFunction>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush")))
                            : nullptr;
    if (flush) flush();
  }

  HWND window_ = nullptr;
  WindowData data_;
  int interval_ = 0;
};

// Every "/" becomes "\"; the part before the last "\" is the folder, the rest the file name.
struct DialogStart {
  Text directory;  // empty: the dialog's default folder
  Text name;
};

DialogStart SplitAtLastBackslash(Text path) {
  std::replace(path.begin(), path.end(), u'/', u'\\');
  size_t cut = path.rfind(u'\\');
  if (cut == Text::npos) return {Text(), path};
  return {path.substr(0, cut), path.substr(cut + 1)};
}

class Win32Platform final : public Platform {
 public:
  std::unique_ptr<PlatformWindow> OpenWindow(const WindowRequest& request) override {
    if (!CanShowWindows()) return nullptr;
    return Win32Window::Open(request);
  }

  bool ShowMessage(const Text& caption, const Text& text, bool serious) override {
    if (!CanShowWindows()) return false;
    HWND owner = gWindow ? gWindow : GetActiveWindow();
    UINT style = MB_OK | MB_TOPMOST | MB_SETFOREGROUND | (serious ? MB_ICONWARNING : MB_ICONINFORMATION);
    Text message = DecodeBytes(MessageForBox(text));
    return MessageBoxW(owner, Wide(message), Wide(caption), style) != 0;
  }

  // The user's cancel gives the empty text.
  std::optional<Text> ChooseFileToOpen(const Text& title, const Text& filter, const Text& initialPath) override {
    if (!CanShowWindows()) return std::nullopt;
    DialogStart start = SplitAtLastBackslash(initialPath);
    Text filters = WindowsFilterList(filter);
    std::vector<wchar_t> chosen(kChosenPathLimit, L'\0');
    std::copy_n(start.name.begin(), std::min(start.name.size(), kInitialNameLimit - 1), chosen.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = gWindow;
    dialog.lpstrFilter = Wide(filters);
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrInitialDir = start.directory.empty() ? nullptr : Wide(start.directory);
    dialog.lpstrTitle = Wide(title);
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&dialog)) return Text(reinterpret_cast<const char16_t*>(chosen.data()));
    if (CommDlgExtendedError() == 0) return Text();
    return std::nullopt;
  }

 private:
  static bool CanShowWindows() {
    static const bool can = WindowsCanBeShown();
    return can;
  }
};

}  // namespace

Platform& Win32Backend() {
  static Win32Platform backend;
  return backend;
}

}  // namespace orvelt
