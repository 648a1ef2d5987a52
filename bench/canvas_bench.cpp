// The software canvas under load: a frame of a clear, 1,000 filled 10x10 rectangles and 100 lines
// of text on 640x480, and the single shapes, through the public drawing operations.
#include <benchmark/benchmark.h>

#include <vector>

#include "runtime/random.h"
#include "runtime/window.h"
#include "tests/testlib/runtime/memory_display.h"

using namespace orvelt;

namespace {

struct Spot {
  float x, y;
  int r, g, b;
};

std::vector<Spot> Spots(int count) {
  SeedRandom(1234);
  std::vector<Spot> spots;
  for (int i = 0; i < count; ++i)
    spots.push_back({static_cast<float>(RandomInt(-5, 635)), static_cast<float>(RandomInt(-5, 475)),
                     RandomInt(0, 255), RandomInt(0, 255), RandomInt(0, 255)});
  return spots;
}

class MemoryWindow {
 public:
  MemoryWindow() {
    orvelt::memory::Install();
    OpenGraphicsWindow(640, 480, 0, 0);
  }
  ~MemoryWindow() { orvelt::memory::Remove(); }
};

void BM_Frame(benchmark::State& state) {
  MemoryWindow window;
  std::vector<Spot> spots = Spots(1000);
  const Text line = u"Punkte: 12345  Leben: 3  Level: 7  Zeit: 01:23";
  for (auto _ : state) {
    ClearCanvas();
    for (const Spot& spot : spots) {
      SetDrawColor(spot.r, spot.g, spot.b);
      DrawFilledRect(spot.x, spot.y, 10, 10);
    }
    SetDrawColor(255, 255, 255);
    for (int i = 0; i < 100; ++i) DrawTextAt(line, 4, static_cast<float>(i * 5 % 470));
    benchmark::DoNotOptimize(orvelt::memory::CanvasPixel(0, 0));
  }
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond);

void BM_Clear(benchmark::State& state) {
  MemoryWindow window;
  for (auto _ : state) ClearCanvas();
}
BENCHMARK(BM_Clear)->Unit(benchmark::kMicrosecond);

void BM_FilledOval100x60(benchmark::State& state) {
  MemoryWindow window;
  for (auto _ : state) DrawFilledOval(270, 210, 100, 60);
}
BENCHMARK(BM_FilledOval100x60)->Unit(benchmark::kNanosecond);

void BM_LineAcross(benchmark::State& state) {
  MemoryWindow window;
  for (auto _ : state) DrawLineSegment(0, 0, 639, 479);
}
BENCHMARK(BM_LineAcross)->Unit(benchmark::kNanosecond);

void BM_HugeShapes(benchmark::State& state) {
  MemoryWindow window;
  for (auto _ : state) {
    DrawFilledRect(-1e9f, -1e9f, 2e9f, 2e9f);
    DrawLineSegment(-1e9f, 3, 1e9f, 400);
    DrawFilledOval(-1e9f, -1e9f, 2e9f, 2e9f);
  }
}
BENCHMARK(BM_HugeShapes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
