#include "base/Picture.h"

#include <algorithm>
#include <cstring>

#include "base/DrawLog.h"

namespace tolvaro {
namespace {

using Pixels4 = std::uint32_t __attribute__((vector_size(16)));

struct Span {
  int srcX, srcY, dstX, dstY, w, h;
};

// Clips a w x h copy from (srcX, srcY) of the source to (x, y) against both pictures.
bool clipCopy(const Picture& target, const Picture& source, int x, int y, int w, int h,
              Span& span, int srcX = 0, int srcY = 0) {
  if (source.empty() || target.empty() || srcX < 0 || srcY < 0) return false;
  w = std::min(w, source.width - srcX);
  h = std::min(h, source.height - srcY);
  if (x < 0) {
    srcX -= x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    srcY -= y;
    h += y;
    y = 0;
  }
  w = std::min(w, target.width - x);
  h = std::min(h, target.height - y);
  if (w <= 0 || h <= 0) return false;
  span = {srcX, srcY, x, y, w, h};
  return true;
}

// Drawing notes only the rows it changed: a picture put again over itself costs a compare and
// leaves nothing for the change tracking to look at.
void noteChangedRows(Picture& target, const Span& s, int first, int last) {
  if (first >= 0) noteDrawn(target, {s.dstX, s.dstY + first, s.w, last - first + 1});
}

}  // namespace

void copyOpaque(Picture& target, const Picture& source, int x, int y, int w, int h) {
  copyOpaqueFrom(target, source, 0, 0, x, y, w, h);
}

PixelRect copiedArea(const Picture& target, const Picture& source, int x, int y, int w, int h) {
  Span s;
  if (!clipCopy(target, source, x, y, w, h, s)) return {};
  return {s.dstX, s.dstY, s.w, s.h};
}

void copyOpaqueFrom(Picture& target, const Picture& source, int sourceX, int sourceY, int x, int y,
                    int w, int h) {
  Span s;
  if (!clipCopy(target, source, x, y, w, h, s, sourceX, sourceY)) return;
  const std::size_t bytes = static_cast<std::size_t>(s.w) * sizeof(std::uint32_t);
  int first = -1, last = -1;
  for (int row = 0; row < s.h; ++row) {
    std::uint32_t* to = target.ptr(s.dstX, s.dstY + row);
    const std::uint32_t* from = source.ptr(s.srcX, s.srcY + row);
    if (std::memcmp(to, from, bytes) == 0) continue;
    std::memcpy(to, from, bytes);
    if (first < 0) first = row;
    last = row;
  }
  noteChangedRows(target, s, first, last);
}

void copyKeyed(Picture& target, const Picture& source, int x, int y, int w, int h,
               std::uint32_t key) {
  Span s;
  if (!clipCopy(target, source, x, y, w, h, s)) return;
  int first = -1, last = -1;
  for (int row = 0; row < s.h; ++row) {
    const std::uint32_t* from = source.ptr(s.srcX, s.srcY + row);
    std::uint32_t* to = target.ptr(s.dstX, s.dstY + row);
    // Four pixels a step (GCC and Clang vectors), then the rest one by one.
    Pixels4 changed4{};
    const Pixels4 key4 = Pixels4{} + key;
    int i = 0;
    for (; i + 4 <= s.w; i += 4) {
      Pixels4 was, fresh;
      std::memcpy(&was, to + i, sizeof was);
      std::memcpy(&fresh, from + i, sizeof fresh);
      const Pixels4 opaque = reinterpret_cast<Pixels4>(fresh != key4);
      const Pixels4 now = (fresh & opaque) | (was & ~opaque);
      changed4 |= was ^ now;
      std::memcpy(to + i, &now, sizeof now);
    }
    std::uint32_t differences = changed4[0] | changed4[1] | changed4[2] | changed4[3];
    for (; i < s.w; ++i) {
      const std::uint32_t was = to[i];
      const std::uint32_t now = from[i] != key ? from[i] : was;
      differences |= was ^ now;
      to[i] = now;
    }
    if (differences == 0) continue;
    if (first < 0) first = row;
    last = row;
  }
  noteChangedRows(target, s, first, last);
}

void fillRect(Picture& target, int left, int top, int right, int bottom, std::uint32_t colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, target.width);
  bottom = std::min(bottom, target.height);
  if (left >= right || top >= bottom) return;
  const Span s{left, top, left, top, right - left, bottom - top};
  const auto length = static_cast<std::size_t>(s.w);
  int first = -1, last = -1;
  for (int row = 0; row < s.h; ++row) {
    std::uint32_t* start = target.ptr(left, top + row);
    // All pixels are the first one when the run equals itself shifted by one.
    if (*start == colour && std::memcmp(start, start + 1, (length - 1) * sizeof *start) == 0) {
      continue;
    }
    // Black, the only fill colour of the game, is a memset.
    if (colour == 0) {
      std::memset(start, 0, length * sizeof(std::uint32_t));
    } else {
      std::fill_n(start, length, colour);
    }
    if (first < 0) first = row;
    last = row;
  }
  noteChangedRows(target, s, first, last);
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
