// The built pelko on large work, one process per run: loading a 2-million-line source and a
// 3-million-element declaration (each program ends at once), appending one character 1,000,000
// and 4,000,000 times to a string cell, and doubling a string 25 times (2^25 characters). The time is the run's
// CPU time (user + system), reported with its wall time and peak resident memory, and, for
// loading, the peak against the source's size. PELKO_BINARY names another pelko to measure.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/child_run.h"

namespace {

std::string PelkoBinary() {
  if (const char* named = std::getenv("PELKO_BINARY")) return named;
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "pelko" / "pelko";
}

std::string SourcePath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("pelko-large-" + name + ".pel")).string();
}

std::string Write(const std::string& name, const std::string& text) {
  std::string path = SourcePath(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Rows of the kinds a program holds, in turn, after an "end" that stops the run at once.
std::string WriteManyLines(int count) {
  std::string path = SourcePath("lines");
  std::ofstream file(path, std::ios::binary);
  file << ".data\n";
  for (int i = 0; i < 100; ++i) file << "v" << i << " int " << i << "\n";
  file << ".text\nmain:\nend\n";
  for (int i = 104; i < count; ++i) {
    switch (i % 8) {
      case 0: file << "l" << i << ":\n"; break;
      case 1: file << "  mov cx, v" << i % 100 << "\n"; break;
      case 2: file << "  cmp cx, 10\n"; break;
      case 3: file << "  jg l" << i - 3 << "\n"; break;
      case 4: file << "  add dx, \"text\"\n"; break;
      case 5: file << "  ' a comment\n"; break;
      case 6: file << "  push v" << i % 100 << "\n"; break;
      default: file << "  pop\n";
    }
  }
  return path;
}

void Measure(benchmark::State& state, const std::string& source, bool loading = false) {
  bench::ChildRun run;
  for (auto _ : state) {
    run = bench::RunChild(PelkoBinary(), source);
    if (!run.succeeded) {
      state.SkipWithError("pelko failed");
      return;
    }
    state.SetIterationTime(run.cpuSeconds);
  }
  state.counters["wall_s"] = run.wallSeconds;
  state.counters["peak_MB"] = run.peakMegabytes;
  if (!loading) return;
  double sourceMegabytes = static_cast<double>(std::filesystem::file_size(source)) / (1024.0 * 1024.0);
  state.counters["source_MB"] = sourceMegabytes;
  state.counters["peak_per_source"] = run.peakMegabytes / sourceMegabytes;
}

void BM_LoadTwoMillionLines(benchmark::State& state) { Measure(state, WriteManyLines(2000000), true); }
BENCHMARK(BM_LoadTwoMillionLines)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DeclareThreeMillionElements(benchmark::State& state) {
  Measure(state, Write("declaration", ".data\na[3000000] int 0\n.text\nmov cx, a[2999999]\n"), true);
}
BENCHMARK(BM_DeclareThreeMillionElements)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// One character at a time, 1 and 4 million times: the cost must grow with what is appended, not
// with the cell's length, so four times the appends take about four times as long.
void BM_AppendOneCharacter(benchmark::State& state) {
  Measure(state, Write("append", ".data\nn int 0\ns string \"\"\n.text\nloop:\nadd s, \"x\"\ninc n\ncmp n, " +
                                     std::to_string(state.range(0)) + "\njg loop\n"));
}
BENCHMARK(BM_AppendOneCharacter)->Arg(1000000)->Arg(4000000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// 2^25 characters, 64 MiB of text at the end.
void BM_DoubleAStringTwentyFiveTimes(benchmark::State& state) {
  Measure(state, Write("doubling", ".data\nn int 0\n.text\nmov dx, \"x\"\nloop:\nadd dx, dx\ninc n\n"
                                   "cmp n, 25\njg loop\n"));
}
BENCHMARK(BM_DoubleAStringTwentyFiveTimes)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
