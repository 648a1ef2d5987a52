// Benchmarks of pelko: loading a generated 100,000-line source, the register loop and an array loop
// through the decoded rows (and, smaller, through the literal walks), all in-process.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "pelko/decode.h"
#include "pelko/entry.h"
#include "pelko/loader.h"
#include "pelko/predefined.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "tests/testlib/pelko/run_ways.h"

using namespace orvelt;

namespace {

// 1,000 declarations and 99,000 rows of instructions, labels, comments and calls.
std::string GeneratedSource() {
  std::ostringstream source;
  source << "' generated\n.data\n";
  for (int i = 0; i < 500; ++i) source << "v" << i << " int " << i << "\n";
  for (int i = 0; i < 499; ++i) source << "s" << i << " string \"text " << i << "\"\n";
  source << ".text\n";
  const char* const rows[] = {"mov cx, v%", "add dx, s%", "cmp cx, 10", "jg l%", "inc v%",
                              "l%:",        "' comment %", "mul ax, 2.5", "push s%", "pop"};
  for (int i = 0; i < 99000; ++i) {
    std::string row = rows[i % 10];
    std::size_t mark = row.find('%');
    if (mark != std::string::npos) row.replace(mark, 1, std::to_string(i / 10));
    source << "  " << row << "\n";
  }
  return source.str();
}

// The bench programs lie next to this file.
std::string BenchProgram(const std::string& name) {
  std::string here = __FILE__;
  return here.substr(0, here.find_last_of('/') + 1) + "pelko/" + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void BM_LoadSource(benchmark::State& state) {
  Text source = DecodeBytes(GeneratedSource());
  for (auto _ : state) {
    pelko::LoadedProgram program = pelko::LoadSource(source);
    pelko::ApplyPredefinedSymbols(program.rows, 0);
    benchmark::DoNotOptimize(program.rows.size());
  }
  state.counters["lines"] = 100000;
}
BENCHMARK(BM_LoadSource)->Unit(benchmark::kMillisecond);

void BM_LoadAndDecode(benchmark::State& state) {
  Text source = DecodeBytes(GeneratedSource());
  for (auto _ : state) {
    pelko::LoadedProgram program = pelko::LoadSource(source);
    pelko::ApplyPredefinedSymbols(program.rows, 0);
    pelko::Machine machine;
    pelko::InitMachine(machine, std::move(program), nullptr);
    benchmark::DoNotOptimize(machine.decoded.rows.data());
  }
}
BENCHMARK(BM_LoadAndDecode)->Unit(benchmark::kMillisecond);

// Runs a program to its end, through the program's own run or through the literal walks; the rows
// it executes are counted by the loop's own arithmetic.
void RunToEnd(const Text& source, bool literal) {
  pelko::SourceRun run;
  pelko::RunWay way;
  way.literal = literal;
  try {
    if (literal) pelko::RunSourceWay(source, run, way);
    else pelko::RunSource(source, run);
  } catch (const ProgramExit&) {
  }
}

// inc cx / cmp cx, N / jg back: three rows per pass.
Text RegisterLoop(int64_t passes) {
  return TextFromLatin1(".text\nmain:\nloop:\ninc cx\ncmp cx, " + std::to_string(passes) + "\njg loop\nend\n");
}

void BM_RegisterLoop(benchmark::State& state) {
  const int64_t passes = state.range(0);
  Text source = RegisterLoop(passes);
  for (auto _ : state) RunToEnd(source, false);
  state.counters["instructions/s"] =
      benchmark::Counter(static_cast<double>(3 * passes) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RegisterLoop)->Arg(30000000)->Unit(benchmark::kMillisecond);

void BM_RegisterLoopLiteral(benchmark::State& state) {
  const int64_t passes = state.range(0);
  Text source = RegisterLoop(passes);
  for (auto _ : state) RunToEnd(source, true);
  state.counters["instructions/s"] =
      benchmark::Counter(static_cast<double>(3 * passes) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RegisterLoopLiteral)->Arg(300000)->Unit(benchmark::kMillisecond);

// bench/pelko/array_loop.pel: 200 passes of 9 rows over 100 elements, plus 3 rows per pass.
constexpr double kArrayLoopRows = 200.0 * (100.0 * 9.0 + 4.0);

void ArrayLoop(benchmark::State& state, bool literal) {
  Text source = DecodeBytes(ReadFile(BenchProgram("array_loop.pel")));
  std::FILE* sink = std::tmpfile();
  SetConsoleStreams(nullptr, sink, nullptr);
  for (auto _ : state) RunToEnd(source, literal);
  SetConsoleStreams(nullptr, nullptr, nullptr);
  std::fclose(sink);
  state.counters["instructions/s"] =
      benchmark::Counter(kArrayLoopRows * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ArrayLoop(benchmark::State& state) { ArrayLoop(state, false); }
BENCHMARK(BM_ArrayLoop)->Unit(benchmark::kMillisecond);

void BM_ArrayLoopLiteral(benchmark::State& state) { ArrayLoop(state, true); }
BENCHMARK(BM_ArrayLoopLiteral)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
