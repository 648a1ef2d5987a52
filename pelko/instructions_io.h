// The instructions that reach outside: the graphics window and its drawing, the frame timer, and
// the console and keyboard services of "int".
#pragma once
#include "pelko/instructions.h"
#include "pelko/operands.h"
#include "pelko/resolve.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/window.h"

namespace orvelt::pelko {

// Coordinates and sizes are read through the operand value, unlike "gfx" and "delay".
template <class Path>
int32_t NumberOfValue(Machine& m, const WorkingOperand& op, Text& scratch) {
  return IntOf(m, Path::ValueOf(m, op, scratch));
}

inline int32_t NumberAsWritten(const WorkingOperand& op) { return op.numbers ? op.asInt : TextToInt(op.text); }

template <class Path>
void StoreKey(Machine& m, int32_t code) {
  int32_t kbd = Path::FirstFixed(m, Fixed::Kbd);
  if (kbd >= 0) m.variables[static_cast<std::size_t>(kbd)].wert1 = code;
}

template <class Path>
void ServicePrint(Machine& m, const WorkingRow&) {
  Path::ForEachFixed(m, Fixed::Cmd, [](TVariable& cell) { PrintLine(cell.wert2); });
}

template <class Path>
void ServiceWaitKey(Machine& m, const WorkingRow&) {
  StoreKey<Path>(m, WaitForKey());
}

// A trimmed argument that begins with a quote is the prompt without its first and last character;
// any other argument is read through its operand value; no argument reads nothing and hands "cmd"
// the previous line again.
template <class Path>
void ServiceInput(Machine& m, const WorkingRow& row) {
  const Text argument(row.op2.text);
  if (!argument.empty()) {
    Text trimmed = TrimText(argument);
    Text prompt;
    if (!trimmed.empty() && trimmed.front() == u'"')
      prompt = MidText(trimmed, 2, static_cast<int>(trimmed.size()) - 2);
    else
      prompt = Text(TextOf(m, Path::ValueOf(m, row.op2, m.scratch1), m.scratch2));
    m.lastInput = ReadLineWithPrompt(prompt);
  }
  Path::ForEachFixed(m, Fixed::Cmd, [&](TVariable& cell) { cell.wert2 = m.lastInput; });
}

// "hitkey" and "downkey" both ask whether the key is held now; neither counts presses.
template <class Path>
void ServiceKeyState(Machine& m, const WorkingRow& row) {
  StoreKey<Path>(m, KeyStateByName(row.op2.text));
}

template <class Path>
void ServiceDelay(Machine&, const WorkingRow& row) {
  DelayMillis(NumberAsWritten(row.op2));
}

// The sizes are read as written: a register name as width reads as 0.
template <class Path>
void RunGfx(Machine&, const WorkingRow& row) {
  Path::OpenWindow(NumberAsWritten(row.op1), NumberAsWritten(row.op2));
}

template <class Path>
void RunOrg(Machine& m, const WorkingRow& row) {
  int32_t x = NumberOfValue<Path>(m, row.op1, m.scratch1);
  int32_t y = NumberOfValue<Path>(m, row.op2, m.scratch2);
  m.drawX = x;
  m.drawY = y;
}

template <class Path>
void RunCls(Machine&, const WorkingRow&) {
  ClearCanvas();
}

// A program that paces itself with "wait" presents at once; any other waits for the display.
template <class Path>
void RunFlip(Machine& m, const WorkingRow&) {
  PresentCanvas(m.waitFlag ? 0 : 1);
}

template <class Path>
void RunWait(Machine& m, const WorkingRow&) {
  WaitForTick(m.frameTimer);
}

// A point goes to its own coordinates; the draw position is not used.
template <class Path>
void RunDot(Machine& m, const WorkingRow& row) {
  int32_t x = NumberOfValue<Path>(m, row.op1, m.scratch1);
  int32_t y = NumberOfValue<Path>(m, row.op2, m.scratch2);
  DrawPoint(static_cast<float>(x), static_cast<float>(y));
}

template <class Path>
void RunRect(Machine& m, const WorkingRow& row) {
  int32_t w = NumberOfValue<Path>(m, row.op1, m.scratch1);
  int32_t h = NumberOfValue<Path>(m, row.op2, m.scratch2);
  DrawFilledRect(static_cast<float>(m.drawX), static_cast<float>(m.drawY), static_cast<float>(w), static_cast<float>(h));
}

template <class Path>
void RunOval(Machine& m, const WorkingRow& row) {
  int32_t w = NumberOfValue<Path>(m, row.op1, m.scratch1);
  int32_t h = NumberOfValue<Path>(m, row.op2, m.scratch2);
  DrawFilledOval(static_cast<float>(m.drawX), static_cast<float>(m.drawY), static_cast<float>(w), static_cast<float>(h));
}

// Quotes are drawn as they stand.
template <class Path>
void RunText(Machine& m, const WorkingRow& row) {
  const Text text(TextOf(m, Path::ValueOf(m, row.op1, m.scratch1), m.scratch2));
  DrawTextAt(text, static_cast<float>(m.drawX), static_cast<float>(m.drawY));
}

template <class Path>
void RunInt(Machine& m, const WorkingRow& row) {
  struct Service {
    const char16_t* name;
    Handler run;
  };
  static constexpr Service kServices[] = {
      {u"print", ServicePrint<Path>},         {u"waitkey", ServiceWaitKey<Path>},
      {u"input", ServiceInput<Path>},         {u"hitkey", ServiceKeyState<Path>},
      {u"downkey", ServiceKeyState<Path>},    {u"delay", ServiceDelay<Path>},
  };
  for (const Service& service : kServices)
    if (row.op1.text == service.name) {
      service.run(m, row);
      return;
    }
}

}  // namespace orvelt::pelko
