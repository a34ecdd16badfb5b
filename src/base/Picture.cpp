#include "base/Picture.h"

#include <algorithm>
#include <cstring>

#include "base/DrawLog.h"

namespace tolvaro {
namespace {

struct Span {
  int srcX, srcY, dstX, dstY, w, h;
};

// Clips a w x h copy from the source's origin to (x, y) against both pictures.
bool clipCopy(const Picture& target, const Picture& source, int x, int y, int w, int h,
              Span& span) {
  if (source.empty() || target.empty()) return false;
  w = std::min(w, source.width);
  h = std::min(h, source.height);
  int srcX = 0, srcY = 0;
  if (x < 0) {
    srcX = -x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    srcY = -y;
    h += y;
    y = 0;
  }
  w = std::min(w, target.width - x);
  h = std::min(h, target.height - y);
  if (w <= 0 || h <= 0) return false;
  span = {srcX, srcY, x, y, w, h};
  return true;
}

}  // namespace

void copyOpaque(Picture& target, const Picture& source, int x, int y, int w, int h) {
  Span s;
  if (!clipCopy(target, source, x, y, w, h, s)) return;
  noteDrawn(target, {s.dstX, s.dstY, s.w, s.h});
  for (int row = 0; row < s.h; ++row) {
    std::memcpy(target.ptr(s.dstX, s.dstY + row), source.ptr(s.srcX, s.srcY + row),
                static_cast<std::size_t>(s.w) * sizeof(std::uint32_t));
  }
}

void copyKeyed(Picture& target, const Picture& source, int x, int y, int w, int h,
               std::uint32_t key) {
  Span s;
  if (!clipCopy(target, source, x, y, w, h, s)) return;
  noteDrawn(target, PixelRect{s.dstX, s.dstY, s.w, s.h});
  for (int row = 0; row < s.h; ++row) {
    const std::uint32_t* from = source.ptr(s.srcX, s.srcY + row);
    std::uint32_t* to = target.ptr(s.dstX, s.dstY + row);
    for (int i = 0; i < s.w; ++i) {
      if (from[i] != key) to[i] = from[i];
    }
  }
}

void fillRect(Picture& target, int left, int top, int right, int bottom, std::uint32_t colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, target.width);
  bottom = std::min(bottom, target.height);
  if (left >= right || top >= bottom) return;
  noteDrawn(target, {left, top, right - left, bottom - top});
  // Full-width rows are one run of memory; black, the only fill colour of the game, is a memset.
  const bool wholeRows = left == 0 && right == target.width;
  const int runs = wholeRows ? 1 : bottom - top;
  const std::size_t runLength = wholeRows ? static_cast<std::size_t>(right) * (bottom - top)
                                          : static_cast<std::size_t>(right - left);
  for (int run = 0; run < runs; ++run) {
    std::uint32_t* start = target.ptr(left, top + run);
    if (colour == 0) {
      std::memset(start, 0, runLength * sizeof(std::uint32_t));
    } else {
      std::fill_n(start, runLength, colour);
    }
  }
}

Picture stretched(const Picture& source, int width, int height) {
  if (source.empty() || width <= 0 || height <= 0) return {};
  if (source.width == width && source.height == height) return source;
  Picture out(width, height);
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>(static_cast<long long>(y) * source.height / height);
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>(static_cast<long long>(x) * source.width / width);
      out.at(x, y) = source.at(sx, sy);
    }
  }
  return out;
}

}  // namespace tolvaro
