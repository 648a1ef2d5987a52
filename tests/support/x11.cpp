// Window tests under a real X server: xdotool finds, focuses and types into windows, xwd reads
// their pixels, and a background child runs the program under test with a bounded wait.
#include "tests/support/x11.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/run.h"

namespace x11 {
namespace {

constexpr int kPollMs = 20;

using Clock = std::chrono::steady_clock;

// Polls the condition until it holds or the time is up; the pause between polls only spaces them.
template <typename Condition>
bool PollUntil(int timeoutMs, Condition condition) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  }
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::optional<WindowId> FirstWindow(const std::string& output) {
  std::istringstream lines(output);
  std::string line;
  if (!std::getline(lines, line) || line.empty()) return std::nullopt;
  return std::stoul(line);
}

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

int ChannelOf(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++shift;
  }
  uint32_t channel = (value >> shift) & mask;
  return static_cast<int>(channel * 255u / mask);
}

// The few Xlib calls the helpers make themselves, loaded at run time so that test programs need
// no link to libX11.
struct Xlib {
  Display* (*openDisplay)(const char*) = nullptr;
  int (*closeDisplay)(Display*) = nullptr;
  Atom (*internAtom)(Display*, const char*, Bool) = nullptr;
  Status (*sendEvent)(Display*, Window, Bool, long, XEvent*) = nullptr;
  int (*flush)(Display*) = nullptr;
  Status (*queryTree)(Display*, Window, Window*, Window*, Window**, unsigned int*) = nullptr;
  int (*getWindowProperty)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*,
                           unsigned long*, unsigned char**) = nullptr;
  Status (*getWindowAttributes)(Display*, Window, XWindowAttributes*) = nullptr;
  int (*free)(void*) = nullptr;
  XErrorHandler (*setErrorHandler)(XErrorHandler) = nullptr;
  int (*destroyWindow)(Display*, Window) = nullptr;
  int (*sync)(Display*, Bool) = nullptr;
  KeySym (*stringToKeysym)(const char*) = nullptr;
  KeyCode (*keysymToKeycode)(Display*, KeySym) = nullptr;
  // From libXtst.
  int (*fakeKeyEvent)(Display*, unsigned int, Bool, unsigned long) = nullptr;

  bool Loaded() const {
    return openDisplay && closeDisplay && internAtom && sendEvent && flush && queryTree && getWindowProperty &&
           getWindowAttributes && free && setErrorHandler && destroyWindow && sync && stringToKeysym &&
           keysymToKeycode;
  }
};

// Windows come and go while the helpers look at them; Xlib's own handler would end the test
// program on the first request about a window that has just gone.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

template <typename Function>
void Load(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
}

const Xlib& TheXlib() {
  static const Xlib xlib = [] {
    Xlib loaded;
    void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!library) return loaded;
    Load(library, "XOpenDisplay", loaded.openDisplay);
    Load(library, "XCloseDisplay", loaded.closeDisplay);
    Load(library, "XInternAtom", loaded.internAtom);
    Load(library, "XSendEvent", loaded.sendEvent);
    Load(library, "XFlush", loaded.flush);
    Load(library, "XQueryTree", loaded.queryTree);
    Load(library, "XGetWindowProperty", loaded.getWindowProperty);
    Load(library, "XGetWindowAttributes", loaded.getWindowAttributes);
    Load(library, "XFree", loaded.free);
    Load(library, "XSetErrorHandler", loaded.setErrorHandler);
    Load(library, "XDestroyWindow", loaded.destroyWindow);
    Load(library, "XSync", loaded.sync);
    Load(library, "XStringToKeysym", loaded.stringToKeysym);
    Load(library, "XKeysymToKeycode", loaded.keysymToKeycode);
    if (void* xtst = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL)) Load(xtst, "XTestFakeKeyEvent", loaded.fakeKeyEvent);
    if (loaded.Loaded()) loaded.setErrorHandler(IgnoreXError);
    return loaded;
  }();
  return xlib;
}

