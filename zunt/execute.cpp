// Execute: the script run line by line: comments cut, the command word found, "if"/"endif"
// skipping kept, and every line dispatched through the command table, in its order.
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/window.h"
#include "zunt/script.h"
#include "zunt/statement.h"
#include "zunt/store.h"
#include "zunt/window_input.h"

namespace orvelt::zunt {
namespace {

class Executor {
 public:
  explicit Executor(TScript& script) : script_(script) {}
  int Run();
  static bool Knows(const Text& word);

 private:
  using Handler = void (Executor::*)(const Statement&);
  struct Command {
    const char16_t* word;
    Handler handler;
  };
  static const Command kCommands[];

  void Dispatch(const Statement& st);
  int N(const Text& text) { return TextToInt(script_.Calc2(text)); }
  Text T(const Text& text) { return ReplaceText(script_.Calc2(text), u"\"", u""); }
  void WaitKey();

  void DeclareInt(const Statement& st) { DeclareFromLine(script_, st.L, 1); }
  void DeclareFloat(const Statement& st) { DeclareFromLine(script_, st.L, 2); }
  void DeclareString(const Statement& st) { DeclareFromLine(script_, st.L, 3); }
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
  int32_t counter_ = 0;      // zero-based index of the line being run
  int32_t skip_ = 0;         // above 0 while lines are skipped after a false "if"
  bool handled_ = false;     // the line was an assignment, an "endif" or a label line
  bool end_ = false;         // set by "end": the run stops after this line
  std::size_t inputText_ = 0;  // where the executor's own input_text stands in SVars
};

// The dispatch order; the first row whose word matches runs.
const Executor::Command Executor::kCommands[] = {
    {u"int", &Executor::DeclareInt},          // integer variable or array
    {u"float", &Executor::DeclareFloat},      // float variable or array
    {u"string", &Executor::DeclareString},    // string variable or array
    {u"if", &Executor::If},                   // a false condition skips to the next "endif"
    {u"goto", &Executor::Goto},               // on to the line after the last label so named
    {u"apptitle", &Executor::AppTitle},       // the title for windows and boxes opened later
    {u"window", &Executor::Window},           // width, height: a window paced at 60 frames
    {u"error", &Executor::Error},             // ends the program with a fatal error
    {u"color", &Executor::Color},             // red, green, blue of all drawing
    {u"print", &Executor::Print},             // text, x, y: text in the window
    {u"input", &Executor::Input},             // prompt, x, y: a typed line into input_text
    {u"rect", &Executor::Rect},               // x, y, width, height: a filled rectangle
    {u"oval", &Executor::Oval},               // x, y, width, height: a filled ellipse
    {u"line", &Executor::Line},               // x1, y1, x2, y2, both end pixels drawn
    {u"plot", &Executor::Plot},               // x, y: one pixel
    {u"cls", &Executor::Cls},                 // the canvas in the clear colour
    {u"clscolor", &Executor::ClsColor},       // red, green, blue of clearing
    {u"flip", &Executor::Flip},               // shows the frame, paced to 60 a second
    {u"waitkey", &Executor::WaitKeyStatement},  // waits for any key
    {u"end", &Executor::End},                 // the run stops after this line
    {u"", &Executor::Nothing},                // blank lines and lines starting with a blank
};

int Executor::Run() {
  PrintLine(u"Beginne Ausfuehrung des Scriptes <" + script_.file + u">");
  SeedRandom(static_cast<int32_t>(Millisecs()));
  script_.SVars.push_back(SVar{u"input_text", u""});
  inputText_ = script_.SVars.size() - 1;
  const int32_t total = script_.anz;
  int64_t budget = script_.limits.lineBudget;
  while (counter_ < total) {
    if (budget >= 0 && budget-- == 0) break;
    const Text& line = script_.lines[static_cast<std::size_t>(counter_)];
    if (!line.empty() && line[0] == u';') {
      ++counter_;
      continue;
    }
    Statement st(line);
    if (st.cmd == u"endif") {
      if (skip_ > 0) --skip_;
      handled_ = true;
    }
    if (skip_ == 0) Dispatch(st);
    if (end_) break;
    handled_ = false;
    ++counter_;
  }
  PrintLine(u"Script erfolgreich ausgefuehrt!");
  return 0;
}

bool Executor::Knows(const Text& word) {
  for (const Command& command : kCommands)
    if (word == command.word) return true;
  return false;
}

void Executor::Dispatch(const Statement& st) {
  for (const Command& command : kCommands) {
    if (st.cmd == command.word) {
      (this->*command.handler)(st);
      return;
    }
  }
  Assignment(st);
}

// Without a person at the keyboard (fuzzing) nothing waits.
void Executor::WaitKey() {
  if (!script_.limits.noWaiting) WaitForKey();
}

// The operator is the first of "=", "<", ">", "!" that occurs anywhere in the line; both sides
// are compared as integers, "<" and ">" holding for equal sides too.
void Executor::If(const Statement& st) {
  static const char16_t kOperators[] = u"=<>!";
  int op = 0;
  char16_t which = 0;
  for (char16_t c : std::u16string_view(kOperators)) {
    op = FindText(st.L, Text(1, c));
    if (op > 0) {
      which = c;
      break;
    }
  }
  if (op == 0) return;
  int32_t a = N(MidText(st.L, st.p + 1, op - st.p - 1));
  int32_t b = N(MidText(st.L, op + 1, st.len - op));
  bool holds = which == u'=' ? a == b : which == u'<' ? a <= b : which == u'>' ? a >= b : a != b;
  if (!holds) ++skip_;
}

void Executor::Goto(const Statement& st) {
  if (std::optional<int32_t> line = FindLabelLine(script_, TrimText(st.R()))) counter_ = *line;
}

void Executor::AppTitle(const Statement& st) { SetWindowTitle(u"ZUNT - " + T(st.R())); }

void Executor::Window(const Statement& st) {
  int width = N(st.F1());
  int height = N(st.F2());
  if (!script_.limits.noWaiting) OpenGraphicsWindow(width, height, 0, 60, WindowPlacement::Centred);
}

void Executor::Error(const Statement&) { RaiseFatalError(u"Unknown error"); }

void Executor::Color(const Statement& st) {
  int red = N(st.F1());
  int green = N(st.F2());
  int blue = N(st.F3plus());
  SetDrawColor(red, green, blue);
}

void Executor::Print(const Statement& st) {
  Text text = T(st.F1());
  int x = N(st.F2());
  int y = N(st.F3plus());
  DrawTextAt(text, static_cast<float>(x), static_cast<float>(y));
}

// input_text leaves SVars while the user types and comes back as the last string variable, which
// decides where it stands in the order of substitution.
void Executor::Input(const Statement& st) {
  Text prompt = T(st.F1());
  int x = N(st.F2());
  int y = N(st.F3plus());
  SVar inputText = std::move(script_.SVars[inputText_]);
  script_.SVars.erase(script_.SVars.begin() + static_cast<std::ptrdiff_t>(inputText_));
  Text typed;
  if (!script_.limits.noWaiting) typed = HasKeySource() ? WindowInput(x, y, prompt) : ConsoleInput(prompt);
  inputText.value = u"\"" + typed + u"\"";
  script_.SVars.push_back(std::move(inputText));
  inputText_ = script_.SVars.size() - 1;
  script_.Names().svars.Invalidate();
}

void Executor::Rect(const Statement& st) {
  int x = N(st.F1()), y = N(st.F2()), w = N(st.F3()), h = N(st.F4plus());
  DrawFilledRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}

void Executor::Oval(const Statement& st) {
  int x = N(st.F1()), y = N(st.F2()), w = N(st.F3()), h = N(st.F4plus());
  DrawFilledOval(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}

void Executor::Line(const Statement& st) {
  int x1 = N(st.F1()), y1 = N(st.F2()), x2 = N(st.F3()), y2 = N(st.F4plus());
  DrawLineSegment(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2));
}

void Executor::Plot(const Statement& st) {
  int x = N(st.F1());
  int y = N(st.F2());
  DrawPoint(static_cast<float>(x), static_cast<float>(y));
}

void Executor::Cls(const Statement&) { ClearCanvas(); }

void Executor::ClsColor(const Statement& st) {
  int red = N(st.F1());
  int green = N(st.F2());
  int blue = N(st.F3plus());
  SetClearColor(red, green, blue);
}

void Executor::Flip(const Statement&) { PresentCanvas(-1); }

void Executor::WaitKeyStatement(const Statement&) { WaitKey(); }

void Executor::End(const Statement&) { end_ = true; }

void Executor::Nothing(const Statement&) {}

// Any other word: an assignment, or a label line, or else an error that waits for a key and
// lets the run go on.
void Executor::Assignment(const Statement& st) {
  if (AssignFromLine(script_, st.L)) handled_ = true;
  if (!st.L.empty() && st.L[0] == u'#') handled_ = true;
  if (handled_) return;
  PrintLine(u"Scriptfehler in Zeile " + IntToText(counter_) + u": Befehl <" + st.cmd + u"> nicht vorhanden.");
  WaitKey();
}

}  // namespace

int TScript::Execute() { return Executor(*this).Run(); }

bool IsCommandWord(const Text& word) { return Executor::Knows(word); }

}  // namespace orvelt::zunt
