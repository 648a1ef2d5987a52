// The X server's connections that SDL's window and GTK's dialogs open in this process, watched so
// that losing the server, the connection or the window ends the program with the lost-display note
// instead of Xlib's raw message and status 1.
#pragma once

union _XEvent;

namespace orvelt {

// Puts the program's handlers in Xlib, the libX11 that SDL and GTK load: a connection that breaks
// ends the program at once; an error about the watched window does too; other errors go to the
// handler that was there before. Call it before SDL starts video (SDL's own handler then passes
// errors on to it) and again after GTK starts (GTK puts in its own without passing anything on).
void GuardX11Connections();
// After SDL started video: Xlib's connection-loss handler is the program's again.
void GuardX11ConnectionLoss();
// The X window whose errors and destruction end the program; 0 while none is open.
void WatchX11Window(unsigned long window);
// An event seen on the window's connection: the window's destruction from outside ends the program.
void NoteX11Event(const _XEvent& event);
// Waits at most maxWaitMs (0: only looks) until the connection's socket has something to read; a
// socket the server hung up ends the program, as the first request would find out.
void WaitOnX11Connection(int connectionFd, int maxWaitMs);

}  // namespace orvelt
