// One line of text typed by the user: into the graphics window, or on the console when no window
// can deliver keys.
#pragma once
#include "runtime/text.h"

namespace orvelt::zunt {

// Draws the prompt at (x, y) and the text typed so far after it, one frame per pass, until Enter;
// Escape or a close request ends the program.
Text WindowInput(int x, int y, const Text& prompt);

// The same line read from standard input: the prompt written without a line end, then one line
// with only the characters 33 to 126 kept. The end of the input before any character ends the
// program as Escape would.
Text ConsoleInput(const Text& prompt);

}  // namespace orvelt::zunt
