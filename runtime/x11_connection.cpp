// Watching the X server's connections: Xlib's handlers, resolved from the libX11 that SDL and GTK
// have loaded (this file opens no display), end the program with the lost-display note when the
// server goes away, the connection is killed or the window is destroyed by another client. Xlib's
// own handlers would write a raw message and exit with status 1, and the exit handlers they run
// would wait on the dead connection.
#include "runtime/internal/x11_connection.h"

#include <X11/Xlib.h>
#include <poll.h>

#include "runtime/internal/platform.h"
#include "runtime/internal/shared_library.h"

namespace orvelt {

namespace {

#define ORVELT_XLIB_FUNCTIONS(X) X(XSetIOErrorHandler) X(XSetErrorHandler)

struct XlibLibrary {
  ORVELT_LIBRARY_TABLE(ORVELT_XLIB_FUNCTIONS)
};

const XlibLibrary* Xlib() { return LoadLibraryTable<XlibLibrary>("libX11.so.6"); }

XErrorHandler gPreviousErrorHandler = nullptr;
unsigned long gWatchedWindow = 0;

// Xlib must not be used again once it calls this; it would exit if the handler returned.
int OnConnectionLost(Display*) { EndForLostDisplay(); }

// A request about the window fails once another client has destroyed it.
int OnError(Display* display, XErrorEvent* error) {
  if (gWatchedWindow != 0 && error->resourceid == gWatchedWindow) EndForLostDisplay();
  return gPreviousErrorHandler ? gPreviousErrorHandler(display, error) : 0;
}

}  // namespace

void GuardX11Connections() {
  const XlibLibrary* xlib = Xlib();
  if (!xlib) return;
  xlib->XSetIOErrorHandler(OnConnectionLost);
  XErrorHandler previous = xlib->XSetErrorHandler(OnError);
  if (previous != OnError) gPreviousErrorHandler = previous;
}

void GuardX11ConnectionLoss() {
  if (const XlibLibrary* xlib = Xlib()) xlib->XSetIOErrorHandler(OnConnectionLost);
}

void WatchX11Window(unsigned long window) { gWatchedWindow = window; }

void NoteX11Event(const XEvent& event) {
  if (gWatchedWindow != 0 && event.type == DestroyNotify && event.xdestroywindow.window == gWatchedWindow)
    EndForLostDisplay();
}

void WaitOnX11Connection(int connectionFd, int maxWaitMs) {
  pollfd connection{connectionFd, POLLIN | POLLRDHUP, 0};
  if (poll(&connection, 1, maxWaitMs) > 0 && (connection.revents & (POLLHUP | POLLERR | POLLNVAL | POLLRDHUP)) != 0)
    EndForLostDisplay();
}

}  // namespace orvelt
