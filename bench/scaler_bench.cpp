// The desktop hosts' cost of fitting one 1024 x 768 frame to a whole screen: the bilinear scale
// with its black bars, per frame, at the screens players have, against the plain copy at 1:1.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "hosts/shared/Letterbox.h"
#include "hosts/shared/Scaler.h"

namespace {

using namespace tolvaro;

void BM_ScaleFrameToScreen(benchmark::State& state) {
  const int screenWidth = static_cast<int>(state.range(0));
  const int screenHeight = static_cast<int>(state.range(1));
  std::vector<std::uint32_t> picture(1024 * 768);
  for (std::size_t i = 0; i < picture.size(); ++i) {
    picture[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFFu;
  }
  std::vector<std::uint32_t> screen(static_cast<std::size_t>(screenWidth) * screenHeight);
  const hosts::Rect place = hosts::Letterbox(1024, 768, screenWidth, screenHeight).picture();
  for (auto _ : state) {
    hosts::scaleInto({picture.data(), 1024, 768}, screen.data(), screenWidth, screenHeight, place);
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.counters["screen_pixels"] = static_cast<double>(screen.size());
}
BENCHMARK(BM_ScaleFrameToScreen)
    ->Args({1024, 768})
    ->Args({1366, 768})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
