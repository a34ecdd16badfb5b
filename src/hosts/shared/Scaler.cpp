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

void fillTaps(std::vector<Tap>& out, int sourceLength, int targetLength) {
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

// The taps of both axes for one picture size in one target size, worked out once: a window
// keeps its size for long.
struct Plan {
  int pictureWidth = -1, pictureHeight = -1, targetWidth = -1, targetHeight = -1;
  std::vector<Tap> columns, rows;
};

const Plan& planFor(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight) {
  // The window's, and the odd other picture's (the dialog's face).
  thread_local Plan plans[2];
  thread_local int older = 0;
  for (const Plan& plan : plans) {
    if (plan.pictureWidth == pictureWidth && plan.pictureHeight == pictureHeight &&
        plan.targetWidth == targetWidth && plan.targetHeight == targetHeight) {
      return plan;
    }
  }
  Plan& plan = plans[older];
  older = 1 - older;
  plan = {pictureWidth, pictureHeight, targetWidth, targetHeight, {}, {}};
  fillTaps(plan.columns, pictureWidth, targetWidth);
  fillTaps(plan.rows, pictureHeight, targetHeight);
  return plan;
}

// Red and blue travel together in one word, green in another.
inline std::uint32_t blend(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
  const std::uint32_t rb = ((a & 0xFF00FFu) * (256 - weight) + (b & 0xFF00FFu) * weight) >> 8;
  const std::uint32_t g = ((a & 0x00FF00u) * (256 - weight) + (b & 0x00FF00u) * weight) >> 8;
  return (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

// One picture row blended across at the target columns [x0, x1).
void scaleRowAcross(const std::uint32_t* source, const Tap* columns, int count,
                    std::uint32_t* out) {
  for (int x = 0; x < count; ++x) {
    out[x] = blend(source[columns[x].near], source[columns[x].far], columns[x].weight);
  }
}

// Two rows already blended across, blended down; a weight of 0 is the upper row as it is.
void blendRowsDown(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t weight,
                   int count, std::uint32_t* out) {
  if (weight == 0) {
    std::memcpy(out, upper, static_cast<std::size_t>(count) * 4);
    return;
  }
  // Two pixels at a time, each channel in a 16-bit lane of its own, which the products
  // (at most 255 * 256) never overflow: the same sums as blend, pixel for pixel.
  constexpr std::uint64_t kRedBlue = 0x00FF00FF00FF00FFull, kGreen = 0x0000FF000000FF00ull;
  int x = 0;
  for (; x + 2 <= count; x += 2) {
    std::uint64_t a, b;
    std::memcpy(&a, upper + x, 8);
    std::memcpy(&b, lower + x, 8);
    const std::uint64_t rb = ((a & kRedBlue) * (256 - weight) + (b & kRedBlue) * weight) >> 8;
    const std::uint64_t g = ((a & kGreen) * (256 - weight) + (b & kGreen) * weight) >> 8;
    const std::uint64_t two = (rb & kRedBlue) | (g & kGreen);
    std::memcpy(out + x, &two, 8);
  }
  if (x < count) out[x] = blend(upper[x], lower[x], weight);
}

// Fills the window pixels target.x + [x0, x1) by target.y + [y0, y1) from the picture, each as the
// whole-picture scale makes it: across first, each picture row once, then down.
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
  const Plan& plan = planFor(picture.width, picture.height, target.w, target.h);
  const Tap* columns = plan.columns.data() + x0;
  const std::vector<Tap>& rows = plan.rows;
  const int count = x1 - x0;
  // The picture rows blended across, by the picture row they come from; the rows a target row
  // reads never go back up, so two are enough.
  thread_local std::vector<std::uint32_t> across[2];
  int acrossRow[2] = {-1, -1};
  const auto blendedAcross = [&](int sourceRow) -> const std::uint32_t* {
    for (int i = 0; i < 2; ++i) {
      if (acrossRow[i] == sourceRow) return across[i].data();
    }
    const int slot = acrossRow[0] < acrossRow[1] ? 0 : 1;  // the upper one is done with
    across[slot].resize(static_cast<std::size_t>(count));
    scaleRowAcross(picture.pixels + static_cast<std::size_t>(sourceRow) * picture.width, columns,
                   count, across[slot].data());
    acrossRow[slot] = sourceRow;
    return across[slot].data();
  };
  for (int y = y0; y < y1; ++y) {
    const Tap& r = rows[static_cast<std::size_t>(y)];
    const std::uint32_t* upper = blendedAcross(r.near);
    const std::uint32_t* lower = r.weight == 0 ? upper : blendedAcross(r.far);
    blendRowsDown(upper, lower, r.weight, count, row(target.y + y) + target.x + x0);
  }
}

// The target positions [first, end) whose taps read a source position in [from, to).
std::pair<int, int> reach(const std::vector<Tap>& line, int sourceLength, int from, int to) {
  if (sourceLength == static_cast<int>(line.size())) return {from, to};
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
  const Plan& plan = planFor(picture.width, picture.height, target.w, target.h);
  const auto [x0, x1] = reach(plan.columns, picture.width, left, right);
  const auto [y0, y1] = reach(plan.rows, picture.height, top, bottom);
  scaleBlock(picture, window, windowWidth, target, x0, x1, y0, y1);
  return {target.x + x0, target.y + y0, x1 - x0, y1 - y0};
}

}  // namespace tolvaro::hosts