class Connection {
 public:
  Connection() : display_(TheXlib().Loaded() ? TheXlib().openDisplay(nullptr) : nullptr) {}
  ~Connection() {
    if (display_) TheXlib().closeDisplay(display_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Display* get() const { return display_; }

 private:
  Display* display_;
};

std::string Property(Display* display, Window window, const char* name) {
  const Xlib& x = TheXlib();
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, left = 0;
  unsigned char* data = nullptr;
  std::string value;
  if (x.getWindowProperty(display, window, x.internAtom(display, name, False), 0, 4096, False, AnyPropertyType,
                          &type, &format, &items, &left, &data) == Success && data) {
    if (format == 8) value.assign(reinterpret_cast<char*>(data), items);
    x.free(data);
  }
  return value;
}

// The title as the window manager would show it: _NET_WM_NAME, else WM_NAME.
std::string TitleOf(Display* display, Window window) {
  std::string title = Property(display, window, "_NET_WM_NAME");
  return title.empty() ? Property(display, window, "WM_NAME") : title;
}

pid_t OwnerOf(Display* display, Window window) {
  const Xlib& x = TheXlib();
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, left = 0;
  unsigned char* data = nullptr;
  pid_t owner = 0;
  if (x.getWindowProperty(display, window, x.internAtom(display, "_NET_WM_PID", False), 0, 1, False, AnyPropertyType,
                          &type, &format, &items, &left, &data) == Success && data) {
    if (format == 32 && items == 1) owner = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    x.free(data);
  }
  return owner;
}

bool Viewable(Display* display, Window window) {
  XWindowAttributes attributes{};
  return TheXlib().getWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// Looks through the top-level windows and, where a window manager wraps them, their children.
std::optional<WindowId> SearchByTitle(Display* display, Window parent, const std::string& title, pid_t owner,
                                      int depth) {
  const Xlib& x = TheXlib();
  Window root = 0, up = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!x.queryTree(display, parent, &root, &up, &children, &count)) return std::nullopt;
  std::optional<WindowId> found;
  for (unsigned int i = 0; i < count && !found; ++i) {
    if (TitleOf(display, children[i]) == title && Viewable(display, children[i]) &&
        (owner == 0 || OwnerOf(display, children[i]) == owner))
      found = children[i];
  }
  for (unsigned int i = 0; i < count && !found && depth > 0; ++i)
    found = SearchByTitle(display, children[i], title, owner, depth - 1);
  if (children) x.free(children);
  return found;
}

std::optional<WindowId> WindowWithTitle(Display* display, const std::string& title, pid_t owner = 0) {
  if (!display) return std::nullopt;
  return SearchByTitle(display, RootWindow(display, DefaultScreen(display)), title, owner, 2);
}

// A poll for windows keeps one connection: a virtual X server that is busy resets some of the
// connections made in quick succession, and the program being started might lose its own.
template <typename Condition>
bool PollOnOneConnection(int timeoutMs, Condition condition) {
  std::optional<Connection> connection;
  return PollUntil(timeoutMs, [&] {
    if (!connection || !connection->get()) connection.emplace();
    return condition(connection->get());
  });
}

// Sends the window the message its close box sends: WM_PROTOCOLS carrying WM_DELETE_WINDOW.
bool SendDeleteWindow(WindowId window) {
  Connection connection;
  Display* display = connection.get();
  if (!display) return false;
  const Xlib& x = TheXlib();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = x.internAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(x.internAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  bool sent = x.sendEvent(display, window, False, NoEventMask, &event) != 0;
  x.flush(display);
  return sent;
}

// Runs one request on a connection of its own and waits until the server has handled it.
template <typename Request>
bool OnOwnConnection(Request request) {
  Connection connection;
  Display* display = connection.get();
  if (!display || !request(TheXlib(), display)) return false;
  TheXlib().sync(display, False);
  return true;
}

}  // namespace

bool DisplayAvailable() {
  const char* display = std::getenv("DISPLAY");
  return display && *display;
}

bool DisplayRequired() {
  const char* required = std::getenv("ORVELT_REQUIRE_DISPLAY");
  return required && std::string(required) == "1";
}

std::ostream& operator<<(std::ostream& out, const Pixel& pixel) {
  return out << "(" << pixel.r << ", " << pixel.g << ", " << pixel.b << ")";
}

Pixel Screenshot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

std::optional<std::string> RunCommand(const std::string& commandLine) {
  std::FILE* pipe = popen((commandLine + " 2>/dev/null").c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string output;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  int status = pclose(pipe);
  if (status != 0) return std::nullopt;
  return output;
}

std::optional<WindowId> FindWindow(const std::string& title, int timeoutMs, pid_t owner) {
  std::optional<WindowId> found;
  PollOnOneConnection(timeoutMs, [&](Display* display) {
    found = WindowWithTitle(display, title, owner);
    return found.has_value();
  });
  return found;
}

bool WaitForNoWindow(const std::string& title, int timeoutMs) {
  return PollOnOneConnection(timeoutMs, [&](Display* display) { return display && !WindowWithTitle(display, title); });
}

std::optional<Geometry> WindowGeometry(WindowId window) {
  auto output = RunCommand("xdotool getwindowgeometry --shell " + std::to_string(window));
  if (!output) return std::nullopt;
  Geometry geometry;
  std::istringstream lines(*output);
  std::string line;
  while (std::getline(lines, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string name = line.substr(0, eq);
    int value = std::atoi(line.c_str() + eq + 1);
    if (name == "X") geometry.x = value;
    if (name == "Y") geometry.y = value;
    if (name == "WIDTH") geometry.width = value;
    if (name == "HEIGHT") geometry.height = value;
  }
  return geometry;
}

bool FocusWindow(WindowId window) {
  std::string id = std::to_string(window);
  return PollUntil(5000, [&] {
    RunCommand("xdotool windowfocus " + id);
    auto focused = RunCommand("xdotool getwindowfocus");
    return focused && FirstWindow(*focused) == window;
  });
}

bool PressKey(WindowId window, const std::string& keyName) {
  return FocusWindow(window) && RunCommand("xdotool key " + ShellQuote(keyName)).has_value();
}

bool PressKeyUntil(WindowId window, const std::string& keyName, const std::function<bool()>& done,
                   int timeoutMs, int pollMs, KeySender sender) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    bool pressed = sender == KeySender::XTest ? PressKeyThroughXTest(window, keyName) : PressKey(window, keyName);
    if (!pressed && done()) return true;
    if (PollUntil(pollMs, done)) return true;
  }
  return done();
}

bool KeyDown(WindowId window, const std::string& keyName) {
  return FocusWindow(window) && RunCommand("xdotool keydown " + ShellQuote(keyName)).has_value();
}

bool KeyUp(WindowId window, const std::string& keyName) {
  return FocusWindow(window) && RunCommand("xdotool keyup " + ShellQuote(keyName)).has_value();
}

bool TypeText(WindowId window, const std::string& text) {
  return FocusWindow(window) &&
         RunCommand("xdotool type --delay 30 -- " + ShellQuote(text)).has_value();
}

// Key events that reach a GTK dialog's widget before it is realised make GTK complain on standard
// error, and the release of the key that opens the location field reaches the field that soon;
// so the dialog is left to settle, and Ctrl+L is held until the field shows.
bool AnswerFileChooser(WindowId dialog, const std::string& path, const std::function<bool()>& done,
                       int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  WaitUntilSettled(dialog, timeoutMs);
  while (Clock::now() < deadline) {
    if (FocusWindow(dialog)) {
      auto before = CaptureWindow(dialog);
      RunCommand("xdotool keydown ctrl+l");
      bool opened = PollUntil(3000, [&] {
        auto now = CaptureWindow(dialog);
        return before && now && !SamePicture(*before, *now);
      });
      bool settled = opened && WaitUntilSettled(dialog, 3000);
      RunCommand("xdotool keyup ctrl+l");
      if (settled) {
        RunCommand("xdotool key ctrl+a");
        RunCommand("xdotool type --delay 30 -- " + ShellQuote(path));
        // Return counts only once the field has finished looking the path up.
        WaitUntilSettled(dialog, 3000);
        RunCommand("xdotool key Return");
      }
    }
    if (PollUntil(3000, done)) return true;
  }
  return done();
}

bool RequestClose(WindowId window) { return SendDeleteWindow(window); }

bool DestroyWindow(WindowId window) {
  return OnOwnConnection([window](const Xlib& x, Display* display) { return x.destroyWindow(display, window), true; });
}

bool TapKeyThroughXTest(const std::string& keysymName) {
  return OnOwnConnection([&keysymName](const Xlib& x, Display* display) {
    KeyCode code = x.keysymToKeycode(display, x.stringToKeysym(keysymName.c_str()));
    return x.fakeKeyEvent && code != 0 && x.fakeKeyEvent(display, code, True, 0) && x.fakeKeyEvent(display, code, False, 0);
  });
}

bool PressKeyThroughXTest(WindowId window, const std::string& keysymName) {
  return FocusWindow(window) && TapKeyThroughXTest(keysymName);
}

bool SamePicture(const Screenshot& a, const Screenshot& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

bool WaitUntilSettled(WindowId window, int timeoutMs) {
  std::optional<Screenshot> last;
  return PollUntil(timeoutMs, [&] {
    auto now = CaptureWindow(window);
    bool settled = now && last && SamePicture(*now, *last) && now->At(0, 0) != now->At(now->Width() / 2, now->Height() / 2);
    last = now;
    return settled;
  });
}

std::optional<Screenshot> CaptureWindow(WindowId window) {
  auto bytes = RunCommand("xwd -silent -id " + std::to_string(window));
  if (!bytes) return std::nullopt;
  return ParseXwd(*bytes);
}

bool WaitForPixel(WindowId window, int x, int y, Pixel expected, int timeoutMs) {
  return PollUntil(timeoutMs, [&] {
    auto shot = CaptureWindow(window);
    return shot && shot->At(x, y) == expected;
  });
}

// The header is 25 big-endian 32-bit fields, then the window name, then the colour map, then the
// pixels in the byte order the header names.
std::optional<Screenshot> ParseXwd(const std::string& bytes) {
  if (bytes.size() < 100) return std::nullopt;
  auto field = [&bytes](int index) { return BigEndian32(bytes, static_cast<size_t>(index) * 4); };
  uint32_t headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
  uint32_t bitsPerPixel = field(11), bytesPerLine = field(12);
  uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16), colours = field(19);
  if (bitsPerPixel != 32 && bitsPerPixel != 24) return std::nullopt;
  if (width == 0 || height == 0 || width > 16384 || height > 16384) return std::nullopt;
  size_t start = static_cast<size_t>(headerSize) + static_cast<size_t>(colours) * 12;
  size_t bytesPerPixel = bitsPerPixel / 8;
  if (bytesPerLine < width * bytesPerPixel || start + static_cast<size_t>(bytesPerLine) * height > bytes.size())
    return std::nullopt;
  std::vector<Pixel> pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      size_t at = start + static_cast<size_t>(y) * bytesPerLine + x * bytesPerPixel;
      uint32_t value = 0;
      for (size_t i = 0; i < bytesPerPixel; ++i) {
        uint32_t byte = static_cast<uint8_t>(bytes[at + i]);
        value |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (bytesPerPixel - 1 - i));
      }
      pixels.push_back({ChannelOf(value, redMask), ChannelOf(value, greenMask), ChannelOf(value, blueMask)});
    }
  }
  return Screenshot(static_cast<int>(width), static_cast<int>(height), std::move(pixels));
}

