// The start of zunt: the titles, the script path from the command line or the file-open dialog,
// the load with its failure box, and the run.
#include "zunt/entry.h"

#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/window.h"
#include "zunt/script.h"

namespace orvelt::zunt {
namespace {

const Text kTitlePrefix = u"ZUNT - ";

}  // namespace

// Only the first argument counts; double quotes the shell left in it are removed everywhere.
Text ScriptPath() {
  const std::vector<Text>& arguments = ProgramArguments();
  if (arguments.size() >= 2) return ReplaceText(arguments[1], u"\"", u"");
  return ChooseFileToOpen(u"Script öffnen:", u"Scripte:cf; Textdateien:txt; Alle Dateien:*", u"");
}

// The graphics back end needs no choosing here: the runtime has one, and opens no window yet.
int Main() {
  SetWindowTitle(u"ZUNT - Waiting for script...");
  Text path = ScriptPath();
  SetWindowTitle(kTitlePrefix + path);
  FlushKeyboard();
  TScript script;
  if (script.Load(path, 100) == 0) {
    SetWindowTitle(u"ZUNT - Error!");
    ShowMessage(path + u"\r" + u"Script konnte nicht geladen werden!", true);
    EndProgram();
  }
  SetWindowTitle(kTitlePrefix + path);
  script.Execute();
  return 0;
}

}  // namespace orvelt::zunt
