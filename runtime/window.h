// The graphics window, its software canvas and the keyboard state fed by its events.
#pragma once
#include "runtime/text.h"

namespace orvelt {

enum class WindowPlacement {
  Centred,   // drawing area centred on the desktop (zunt)
  Corner32,  // drawing area's top-left corner at (32, 32) of the desktop (pelko)
};

// Closes a window opened before. Without a display the window lives in memory only.
void OpenGraphicsWindow(int width, int height, int depth, int hertz,
                        WindowPlacement placement = WindowPlacement::Centred);
void CloseGraphicsWindow();
bool GraphicsWindowOpen();
// True when key events can arrive: a window is open on a real display.
bool HasKeySource();

void SetWindowTitle(const Text& title);  // the application title, default "Orvelt Application"
const Text& WindowTitle();

void SetDrawColor(int red, int green, int blue);
void SetClearColor(int red, int green, int blue);
void ClearCanvas();
void PresentCanvas(int sync);  // -1 paced (when the window has hertz), 0 no vsync, 1 vsync

void DrawPoint(float x, float y);
void DrawLineSegment(float x1, float y1, float x2, float y2);
void DrawFilledRect(float x, float y, float w, float h);
void DrawFilledOval(float x, float y, float w, float h);
void DrawTextAt(const Text& text, float x, float y);
int TextPixelWidth(const Text& text);

int KeyHitCount(int code);
int KeyIsDown(int code);
// The code of the next key hit. With no key source: reads one line from standard input and
// returns 0 (at once at the end of input).
int WaitForKey();
void FlushKeyboard();
int NextTypedChar();
int CloseRequested();

}  // namespace orvelt