BackgroundProcess::BackgroundProcess(const std::string& binary, const std::vector<std::string>& args,
                                     const std::string& input,
                                     const std::map<std::string, std::string>& env) {
  char folderTemplate[] = "/tmp/orvelt-bg-XXXXXX";
  if (!mkdtemp(folderTemplate)) return;
  folder_ = folderTemplate;
  std::ofstream(folder_ + "/in", std::ios::binary) << input;
  std::vector<std::string> all = ProgramCommand(binary);
  all.insert(all.end(), args.begin(), args.end());
  pid_ = fork();
  if (pid_ != 0) return;
  int in = open((folder_ + "/in").c_str(), O_RDONLY);
  int out = open((folder_ + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int err = open((folder_ + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0 || err < 0) _exit(127);
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  execv(all.front().c_str(), argv.data());
  _exit(127);
}

BackgroundProcess::~BackgroundProcess() {
  Kill();
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

bool BackgroundProcess::Running() {
  if (pid_ <= 0 || status_ != -1000) return false;
  int raw = 0;
  pid_t done = waitpid(pid_, &raw, WNOHANG);
  if (done == 0) return true;
  status_ = done < 0 ? -1 : WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
  return false;
}

bool BackgroundProcess::WaitForExit(int timeoutMs) {
  return PollUntil(timeoutMs, [this] { return !Running(); });
}

bool BackgroundProcess::WaitForOutput(const std::string& text, int timeoutMs) {
  auto holds = [&] { return Out().find(text) != std::string::npos; };
  return PollUntil(timeoutMs, [&] { return holds() || !Running(); }) && holds();
}

bool PressUntilExit(BackgroundProcess& program, WindowId window, const std::string& keyName) {
  return PressKeyUntil(window, keyName, [&] { return !program.Running(); });
}

WindowedProgram::WindowedProgram(const std::string& binary, const std::string& fileName, const std::string& source,
                                 const std::string& title)
    : path(dir.Write(fileName, source)), program(binary, {path}), window(FindWindow(title, 15000, program.Pid())) {}

void BackgroundProcess::Kill() {
  if (!Running()) return;
  kill(pid_, SIGKILL);
  int raw = 0;
  waitpid(pid_, &raw, 0);
  status_ = -SIGKILL;
}

std::string BackgroundProcess::Out() const { return ReadFile(folder_ + "/out"); }
std::string BackgroundProcess::Err() const { return ReadFile(folder_ + "/err"); }

// Xvfb names the display it took on the descriptor it is given, once it accepts connections.
OwnServer::OwnServer() {
  if (const char* display = std::getenv("DISPLAY")) previousDisplay_ = display;
  int ready[2];
  if (pipe(ready) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(ready[0]);
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    std::string fd = std::to_string(ready[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24", "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ready[1]);
  std::string number;
  pollfd readable{ready[0], POLLIN, 0};
  char c = 0;
  while (pid_ > 0 && poll(&readable, 1, 15000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
  close(ready[0]);
  if (c != '\n' || number.empty()) {
    Kill();
    return;
  }
  number_ = number;
  setenv("DISPLAY", (":" + number).c_str(), 1);
}

OwnServer::~OwnServer() {
  Kill();
  if (previousDisplay_) {
    setenv("DISPLAY", previousDisplay_->c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

// A server killed so leaves its socket and lock behind; they are removed, as its own end would.
void OwnServer::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int raw = 0;
  waitpid(pid_, &raw, 0);
  pid_ = -1;
  if (number_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove("/tmp/.X11-unix/X" + number_, ignored);
  std::filesystem::remove("/tmp/.X" + number_ + "-lock", ignored);
}

}  // namespace x11
