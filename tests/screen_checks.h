// Checks of what a screen shows: whether a picture of the catalogue sits in the back buffer at a
// position, opaque or colour-keyed, where text lies, and which sounds were played. Rows are
// compared as runs of memory, so that checks made every frame stay cheap in sanitizer builds.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "assets/Catalogue.h"
#include "frame/Frame.h"
#include "hosts/headless/HeadlessHost.h"

namespace tolvaro::testing {

// Columns [from, to) of the picture's row equal the back buffer from (x, y); false when a
// pixel of them lies off the screen.
inline bool rowShown(const Picture& picture, int row, int from, int to, int x, int y) {
  if (from >= to) return true;
  if (y < 0 || y >= g_backBuffer.height || x + from < 0 || x + to > g_backBuffer.width) {
    return false;
  }
  return std::equal(picture.ptr(from, row), picture.ptr(to, row), g_backBuffer.ptr(x + from, y));
}

// Every pixel of the picture that lands on the screen (clipped to w x h) equals the back
// buffer; pixels of `key` are skipped when keyed. False for an empty picture or one wholly off
// the screen, so missing art fails instead of passing.
inline bool pictureAt(const Picture& picture, int x, int y, int w, int h, bool keyed = false,
                      std::uint32_t key = kBlack) {
  if (picture.empty()) return false;
  const int left = std::max(0, -x), top = std::max(0, -y);
  const int right = std::min({w, picture.width, g_backBuffer.width - x});
  const int bottom = std::min({h, picture.height, g_backBuffer.height - y});
  if (left >= right || top >= bottom) return false;
  bool compared = !keyed;
  for (int row = top; row < bottom; ++row) {
    if (!keyed) {
      if (!rowShown(picture, row, left, right, x, y + row)) return false;
      continue;
    }
    const std::uint32_t* source = picture.ptr(left, row);
    const std::uint32_t* shown = g_backBuffer.ptr(x + left, y + row);
    for (int i = 0; i < right - left; ++i) {
      if (source[i] == key) continue;
      if (shown[i] != source[i]) return false;
      compared = true;
    }
  }
  return compared;
}
inline bool pictureAt(const Picture& picture, int x, int y) {
  return pictureAt(picture, x, y, picture.width, picture.height);
}
inline bool keyedPictureAt(const Picture& picture, int x, int y, std::uint32_t key) {
  return pictureAt(picture, x, y, picture.width, picture.height, true, key);
}

// The back buffer in the rectangle equals the same rectangle of a full-screen picture.
inline bool sameAsBackground(const Picture& background, int left, int top, int right, int bottom) {
  if (background.empty()) return false;
  left = std::max(left, 0);
  right = std::min(right, g_backBuffer.width);
  for (int y = std::max(top, 0); y < std::min(bottom, g_backBuffer.height); ++y) {
    if (!rowShown(background, y, left, right, 0, y)) return false;
  }
  return true;
}

// Pixels of the colour in the rectangle.
inline int countColour(std::uint32_t colour, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    count += static_cast<int>(std::count(g_backBuffer.ptr(left, y), g_backBuffer.ptr(right, y),
                                         colour));
  }
  return count;
}

// Every pixel of the rectangle has the colour.
inline bool allColour(std::uint32_t colour, int left, int top, int right, int bottom) {
  return countColour(colour, left, top, right, bottom) == (right - left) * (bottom - top);
}

// The leftmost x from `from` to 1004 (so at least 20 columns on the screen) at which the picture
// stands at row y, whole or clipped by the right edge; -1 when it is nowhere.
inline int leftmostX(const Picture& picture, int y, int from) {
  for (int x = from; x <= 1004; ++x) {
    if (pictureAt(picture, x, y)) return x;
  }
  return -1;
}

constexpr int kMenuItemY[5] = {200, 280, 360, 440, 520};

// Where main-menu item k (normal or hovered) stands.
inline int menuItemX(int k, bool hovered = false) {
  return leftmostX(g_menuItemPictures[k][hovered ? 1 : 0], kMenuItemY[k], 560);
}

inline int countSound(const HeadlessHost& host, SoundCall call, std::size_t from = 0) {
  return static_cast<int>(
      std::count(host.sounds.begin() + static_cast<std::ptrdiff_t>(from), host.sounds.end(), call));
}

inline std::vector<SoundCall> soundsSince(const HeadlessHost& host, std::size_t from) {
  return {host.sounds.begin() + static_cast<std::ptrdiff_t>(from), host.sounds.end()};
}

}  // namespace tolvaro::testing
