// Paced presenting in a real window: 600 frames at 60 hertz (10 s) with a little drawing each,
// reporting frames per second, the longest frame and the CPU share of one core. Run it with a
// display, e.g. scripts/with-xvfb.sh build/bench/present_bench; without one the window lives in
// memory and only the pacing is measured.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

#include "runtime/process.h"
#include "runtime/window.h"

using namespace orvelt;

namespace {

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void BM_PacedPresent60Hz(benchmark::State& state) {
  SetWindowTitle(u"Orvelt Messung");
  OpenGraphicsWindow(640, 480, 0, 60);
  int frame = 0;
  double longest = 0;
  double startWall = Seconds(CLOCK_MONOTONIC), startCpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  double last = startWall;
  for (auto _ : state) {
    ClearCanvas();
    DrawFilledRect(static_cast<float>(frame % 600), 200, 40, 40);
    DrawTextAt(u"Bild", 10, 10);
    PresentCanvas(-1);
    benchmark::DoNotOptimize(KeyHitCount(27));
    double now = Seconds(CLOCK_MONOTONIC);
    longest = std::max(longest, now - last);
    last = now;
    ++frame;
  }
  double wall = Seconds(CLOCK_MONOTONIC) - startWall, cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - startCpu;
  state.counters["fps"] = frame / wall;
  state.counters["longest_ms"] = longest * 1000;
  state.counters["cpu_percent"] = 100 * cpu / wall;
  state.counters["real_window"] = HasKeySource() ? 1 : 0;
  RunEndHooks();
}
BENCHMARK(BM_PacedPresent60Hz)->Iterations(600)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
