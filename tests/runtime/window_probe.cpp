// A small windowed program for the window tests: draws a known picture, then waits for a key,
// typed text, a held key or a close request, or opens one of the dialogs (and then the window),
// as its argument says.
#include <map>
#include <string>

#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/window.h"

using namespace orvelt;

namespace {

TickTimer* gTimer = nullptr;

void OpenAndDraw(WindowPlacement placement) {
  SetWindowTitle(u"Orvelt Fenstertest");
  OpenGraphicsWindow(200, 150, 0, 60, placement);
  SetClearColor(0, 0, 128);
  ClearCanvas();
  SetDrawColor(255, 0, 0);
  DrawFilledRect(10, 10, 40, 30);
  SetDrawColor(0, 255, 0);
  DrawFilledOval(100, 20, 60, 40);
  SetDrawColor(255, 255, 0);
  DrawTextAt(u"A7", 20, 100);
  SetDrawColor(255, 255, 255);
  DrawLineSegment(0, 149, 199, 149);
  PresentCanvas(-1);
  gTimer = CreateTickTimer(60);
}

// Frames go on being presented while the program waits, as an interpreter's loop would.
void NextFrame() {
  WaitForTick(gTimer);
  PresentCanvas(0);
}

int WaitKey() {
  PrintLine(IntToText(WaitForKey()));
  return 0;
}

// One line per key until Escape.
int WaitKeys() {
  for (;;) {
    int code = WaitForKey();
    PrintLine(IntToText(code));
    if (code == 27) return 0;
  }
}

int CollectTyped() {
  Text codes;
  for (;;) {
    int code = NextTypedChar();
    if (code == 13) break;
    if (code != 0) {
      codes += (codes.empty() ? u"" : u" ") + IntToText(code);
    } else {
      NextFrame();
    }
  }
  PrintLine(codes);
  return 0;
}

int WaitClose() {
  while (!CloseRequested()) NextFrame();
  PrintLine(u"geschlossen");
  PrintLine(IntToText(CloseRequested()));
  return 0;
}

// X is held down, then let go: one hit however long it was held.
int HoldKey() {
  while (!KeyIsDown(88)) NextFrame();
  PrintLine(u"unten");
  while (KeyIsDown(88)) NextFrame();
  PrintLine(IntToText(KeyHitCount(88)));
  return 0;
}

int ChooseFile() {
  PrintLine(ChooseFileToOpen(u"Script \u00f6ffnen:", u"Scripte:cf; Textdateien:txt; Alle Dateien:*", u""));
  return 0;
}

int Message() {
  SetWindowTitle(u"Orvelt Meldung");
  ShowMessage(u"datei.cf\rScript konnte nicht geladen werden!", true);
  PrintLine(u"ok");
  return 0;
}

// A window under the default title, as a program that never names one.
int Untitled() {
  OpenGraphicsWindow(100, 80, 0, 0);
  return WaitKey();
}

int Body() {
  const std::vector<Text>& args = ProgramArguments();
  Text mode = args.size() > 1 ? args[1] : u"key";
  if (mode == u"dialog") return ChooseFile();
  if (mode == u"dialog-window") {
    ChooseFile();
    OpenAndDraw(WindowPlacement::Centred);
    return WaitKey();
  }
  if (mode == u"message") return Message();
  if (mode == u"untitled") return Untitled();
  bool corner = args.size() > 2 && args[2] == u"corner";
  OpenAndDraw(corner ? WindowPlacement::Corner32 : WindowPlacement::Centred);
  static const std::map<Text, int (*)()> kModes = {
      {u"key", WaitKey}, {u"keys", WaitKeys}, {u"type", CollectTyped}, {u"close", WaitClose}, {u"hold", HoldKey}};
  auto found = kModes.find(mode);
  return found == kModes.end() ? 2 : found->second();
}

}  // namespace

int main(int argc, char** argv) { return RunProgram(argc, argv, Body); }
