// Loading zunt scripts: the built program run on a 2-million-line script and on declarations of
// 3-million-element arrays, each ending at its first line. Wall time and peak resident memory per
// run, and the peak against the script's size. ZUNT_BINARY names another zunt to measure.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/child_run.h"

namespace {

// The zunt built next to this benchmark, unless ZUNT_BINARY names another.
std::string ZuntBinary() {
  if (const char* named = std::getenv("ZUNT_BINARY")) return named;
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "zunt" / "zunt";
}

std::string ScriptPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("zunt-load-" + name + ".cf")).string();
}

// Lines of the kinds a script holds, in turn, after an "end" that stops the run at once.
std::string WriteManyLines(int count) {
  std::string path = ScriptPath("lines");
  std::ofstream file(path, std::ios::binary);
  file << "end\n";
  for (int i = 1; i < count; ++i) {
    switch (i % 8) {
      case 0: file << "#l" << i << '\n'; break;
      case 1: file << "int v" << i << " = " << i << '\n'; break;
      case 2: file << "if v" << i << " < 10\n"; break;
      case 3: file << "endif\n"; break;
      case 4: file << "print \"hello\",10,20\n"; break;
      case 5: file << "; a comment\n"; break;
      default: file << "x = x + " << i << '\n';
    }
  }
  return path;
}

std::string WriteDeclarations(int elements) {
  std::string path = ScriptPath("declarations");
  std::ofstream file(path, std::ios::binary);
  std::string n = std::to_string(elements), last = std::to_string(elements - 1);
  file << "int dim a[" << n << "]\nfloat dim f[" << n << "]\nstring dim s[" << n << "]\n"
       << "a[" << last << "] = 1\nf[" << last << "] = 1.5\ns[" << last << "] = \"x\"\n"
       << "int v = a[" << last << "]\nend\n";
  return path;
}

void Measure(benchmark::State& state, const std::string& script) {
  double size = static_cast<double>(std::filesystem::file_size(script)) / (1024.0 * 1024.0);
  double peak = 0;
  for (auto _ : state) {
    bench::ChildRun run = bench::RunChild(ZuntBinary(), script);
    state.SetIterationTime(run.wallSeconds);
    peak = run.peakMegabytes;
  }
  state.counters["script_MB"] = size;
  state.counters["peak_MB"] = peak;
  if (size >= 1) state.counters["peak_per_script_MB"] = peak / size;
}

void BM_TwoMillionLines(benchmark::State& state) { Measure(state, WriteManyLines(2000000)); }
BENCHMARK(BM_TwoMillionLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ThreeMillionElements(benchmark::State& state) { Measure(state, WriteDeclarations(3000000)); }
BENCHMARK(BM_ThreeMillionElements)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
