// The run of a loaded script, one line at a time, and what a running script asks of the world
// outside it: a key to be hit, a window to open, a line to be typed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/text.h"
#include "zunt/script.h"
#include "zunt/statement.h"
#include "zunt/text_view.h"

namespace orvelt::zunt {

// The program takes these from the window and the console; tests and fuzzing put in others.
struct Surroundings {
  void (*waitForKey)();
  void (*openWindow)(int width, int height);
  Text (*typedLine)(int x, int y, const Text& prompt);  // Escape or a close request ends the program
};

// Key waits and typed lines from the window, or from the console where no window takes keys.
extern const Surroundings kWindowAndConsole;

class Executor {
 public:
  explicit Executor(TScript& script, const Surroundings& surroundings = kWindowAndConsole)
      : script_(script), surroundings_(surroundings) {}

  // The start message, a fresh random seed and the script's input_text.
  void Begin();
  // Runs the line at the line counter and moves on; false once the run is over.
  bool RunLine();
  // The success message.
  void Finish();
  // Whether the command table has a row for the word.
  static bool Knows(const Text& word);

 private:
  using Handler = void (Executor::*)(const Statement&);
  struct Command {
    const char16_t* word;
    Handler handler;
  };
  static const Command kCommands[];

  void Dispatch(const Statement& st);
  // Dispatch with the line's entry in the script's trace around it.
  void TracedDispatch(const Statement& st, TextView line);
  // The trace's finished entries go out before output and waits, so that a terminal keeps the order.
  void FlushTrace();
  void WaitForKeyHere();
  int32_t NumberOf(TextView field);
  Text TextOf(TextView field);

  void DeclareInt(const Statement& st);
  void DeclareFloat(const Statement& st);
  void DeclareString(const Statement& st);
  void If(const Statement& st);
  void Goto(const Statement& st);
  void AppTitle(const Statement& st);
  void Window(const Statement& st);
  void Error(const Statement& st);
  void Color(const Statement& st);
  void Print(const Statement& st);
  void Input(const Statement& st);
  void Rect(const Statement& st);
  void Oval(const Statement& st);
  void Line(const Statement& st);
  void Plot(const Statement& st);
  void Cls(const Statement& st);
  void ClsColor(const Statement& st);
  void Flip(const Statement& st);
  void WaitKeyStatement(const Statement& st);
  void End(const Statement& st);
  void Nothing(const Statement& st);
  void Assignment(const Statement& st);

  TScript& script_;
  const Surroundings& surroundings_;
  int32_t total_ = 0;          // the number of lines, taken once at the start
  int32_t counter_ = 0;        // zero-based index of the line being run
  int32_t skip_ = 0;           // above 0 while lines are skipped after a false "if"
  bool handled_ = false;       // the line was an assignment, an "endif" or a label line
  bool end_ = false;           // set by "end": the run stops after this line
  std::size_t inputText_ = 0;  // where the executor's own input_text stands in SVars
};

}  // namespace orvelt::zunt
