// Feeds arbitrary bytes to the animated-cursor parser of the Linux desktop host, and through it
// to the icon decoder: any bytes give a cursor or none. A cursor's every step names one of its
// frames and lasts at least a millisecond, and every frame holds its pixels.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "hosts/sdl/AnimatedCursor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto cursor = tolvaro::sdl::parseAnimatedCursor(std::span<const std::uint8_t>(data, size));
  if (!cursor) return 0;
  if (cursor->frames.empty() || cursor->steps.empty()) std::abort();
  for (const auto& frame : cursor->frames) {
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.rgba.size() != static_cast<std::size_t>(frame.width) * frame.height * 4) {
      std::abort();
    }
  }
  for (const auto& step : cursor->steps) {
    if (step.frame < 0 || step.frame >= static_cast<int>(cursor->frames.size()) ||
        step.milliseconds < 1) {
      std::abort();
    }
  }
  const int loop = cursor->loopMilliseconds();
  for (std::int64_t at : {std::int64_t{0}, std::int64_t{loop} - 1, std::int64_t{loop} * 3 + 7}) {
    const int step = cursor->stepAt(at);
    if (step < 0 || step >= static_cast<int>(cursor->steps.size())) std::abort();
  }
  return 0;
}
