// Checks of what a screen shows: whether a picture of the catalogue sits in the back buffer at a
// position, opaque or colour-keyed, and which sounds were played.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/Program.h"
#include "hosts/headless/HeadlessHost.h"

namespace tolvaro::testing {

// Every pixel of the picture that lands on the screen (clipped to w x h) equals the back
// buffer; pixels of `key` are skipped when keyed. False for an empty picture or one wholly off
// the screen, so missing art fails instead of passing.
inline bool pictureAt(const Picture& picture, int x, int y, int w, int h, bool keyed = false,
                      std::uint32_t key = kBlack) {
  if (picture.empty()) return false;
  w = std::min(w, picture.width);
  h = std::min(h, picture.height);
  int compared = 0;
  for (int row = 0; row < h; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= g_backDC.height) continue;
    for (int col = 0; col < w; ++col) {
      const int tx = x + col;
      if (tx < 0 || tx >= g_backDC.width) continue;
      const std::uint32_t source = picture.at(col, row);
      if (keyed && source == key) continue;
      if (g_backDC.at(tx, ty) != source) return false;
      ++compared;
    }
  }
  return compared > 0;
}
inline bool pictureAt(const Picture& picture, int x, int y) {
  return pictureAt(picture, x, y, picture.width, picture.height);
}
inline bool keyedPictureAt(const Picture& picture, int x, int y, std::uint32_t key) {
  return pictureAt(picture, x, y, picture.width, picture.height, true, key);
}

// As pictureAt for an opaque picture, leaving out the hole (picture coordinates, right and
// bottom exclusive) where something else is drawn over it.
inline bool pictureAtExcept(const Picture& picture, int x, int y, int holeLeft, int holeTop,
                            int holeRight, int holeBottom) {
  if (picture.empty()) return false;
  for (int row = 0; row < picture.height; ++row) {
    for (int col = 0; col < picture.width; ++col) {
      if (col >= holeLeft && col < holeRight && row >= holeTop && row < holeBottom) continue;
      const int tx = x + col, ty = y + row;
      if (tx < 0 || ty < 0 || tx >= g_backDC.width || ty >= g_backDC.height) return false;
      if (g_backDC.at(tx, ty) != picture.at(col, row)) return false;
    }
  }
  return true;
}

// The back buffer in the rectangle equals the same rectangle of a full-screen picture.
inline bool sameAsBackground(const Picture& background, int left, int top, int right, int bottom) {
  if (background.empty()) return false;
  for (int y = std::max(top, 0); y < std::min(bottom, g_backDC.height); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, g_backDC.width); ++x) {
      if (g_backDC.at(x, y) != background.at(x, y)) return false;
    }
  }
  return true;
}

// Pixels of the colour in the rectangle.
inline int countColour(std::uint32_t colour, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += g_backDC.at(x, y) == colour;
  }
  return count;
}

inline bool allColour(std::uint32_t colour, int left, int top, int right, int bottom) {
  return countColour(colour, left, top, right, bottom) == (right - left) * (bottom - top);
}

inline int countSound(const HeadlessHost& host, SoundCall call, std::size_t from = 0) {
  return static_cast<int>(
      std::count(host.sounds.begin() + static_cast<std::ptrdiff_t>(from), host.sounds.end(), call));
}

inline std::vector<SoundCall> soundsSince(const HeadlessHost& host, std::size_t from) {
  return {host.sounds.begin() + static_cast<std::ptrdiff_t>(from), host.sounds.end()};
}

}  // namespace tolvaro::testing
