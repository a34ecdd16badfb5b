#include "app/Picture.h"

#include <algorithm>
#include <cstring>

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
  for (int row = 0; row < s.h; ++row) {
    std::memcpy(target.ptr(s.dstX, s.dstY + row), source.ptr(s.srcX, s.srcY + row),
                static_cast<std::size_t>(s.w) * sizeof(std::uint32_t));
  }
}

void copyKeyed(Picture& target, const Picture& source, int x, int y, int w, int h,
               std::uint32_t key) {
  Span s;
  if (!clipCopy(target, source, x, y, w, h, s)) return;
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
  for (int row = top; row < bottom; ++row) {
    std::fill_n(target.ptr(left, row), right - left, colour);
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
