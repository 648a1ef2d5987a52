// The start of zunt: the titles, the script path from the command line or the file-open dialog,
// the load with its failure box, and the run, traced on request.
#include "zunt/entry.h"

#include "runtime/command_flags.h"
#include "runtime/console.h"
#include "runtime/dialogs.h"
#include "runtime/process.h"
#include "runtime/window.h"
#include "zunt/check.h"
#include "zunt/script.h"
#include "zunt/trace.h"

namespace orvelt::zunt {
namespace {

const Text kTitlePrefix = u"ZUNT - ";

constexpr ProgramHelp kHelp = {
    u"zunt",
    u"Aufruf: zunt SCRIPT.cf     führt ein zunt-Script aus\n"
    u"        zunt               fragt mit einem Dateidialog nach dem Script\n"
    u"        zunt --check DATEI meldet Zeilen, die zunt anders liest als gemeint\n"
    u"        zunt --trace DATEI führt das Script aus und meldet jede ausgeführte Zeile\n"
    u"                           auf der Standardfehlerausgabe\n"
    u"        zunt --version     zeigt Name und Version\n"
    u"        zunt --help, -h    zeigt diese Hilfe\n"
    u"\n"
    u"Nur das erste Argument zählt. Ein relativer Pfad wird zuerst im Ordner von zunt\n"
    u"gesucht, dann im Ordner, in dem zunt gestartet wurde; einer, der mit \"./\" oder\n"
    u"\"../\" beginnt, nur dort. Mehr in der Anleitung: man zunt\n"};

// Loads and runs the script; a failed load ends the program after its message box.
int RunScript(const Text& path, Trace* trace) {
  SetWindowTitle(kTitlePrefix + path);
  FlushKeyboard();
  TScript script;
  if (script.Load(path, 100) == 0) {
    SetWindowTitle(u"ZUNT - Error!");
    ShowMessage(path + u"\r" + u"Script konnte nicht geladen werden!", true);
    EndProgram();
  }
  SetWindowTitle(kTitlePrefix + path);
  script.trace = trace;
  script.Execute();
  return 0;
}

// The path is read as a run reads its first argument, double quotes removed, and the trace names
// the file so.
int TraceFile(const std::vector<Text>& operands) {
  const Text path = ReplaceText(operands.at(0), u"\"", u"");
  Trace trace(path);
  return RunScript(path, &trace);
}

// Flags count only as the whole command line; any other one names the script, as it always did.
constexpr CommandFlag kFlags[] = {
    {u"--check", 1, CheckFile},
    {u"--trace", 1, TraceFile},
};

}  // namespace

// Only the first argument counts; double quotes the shell left in it are removed everywhere.
Text ScriptPath() {
  const std::vector<Text>& arguments = ProgramArguments();
  if (arguments.size() >= 2) return ReplaceText(arguments[1], u"\"", u"");
  return ChooseFileToOpen(u"Script öffnen:", u"Scripte:cf; Textdateien:txt; Alle Dateien:*", u"");
}

// The graphics back end needs no choosing here: the runtime has one, and opens no window yet.
int Main() {
  if (std::optional<int> status = AnswerCommandFlag(ProgramArguments(), kHelp, kFlags)) return *status;
  SetWindowTitle(u"ZUNT - Waiting for script...");
  return RunScript(ScriptPath(), nullptr);
}

}  // namespace orvelt::zunt
