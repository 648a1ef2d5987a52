// Opening libraries at run time through the dynamic loader (dlopen), for the backends whose
// libraries a machine may lack; and, before the first of them loads, the session bus named for
// them, so that none starts a bus of its own.
#include "runtime/internal/shared_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace orvelt {

namespace {

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// With no session bus address, the D-Bus libraries that SDL and GTK use would start one through
// the dbus-launch program found on PATH. The bus at the usual place is named if there is one;
// otherwise the bus is disabled, and the libraries go on without it.
void NameTheSessionBus() {
  if (Named("DBUS_SESSION_BUS_ADDRESS")) return;
  std::string address = "disabled:";
  if (Named("XDG_RUNTIME_DIR")) {
    std::string socket = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/bus";
    struct stat info {};
    if (stat(socket.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) address = "unix:path=" + socket;
  }
  setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

}  // namespace

// Local binding keeps the library's symbols out of the program's own namespace; it is never closed,
// as neither SDL nor GTK can be unloaded safely.
void* OpenSharedLibrary(const char* soname) {
  static const bool busNamed = (NameTheSessionBus(), true);
  (void)busNamed;
  return dlopen(soname, RTLD_NOW | RTLD_LOCAL);
}

void* FindSharedFunction(void* library, const char* name) { return dlsym(library, name); }

}  // namespace orvelt
