#include "hosts/shared/Scaler.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace tolvaro::hosts {
namespace {

// Source position and weight of the far neighbour (0..256) for each target position, with
// pixel centres lined up.
struct Tap {
  int near;
  int far;
  std::uint32_t weight;
};

void taps(std::vector<Tap>& out, int sourceLength, int targetLength) {
  out.resize(static_cast<std::size_t>(targetLength));
  for (int i = 0; i < targetLength; ++i) {
    const std::int64_t at =
        ((2 * static_cast<std::int64_t>(i) + 1) * sourceLength * 256) / (2 * targetLength) - 128;
    const std::int64_t clamped = std::clamp<std::int64_t>(at, 0, (sourceLength - 1) * 256);
    const int near = static_cast<int>(clamped >> 8);
    out[static_cast<std::size_t>(i)] = {near, std::min(near + 1, sourceLength - 1),
                                        static_cast<std::uint32_t>(clamped & 255)};
  }
}

// Red and blue travel together in one word, green in another.
inline std::uint32_t blend(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
  const std::uint32_t rb = ((a & 0xFF00FFu) * (256 - weight) + (b & 0xFF00FFu) * weight) >> 8;
  const std::uint32_t g = ((a & 0x00FF00u) * (256 - weight) + (b & 0x00FF00u) * weight) >> 8;
  return (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

// Fills the window pixels target.x + [x0, x1) by target.y + [y0, y1) from the picture, each as the
// whole-picture scale makes it.
void scaleBlock(PixelView picture, std::uint32_t* window, int windowWidth, Rect target, int x0,
                int x1, int y0, int y1) {
  const auto row = [&](int y) { return window + static_cast<std::size_t>(y) * windowWidth; };
  if (target.w == picture.width && target.h == picture.height) {
    for (int y = y0; y < y1; ++y) {
      std::memcpy(row(target.y + y) + target.x + x0,
                  picture.pixels + static_cast<std::size_t>(y) * picture.width + x0,
                  static_cast<std::size_t>(x1 - x0) * 4);
    }
    return;
  }
  // Kept between calls: the window's size rarely changes.
  thread_local std::vector<Tap> columns, rows;
  taps(columns, picture.width, target.w);
  taps(rows, picture.height, target.h);
  for (int y = y0; y < y1; ++y) {
    const Tap& r = rows[static_cast<std::size_t>(y)];
    const std::uint32_t* upper = picture.pixels + static_cast<std::size_t>(r.near) * picture.width;
    const std::uint32_t* lower = picture.pixels + static_cast<std::size_t>(r.far) * picture.width;
    std::uint32_t* out = row(target.y + y) + target.x;
    for (int x = x0; x < x1; ++x) {
      const Tap& c = columns[static_cast<std::size_t>(x)];
      const std::uint32_t top = blend(upper[c.near], upper[c.far], c.weight);
      const std::uint32_t bottom = blend(lower[c.near], lower[c.far], c.weight);
      out[x] = blend(top, bottom, r.weight);
    }
  }
}

// The target positions [first, end) whose taps read a source position in [from, to).
std::pair<int, int> reach(int sourceLength, int targetLength, int from, int to) {
  if (sourceLength == targetLength) return {from, to};
  thread_local std::vector<Tap> line;
  taps(line, sourceLength, targetLength);
  // A tap reads near and near + 1, and near never falls as the target position grows.
  const auto first = std::partition_point(line.begin(), line.end(),
                                          [&](const Tap& t) { return t.near < from - 1; });
  const auto end = std::partition_point(first, line.end(),
                                        [&](const Tap& t) { return t.near < to; });
  return {static_cast<int>(first - line.begin()), static_cast<int>(end - line.begin())};
}

}  // namespace

void scaleInto(PixelView picture, std::uint32_t* window, int windowWidth, int windowHeight,
               Rect target) {
  const auto row = [&](int y) { return window + static_cast<std::size_t>(y) * windowWidth; };
  for (int y = 0; y < windowHeight; ++y) {
    if (y < target.y || y >= target.y + target.h) {
      std::fill(row(y), row(y) + windowWidth, 0u);
    } else {
      std::fill(row(y), row(y) + target.x, 0u);
      std::fill(row(y) + target.x + target.w, row(y) + windowWidth, 0u);
    }
  }
  scaleBlock(picture, window, windowWidth, target, 0, target.w, 0, target.h);
}

Rect scaleChanged(PixelView picture, std::uint32_t* window, int windowWidth, Rect target,
                  Rect changed) {
  const int left = std::max(changed.x, 0), right = std::min(changed.x + changed.w, picture.width);
  const int top = std::max(changed.y, 0), bottom = std::min(changed.y + changed.h, picture.height);
  if (left >= right || top >= bottom) return {target.x, target.y, 0, 0};
  const auto [x0, x1] = reach(picture.width, target.w, left, right);
  const auto [y0, y1] = reach(picture.height, target.h, top, bottom);
  scaleBlock(picture, window, windowWidth, target, x0, x1, y0, y1);
  return {target.x + x0, target.y + y0, x1 - x0, y1 - y0};
}

}  // namespace tolvaro::hosts
