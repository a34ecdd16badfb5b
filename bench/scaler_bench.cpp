// The desktop hosts' cost of fitting one 1024 x 768 frame to a whole screen: the bilinear scale
// with its black bars, per frame, at the screens players have, against the plain copy at 1:1;
// the rescale of one typical changed patch; and a plain 3 MiB copy as the yardstick.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "hosts/shared/Letterbox.h"
#include "hosts/shared/Scaler.h"

namespace {

using namespace tolvaro;

std::vector<std::uint32_t> noisyPicture() {
  std::vector<std::uint32_t> picture(1024 * 768);
  for (std::size_t i = 0; i < picture.size(); ++i) {
    picture[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFFu;
  }
  return picture;
}

void BM_ScaleFrameToScreen(benchmark::State& state) {
  const int screenWidth = static_cast<int>(state.range(0));
  const int screenHeight = static_cast<int>(state.range(1));
  const std::vector<std::uint32_t> picture = noisyPicture();
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
    ->Args({2560, 1440})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

// A 100 x 60 patch of the picture changed (a bug moving), rescaled into a 1920 x 1080 screen.
void BM_ScaleChangedPatch(benchmark::State& state) {
  const std::vector<std::uint32_t> picture = noisyPicture();
  std::vector<std::uint32_t> screen(1920 * 1080);
  const hosts::Rect place = hosts::Letterbox(1024, 768, 1920, 1080).picture();
  for (auto _ : state) {
    benchmark::DoNotOptimize(hosts::scaleChanged({picture.data(), 1024, 768}, screen.data(), 1920,
                                                 place, {400, 300, 100, 60}));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ScaleChangedPatch)->Unit(benchmark::kMicrosecond);

// The yardstick: one plain copy of 3 MiB (a 1024 x 768 frame).
void BM_Memcpy3MiB(benchmark::State& state) {
  const std::vector<std::uint32_t> from = noisyPicture();
  std::vector<std::uint32_t> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * 4);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Memcpy3MiB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
