// Line input for the script's input statement: typed into the graphics window frame by frame, or
// read from the console when there is no window to type into.
#include "zunt/window_input.h"

#include <cstdint>

#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/window.h"

namespace orvelt::zunt {
namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;

// Blanks, control characters and everything above 126 are not taken.
bool Accepted(int ch) { return ch > 32 && ch < 127; }

}  // namespace

// The steps of a pass keep their order: Backspace before the new character, the frame with the
// final text shown before Enter is tested, and the canvas cleared after every frame.
Text WindowInput(int x, int y, const Text& prompt) {
  FlushKeyboard();
  NextTypedChar();
  Text typed;
  for (;;) {
    int ch = NextTypedChar();
    if (KeyHitCount(kBackspace) != 0 && !typed.empty()) typed.pop_back();
    if (Accepted(ch)) typed += CharText(ch);
    DrawTextAt(prompt, static_cast<float>(x), static_cast<float>(y));
    DrawTextAt(typed, static_cast<float>(int64_t{x} + TextPixelWidth(prompt) + 5), static_cast<float>(y));
    if (CloseRequested() != 0 || KeyHitCount(kEscape) != 0) EndProgram();
    PresentCanvas(-1);
    ClearCanvas();
    if (KeyHitCount(kEnter) != 0) break;
  }
  return typed;
}

Text ConsoleInput(const Text& prompt) {
  WriteText(prompt);
  std::optional<Text> line = ReadConsoleLine();
  if (!line) EndProgram();
  Text typed;
  for (char16_t c : *line)
    if (Accepted(c)) typed.push_back(c);
  return typed;
}

}  // namespace orvelt::zunt
