// Start-up in its fixed order: start time, seeding, command-line text, frame timer, version
// request, path check; then loading and the run.
#include "pelko/entry.h"

#include "pelko/predefined.h"
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

[[noreturn]] void RaiseCannotOpen(const Text& path) {
  RaiseFatalError(u"DEBUG >> pelko kann die Datei '" + path + u"' nicht oeffnen!");
}

Text ReadSource(const Text& path) {
  std::optional<std::string> found = FindRegularFile(path);
  std::string bytes;
  if (!found || !ReadFileBytes(*found, &bytes)) RaiseCannotOpen(path);
  return DecodeBytes(bytes);
}

}  // namespace

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

void LoadMachine(Machine& machine, const Text& source, const SourceRun& run) {
  LoadedProgram program = LoadSource(source, run.limits);
  ApplyPredefinedSymbols(program.rows, run.startTime);
  InitMachine(machine, std::move(program), run.frameTimer, run.runLimits);
}

void RunSource(const Text& source, const SourceRun& run) {
  Machine machine;
  LoadMachine(machine, source, run);
  Run(machine);
  EndProgram();
}

int Main() {
  SourceRun run;
  run.startTime = static_cast<int32_t>(Millisecs());
  SeedRandom(static_cast<int32_t>(Millisecs()));
  Text commandLine = CommandLineText(ProgramArguments());
  run.frameTimer = CreateTickTimer(60);
  if (IsVersionRequest(commandLine)) AnswerVersionRequest();
  Text source = ReadSource(SourcePath(commandLine));
  RunSource(source, run);
}

}  // namespace orvelt::pelko
