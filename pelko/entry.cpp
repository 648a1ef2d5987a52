// Start-up in its fixed order: start time, seeding, frame timer, command-line text, version
// request, path check; then loading and the run.
#include "pelko/entry.h"

#include "pelko/check.h"
#include "pelko/out_of_memory.h"
#include "pelko/predefined.h"
#include "pelko/trace.h"
#include "runtime/command_flags.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"

namespace orvelt::pelko {
namespace {

constexpr char16_t kBanner[] = u"PELKO version: 0.79 Gamma";

// No window exists yet, so the key comes from the console: one line, or the end of the input.
[[noreturn]] void AnswerVersionRequest() {
  PrintLine(kBanner);
  PrintLine(Text());
  ReadConsoleLine();
  EndProgram();
}

constexpr ProgramHelp kHelp = {
    u"pelko",
    u"Aufruf: pelko PROGRAMM.pel   führt ein pelko-Programm aus\n"
    u"        pelko -v             zeigt die Versionszeile und wartet auf Enter\n"
    u"        pelko --check DATEI  meldet Zeilen, die pelko anders liest als gemeint\n"
    u"        pelko --trace DATEI  führt das Programm aus und meldet jede ausgeführte Zeile\n"
    u"        pelko --version      zeigt Name und Version\n"
    u"        pelko --help, -h     zeigt diese Hilfe\n"
    u"\n"
    u"Alle Argumente zusammen sind der Pfad des Programms. Ein relativer Pfad wird zuerst\n"
    u"im Ordner von pelko gesucht, dann im Ordner, in dem pelko gestartet wurde; einer, der\n"
    u"mit \"./\" oder \"../\" beginnt, nur dort. Mehr in der Anleitung: man pelko\n"};

// Flags count only as the whole command line; any other one is a source path or the version
// request, as it always was.
constexpr CommandFlag kFlags[] = {
    {u"--check", 1, CheckFile},
    {u"--trace", 1, TraceFile},
};

[[noreturn]] void RaiseCannotOpen(const Text& path) {
  RaiseFatalError(u"DEBUG >> pelko kann die Datei '" + path + u"' nicht oeffnen!");
}

}  // namespace

Text ReadSource(const Text& path) {
  std::optional<std::string> found = FindRegularFile(path);
  std::string bytes;
  if (!found || !ReadFileBytes(*found, &bytes)) RaiseCannotOpen(path);
  return DecodeBytes(bytes);
}

Text CommandLineText(const std::vector<Text>& arguments) {
  Text text;
  for (std::size_t i = 1; i < arguments.size(); ++i) text += arguments[i] + u" ";
  return text;
}

bool IsVersionRequest(const Text& commandLine) {
  Text trimmed = TrimText(commandLine);
  return trimmed.empty() || trimmed == u"-v";
}

Text SourcePath(const Text& commandLine) {
  std::size_t end = commandLine.find_last_not_of(u' ');
  return end == Text::npos ? Text() : commandLine.substr(0, end + 1);
}

void LoadMachine(Machine& machine, Text source, const SourceRun& run, const LineObserver& observe) {
  LoadedProgram program = LoadSource(source, observe);
  Text().swap(source);
  ApplyPredefinedSymbols(program.rows, run.startTime);
  InitMachine(machine, std::move(program), run.frameTimer);
}

void RunSource(Text source, const SourceRun& run) {
  Machine machine;
  LoadMachine(machine, std::move(source), run);
  Run(machine);
  EndProgram();
}

SourceRun StartRun() {
  SetOutOfMemoryMessage();
  SourceRun run;
  run.startTime = static_cast<int32_t>(Millisecs());
  SeedRandom(static_cast<int32_t>(Millisecs()));
  run.frameTimer = CreateTickTimer(60);
  return run;
}

int Main() {
  if (std::optional<int> status = AnswerCommandFlag(ProgramArguments(), kHelp, kFlags)) return *status;
  SourceRun run = StartRun();
  Text commandLine = CommandLineText(ProgramArguments());
  if (IsVersionRequest(commandLine)) AnswerVersionRequest();
  RunSource(ReadSource(SourcePath(commandLine)), run);
}

}  // namespace orvelt::pelko
