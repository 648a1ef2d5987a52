// The display backend built on Windows: the system's own windows and dialogs.
#include "runtime/internal/platform.h"

namespace orvelt {

Platform& Win32Backend();  // platform_win32.cpp

const std::vector<Platform*>& BuiltPlatforms() {
  static const std::vector<Platform*> platforms{&Win32Backend()};
  return platforms;
}

}  // namespace orvelt
