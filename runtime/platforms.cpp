// Picks the backend for each display service: the first built one that can give it on this
// machine (a display, a library that loads), or the embedding program's own; without any, a
// window that shows nothing, after one note on standard error.
#include <cstdio>
#include <cstdlib>

#include "runtime/console.h"
#include "runtime/internal/platform.h"

namespace orvelt {

namespace {

Platform* gEmbedded = nullptr;
// Once no backend could open a window, the rest of the run goes on without one and the note is
// not repeated.
bool gNoWindow = false;

const std::vector<Platform*>& Candidates() {
  static std::vector<Platform*> embedded;
  if (!gEmbedded) return BuiltPlatforms();
  embedded.assign(1, gEmbedded);
  return embedded;
}

void NoteNoDisplay() {
  std::FILE* err = ConsoleErr();
  std::fputs(kNoDisplayNote, err);
  std::fflush(err);
}

}  // namespace

bool DisplayNamed() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

void UsePlatform(Platform* platform) {
  gEmbedded = platform;
  gNoWindow = false;
}

std::unique_ptr<PlatformWindow> OpenPlatformWindow(const WindowRequest& request) {
  if (!gNoWindow) {
    for (Platform* platform : Candidates())
      if (std::unique_ptr<PlatformWindow> window = platform->OpenWindow(request)) return window;
    gNoWindow = true;
    NoteNoDisplay();
  }
  return MakeNoDisplayWindow();
}

bool ShowPlatformMessage(const Text& caption, const Text& text, bool serious) {
  for (Platform* platform : Candidates())
    if (platform->ShowMessage(caption, text, serious)) return true;
  return false;
}

std::optional<Text> ChoosePlatformFile(const Text& title, const Text& filter, const Text& initialPath) {
  for (Platform* platform : Candidates())
    if (std::optional<Text> chosen = platform->ChooseFileToOpen(title, filter, initialPath)) return chosen;
  return std::nullopt;
}

void ShutDownPlatforms() {
  for (Platform* platform : BuiltPlatforms()) platform->ShutDown();
  if (gEmbedded) gEmbedded->ShutDown();
}

}  // namespace orvelt
