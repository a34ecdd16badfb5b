// Animated cursors (RIFF "ACON" files): the frames and the order and pace in which they show.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "hosts/sdl/IconFile.h"

namespace tolvaro::sdl {

struct CursorStep {
  int frame = 0;         // index into AnimatedCursor::frames
  int milliseconds = 0;  // how long the step shows, at least 1
};

struct AnimatedCursor {
  std::vector<IconImage> frames;
  std::vector<CursorStep> steps;  // played in a loop
  int loopMilliseconds() const;
  // The step showing `elapsedMs` after the animation started.
  int stepAt(std::int64_t elapsedMs) const;
};

// Parses anih, the LIST "fram" of icon chunks, and the optional "rate" and "seq " chunks.
// Rates are in jiffies (1/60 s). nullopt when anything needed is missing or out of range.
std::optional<AnimatedCursor> parseAnimatedCursor(std::span<const std::uint8_t> file);

}  // namespace tolvaro::sdl
