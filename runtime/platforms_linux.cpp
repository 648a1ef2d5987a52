// The display backends built on Linux, in the order the core asks them: GTK's dialogs first, whose
// message box needs no X core fonts, then SDL's window and its own message box.
#include "runtime/internal/platform.h"

namespace orvelt {

Platform& GtkDialogsBackend();  // dialogs_gtk.cpp
Platform& SdlBackend();         // platform_sdl.cpp

const std::vector<Platform*>& BuiltPlatforms() {
  static const std::vector<Platform*> platforms{&GtkDialogsBackend(), &SdlBackend()};
  return platforms;
}

}  // namespace orvelt
