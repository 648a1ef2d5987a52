// zunt's speed: the counting loop in executed lines per second, the same loop once a declaration
// has run 100,000 times before it, expression evaluation alone, and the peak memory of a run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "runtime/console.h"
#include "runtime/text.h"
#include "zunt/script.h"

using namespace orvelt;

namespace {

// The scripts stand next to this file.
std::string ScriptsDirectory() {
  std::string here = __FILE__;
  return here.substr(0, here.rfind('/') + 1) + "zunt/";
}

// The console goes nowhere while scripts run, so that printing is not measured.
class QuietConsole {
 public:
  QuietConsole() : null_(std::fopen("/dev/null", "w")) { SetConsoleStreams(nullptr, null_, null_); }
  ~QuietConsole() {
    SetConsoleStreams(nullptr, nullptr, nullptr);
    std::fclose(null_);
  }

 private:
  std::FILE* null_;
};

double RunSeconds(const std::string& script) {
  zunt::TScript s;
  s.Load(TextFromLatin1(ScriptsDirectory() + script), 100);
  auto start = std::chrono::steady_clock::now();
  s.Execute();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The counting loop runs three lines a round: the assignment, the test and the jump (which goes on
// after the label line, so the label itself runs once).
constexpr double kLoopLines = 200000.0 * 3;

void BM_CountingLoop(benchmark::State& state) {
  QuietConsole quiet;
  for (auto _ : state) state.SetIterationTime(RunSeconds("counting_loop.cf"));
  state.counters["lines/s"] = benchmark::Counter(kLoopLines * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountingLoop)->UseManualTime()->Unit(benchmark::kMillisecond);

// Only the counting loop is timed: the run that grows the lists without it is subtracted.
void BM_CountingLoopAfterGrowth(benchmark::State& state) {
  QuietConsole quiet;
  for (auto _ : state) {
    double withLoop = RunSeconds("grown_loop.cf");
    double without = RunSeconds("grown_only.cf");
    state.SetIterationTime(withLoop > without ? withLoop - without : 1e-9);
  }
  state.counters["lines/s"] = benchmark::Counter(kLoopLines * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountingLoopAfterGrowth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Calc2(benchmark::State& state) {
  zunt::TScript s;
  for (int k = 0; k < 10; ++k) s.IVars.push_back({Text(1, static_cast<char16_t>(u'a' + k)), k});
  Text expr = u"a + b * 2 - c";
  for (auto _ : state) benchmark::DoNotOptimize(s.Calc2(expr));
}
BENCHMARK(BM_Calc2);

// The peak resident memory of the whole benchmark process so far, in kilobytes.
void BM_PeakMemory(benchmark::State& state) {
  QuietConsole quiet;
  for (auto _ : state) RunSeconds("grown_loop.cf");
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) state.counters["peak_kB"] = std::stod(line.substr(6));
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
