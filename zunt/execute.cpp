// Execute: the script run line by line: comments cut, the command word found, "if"/"endif"
// skipping kept, and every line dispatched through the command table, in its order.
#include "zunt/execute.h"

#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/window.h"
#include "zunt/statement.h"
#include "zunt/store.h"
#include "zunt/trace.h"
#include "zunt/window_input.h"

namespace orvelt::zunt {
namespace {

void OpenWindowPaced(int width, int height) { OpenGraphicsWindow(width, height, 0, 60, WindowPlacement::Centred); }

void WaitForAnyKey() { WaitForKey(); }

Text TypedInWindowOrConsole(int x, int y, const Text& prompt) {
  return HasKeySource() ? WindowInput(x, y, prompt) : ConsoleInput(prompt);
}

}  // namespace

const Surroundings kWindowAndConsole = {WaitForAnyKey, OpenWindowPaced, TypedInWindowOrConsole};


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

void Executor::Begin() {
  PrintLine(u"Beginne Ausfuehrung des Scriptes <" + script_.file + u">");
  SeedRandom(static_cast<int32_t>(Millisecs()));
  script_.SVars.push_back(SVar{u"input_text", u""});
  inputText_ = script_.SVars.size() - 1;
  total_ = script_.anz;
}

bool Executor::RunLine() {
  if (counter_ >= total_) return false;
  TextView line = script_.lines[static_cast<std::size_t>(counter_)];
  if (!line.empty() && line[0] == u';') {
    ++counter_;
    return true;
  }
  Statement st(line);
  if (st.command == u"endif") {
    if (skip_ > 0) --skip_;
    handled_ = true;
  }
  if (skip_ == 0) {
    if (script_.trace) {
      TracedDispatch(st, line);
    } else {
      Dispatch(st);
    }
  }
  if (end_) return false;
  handled_ = false;
  ++counter_;
  return true;
}

void Executor::Finish() {
  FlushTrace();
  PrintLine(u"Script erfolgreich ausgefuehrt!");
}

bool Executor::Knows(const Text& word) {
  for (const Command& command : kCommands)
    if (word == command.word) return true;
  return false;
}

// Empty lines and lines of blanks do nothing and are left out of the trace, as comments are; a
// line of tabs is an unknown command and traced.
void Executor::TracedDispatch(const Statement& st, TextView line) {
  if (line.find_first_not_of(u' ') == TextView::npos) {
    Dispatch(st);
    return;
  }
  script_.trace->Begin(counter_, line);
  Dispatch(st);
  script_.trace->End();
}

void Executor::FlushTrace() {
  if (script_.trace) script_.trace->Flush();
}

void Executor::WaitForKeyHere() {
  FlushTrace();
  surroundings_.waitForKey();
}

void Executor::Dispatch(const Statement& st) {
  for (const Command& command : kCommands) {
    if (st.command == command.word) {
      (this->*command.handler)(st);
      return;
    }
  }
  Assignment(st);
}

int32_t Executor::NumberOf(TextView field) { return TextToInt(script_.Calc2(field)); }

// A text argument loses every double quote.
Text Executor::TextOf(TextView field) { return ReplaceText(script_.Calc2(field), u"\"", u""); }

void Executor::DeclareInt(const Statement& st) { DeclareFromLine(script_, st.text, ElementType::Integer); }
void Executor::DeclareFloat(const Statement& st) { DeclareFromLine(script_, st.text, ElementType::Float); }
void Executor::DeclareString(const Statement& st) { DeclareFromLine(script_, st.text, ElementType::String); }

// The operator is the first of "=", "<", ">", "!" that occurs anywhere in the line; both sides
// are compared as integers, "<" and ">" holding for equal sides too.
void Executor::If(const Statement& st) {
  int64_t op = 0;
  char16_t which = 0;
  for (char16_t c : TextView(u"=<>!")) {
    op = FindUnit(st.text, c);
    if (op > 0) {
      which = c;
      break;
    }
  }
  if (op == 0) return;
  int32_t a = NumberOf(MidView(st.text, st.separator + 1, op - st.separator - 1));
  int32_t b = NumberOf(MidView(st.text, op + 1, st.length - op));
  bool holds = which == u'=' ? a == b : which == u'<' ? a <= b : which == u'>' ? a >= b : a != b;
  if (!holds) ++skip_;
}

void Executor::Goto(const Statement& st) {
  if (std::optional<int32_t> line = FindLabelLine(script_, TrimView(st.Rest()))) counter_ = *line;
}

void Executor::AppTitle(const Statement& st) { SetWindowTitle(u"ZUNT - " + TextOf(st.Rest())); }

void Executor::Window(const Statement& st) {
  int width = NumberOf(st.FirstField());
  int height = NumberOf(st.SecondField());
  surroundings_.openWindow(width, height);
}

// The line's own entry goes before the message.
void Executor::Error(const Statement&) {
  if (script_.trace) {
    script_.trace->End();
    script_.trace->Flush();
  }
  RaiseFatalError(u"Unknown error");
}

void Executor::Color(const Statement& st) {
  int red = NumberOf(st.FirstField());
  int green = NumberOf(st.SecondField());
  int blue = NumberOf(st.FromThirdField());
  SetDrawColor(red, green, blue);
}

void Executor::Print(const Statement& st) {
  Text shown = TextOf(st.FirstField());
  int x = NumberOf(st.SecondField());
  int y = NumberOf(st.FromThirdField());
  DrawTextAt(shown, static_cast<float>(x), static_cast<float>(y));
}

// input_text leaves SVars while the user types and comes back as the last string variable, which
// decides where it stands in the order of substitution.
void Executor::Input(const Statement& st) {
  Text prompt = TextOf(st.FirstField());
  int x = NumberOf(st.SecondField());
  int y = NumberOf(st.FromThirdField());
  FlushTrace();
  SVar inputText = std::move(script_.SVars[inputText_]);
  script_.SVars.erase(script_.SVars.begin() + static_cast<std::ptrdiff_t>(inputText_));
  inputText.value = u"\"" + surroundings_.typedLine(x, y, prompt) + u"\"";
  script_.SVars.push_back(std::move(inputText));
  inputText_ = script_.SVars.size() - 1;
  if (script_.trace) script_.trace->Set(script_.SVars.back());
  script_.Names().svars.Invalidate();
}

void Executor::Rect(const Statement& st) {
  int x = NumberOf(st.FirstField()), y = NumberOf(st.SecondField());
  int w = NumberOf(st.ThirdField()), h = NumberOf(st.FromFourthField());
  DrawFilledRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}

void Executor::Oval(const Statement& st) {
  int x = NumberOf(st.FirstField()), y = NumberOf(st.SecondField());
  int w = NumberOf(st.ThirdField()), h = NumberOf(st.FromFourthField());
  DrawFilledOval(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}

void Executor::Line(const Statement& st) {
  int x1 = NumberOf(st.FirstField()), y1 = NumberOf(st.SecondField());
  int x2 = NumberOf(st.ThirdField()), y2 = NumberOf(st.FromFourthField());
  DrawLineSegment(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2));
}

void Executor::Plot(const Statement& st) {
  int x = NumberOf(st.FirstField());
  int y = NumberOf(st.SecondField());
  DrawPoint(static_cast<float>(x), static_cast<float>(y));
}

void Executor::Cls(const Statement&) { ClearCanvas(); }

void Executor::ClsColor(const Statement& st) {
  int red = NumberOf(st.FirstField());
  int green = NumberOf(st.SecondField());
  int blue = NumberOf(st.FromThirdField());
  SetClearColor(red, green, blue);
}

// Pacing waits too: a trace goes out once a frame.
void Executor::Flip(const Statement&) {
  FlushTrace();
  PresentCanvas(-1);
}

void Executor::WaitKeyStatement(const Statement&) { WaitForKeyHere(); }

void Executor::End(const Statement&) { end_ = true; }

void Executor::Nothing(const Statement&) {}

// Any other word: an assignment, or a label line, or else an error that waits for a key and
// lets the run go on.
void Executor::Assignment(const Statement& st) {
  if (AssignFromLine(script_, st.text)) handled_ = true;
  if (!st.text.empty() && st.text[0] == u'#') handled_ = true;
  if (handled_) return;
  FlushTrace();
  PrintLine(u"Scriptfehler in Zeile " + IntToText(counter_) + u": Befehl <" + st.command + u"> nicht vorhanden.");
  WaitForKeyHere();
}

int TScript::Execute() {
  Executor run(*this);
  run.Begin();
  while (run.RunLine()) {
  }
  run.Finish();
  return 0;
}

bool IsCommandWord(const Text& word) { return Executor::Knows(word); }

}  // namespace orvelt::zunt
