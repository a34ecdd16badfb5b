// Pictures and the drawing operations of the game: opaque and colour-keyed copies and fills,
// all clipped, on 0x00RRGGBB pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace tolvaro {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

constexpr std::uint32_t rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b);
}

// A picture of its own size; an empty one stands for a picture that could not be loaded,
// and every operation draws nothing from it.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  Picture() = default;
  Picture(int w, int h, std::uint32_t fill = kBlack)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

  bool empty() const { return pixels.empty(); }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  const std::uint32_t* ptr(int x, int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width + x;
  }
  std::uint32_t* ptr(int x, int y) {
    return pixels.data() + static_cast<std::size_t>(y) * width + x;
  }
  PixelView view() const { return {pixels.data(), width, height}; }
  void clear() {
    width = height = 0;
    pixels.clear();
  }
};

// Copies the w x h block at the source's top-left corner to (x, y). The block is clipped to the
// source picture as well as to the target, so a block larger than its picture copies the picture.
void copyOpaque(Picture& target, const Picture& source, int x, int y, int w, int h);
inline void copyOpaque(Picture& target, const Picture& source, int x, int y) {
  copyOpaque(target, source, x, y, source.width, source.height);
}

// Where copyOpaque(target, source, x, y, w, h) writes; empty for nowhere.
PixelRect copiedArea(const Picture& target, const Picture& source, int x, int y, int w, int h);

// As copyOpaque, from (sourceX, sourceY) of the source on.
void copyOpaqueFrom(Picture& target, const Picture& source, int sourceX, int sourceY, int x, int y,
                    int w, int h);

// As copyOpaque, leaving out every pixel of the key colour.
void copyKeyed(Picture& target, const Picture& source, int x, int y, int w, int h,
               std::uint32_t key);
inline void copyKeyed(Picture& target, const Picture& source, int x, int y, std::uint32_t key) {
  copyKeyed(target, source, x, y, source.width, source.height, key);
}

// Fills left <= x < right, top <= y < bottom; an empty or inverted rectangle fills nothing.
void fillRect(Picture& target, int left, int top, int right, int bottom, std::uint32_t colour);

// Nearest-neighbour resize, as a bitmap file loaded at a given size is stretched.
Picture stretched(const Picture& source, int width, int height);

}  // namespace tolvaro
