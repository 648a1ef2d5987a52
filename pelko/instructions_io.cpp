// The instructions that reach outside: the graphics window and its drawing, the frame timer, and
// the console and keyboard services of "int".
#include "pelko/instructions.h"
#include "pelko/operands.h"
#include "pelko/resolve.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/window.h"

namespace orvelt::pelko {
namespace {

// Coordinates and sizes are read through the operand value, unlike "gfx" and "delay".
int32_t NumberOfValue(Machine& m, const WorkingOperand& op, Text& scratch) {
  return IntOf(m, ValueOf(m, op, scratch));
}

int32_t NumberAsWritten(const WorkingOperand& op) { return op.numbers ? op.asInt : TextToInt(*op.text); }

void StoreKey(Machine& m, int32_t code) {
  int32_t kbd = FirstFixed(m, Fixed::Kbd);
  if (kbd >= 0) m.variables[static_cast<std::size_t>(kbd)].wert1 = code;
}

void ServicePrint(Machine& m, const WorkingRow&) {
  ForEachFixed(m, Fixed::Cmd, [](TVariable& cell) { PrintLine(cell.wert2); });
}

void ServiceWaitKey(Machine& m, const WorkingRow&) {
  if (m.options.noWaiting) return;
  StoreKey(m, WaitForKey());
}

// A trimmed argument that begins with a quote is the prompt without its first and last character;
// any other argument is read through its operand value; no argument reads nothing and hands "cmd"
// the previous line again.
void ServiceInput(Machine& m, const WorkingRow& row) {
  const Text& argument = *row.op2.text;
  if (!argument.empty() && !m.options.noWaiting) {
    Text trimmed = TrimText(argument);
    Text prompt;
    if (!trimmed.empty() && trimmed.front() == u'"')
      prompt = MidText(trimmed, 2, static_cast<int>(trimmed.size()) - 2);
    else
      prompt = TextOf(m, ValueOf(m, row.op2, m.scratch1), m.scratch2);
    m.lastInput = ReadLineWithPrompt(prompt);
  }
  ForEachFixed(m, Fixed::Cmd, [&](TVariable& cell) { cell.wert2 = m.lastInput; });
}

// "hitkey" and "downkey" both ask whether the key is held now; neither counts presses.
void ServiceKeyState(Machine& m, const WorkingRow& row) { StoreKey(m, KeyStateByName(*row.op2.text)); }

void ServiceDelay(Machine& m, const WorkingRow& row) {
  if (m.options.noWaiting) return;
  DelayMillis(NumberAsWritten(row.op2));
}

struct Service {
  const char16_t* name;
  Handler run;
};

const Service kServices[] = {
    {u"print", ServicePrint},       {u"waitkey", ServiceWaitKey},  {u"input", ServiceInput},
    {u"hitkey", ServiceKeyState},   {u"downkey", ServiceKeyState}, {u"delay", ServiceDelay},
};

}  // namespace

// The sizes are read as written: a register name as width reads as 0.
void RunGfx(Machine& m, const WorkingRow& row) {
  if (m.options.noWaiting) return;
  OpenGraphicsWindow(NumberAsWritten(row.op1), NumberAsWritten(row.op2), 0, 0, WindowPlacement::Corner32);
}

void RunOrg(Machine& m, const WorkingRow& row) {
  int32_t x = NumberOfValue(m, row.op1, m.scratch1);
  int32_t y = NumberOfValue(m, row.op2, m.scratch2);
  m.drawX = x;
  m.drawY = y;
}

void RunCls(Machine&, const WorkingRow&) { ClearCanvas(); }

// A program that paces itself with "wait" presents at once; any other waits for the display.
void RunFlip(Machine& m, const WorkingRow&) { PresentCanvas(m.waitFlag ? 0 : 1); }

void RunWait(Machine& m, const WorkingRow&) {
  if (m.options.noWaiting) return;
  WaitForTick(m.frameTimer);
}

// A point goes to its own coordinates; the draw position is not used.
void RunDot(Machine& m, const WorkingRow& row) {
  int32_t x = NumberOfValue(m, row.op1, m.scratch1);
  int32_t y = NumberOfValue(m, row.op2, m.scratch2);
  DrawPoint(static_cast<float>(x), static_cast<float>(y));
}

void RunRect(Machine& m, const WorkingRow& row) {
  int32_t w = NumberOfValue(m, row.op1, m.scratch1);
  int32_t h = NumberOfValue(m, row.op2, m.scratch2);
  DrawFilledRect(static_cast<float>(m.drawX), static_cast<float>(m.drawY), static_cast<float>(w), static_cast<float>(h));
}

void RunOval(Machine& m, const WorkingRow& row) {
  int32_t w = NumberOfValue(m, row.op1, m.scratch1);
  int32_t h = NumberOfValue(m, row.op2, m.scratch2);
  DrawFilledOval(static_cast<float>(m.drawX), static_cast<float>(m.drawY), static_cast<float>(w), static_cast<float>(h));
}

// Quotes are drawn as they stand.
void RunText(Machine& m, const WorkingRow& row) {
  const Text& text = TextOf(m, ValueOf(m, row.op1, m.scratch1), m.scratch2);
  DrawTextAt(text, static_cast<float>(m.drawX), static_cast<float>(m.drawY));
}

void RunInt(Machine& m, const WorkingRow& row) {
  for (const Service& service : kServices)
    if (*row.op1.text == service.name) {
      service.run(m, row);
      return;
    }
}

}  // namespace orvelt::pelko
