// Plain 24-bit pixel images, the common currency between the painters and the file writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvaro::assetgen {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

class RgbImage {
 public:
  RgbImage() = default;
  RgbImage(int width, int height, Rgb fill = kBlack)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Rgb& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const std::vector<Rgb>& pixels() const { return pixels_; }
  std::vector<Rgb>& pixels() { return pixels_; }

  // Copies a rectangle; parts outside the image are filled with `outside`.
  RgbImage crop(int x, int y, int width, int height, Rgb outside = kBlack) const {
    RgbImage result(width, height, outside);
    for (int row = 0; row < height; ++row) {
      for (int col = 0; col < width; ++col) {
        const int sx = x + col;
        const int sy = y + row;
        if (sx >= 0 && sy >= 0 && sx < width_ && sy < height_) result.at(col, row) = at(sx, sy);
      }
    }
    return result;
  }

  void paste(const RgbImage& source, int x, int y) {
    for (int row = 0; row < source.height(); ++row) {
      for (int col = 0; col < source.width(); ++col) {
        const int dx = x + col;
        const int dy = y + row;
        if (dx >= 0 && dy >= 0 && dx < width_ && dy < height_) at(dx, dy) = source.at(col, row);
      }
    }
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

// The pixel-wise mean of images of one size: the backdrop to pre-blend the edges of a keyed sprite
// against when it is drawn over several places.
inline RgbImage averageOf(const std::vector<RgbImage>& images) {
  RgbImage result(images.front().width(), images.front().height());
  const auto count = static_cast<unsigned>(images.size());
  for (size_t i = 0; i < result.pixels().size(); ++i) {
    unsigned r = 0, g = 0, b = 0;
    for (const RgbImage& image : images) {
      r += image.pixels()[i].r;
      g += image.pixels()[i].g;
      b += image.pixels()[i].b;
    }
    result.pixels()[i] = Rgb{static_cast<uint8_t>((r + count / 2) / count),
                             static_cast<uint8_t>((g + count / 2) / count),
                             static_cast<uint8_t>((b + count / 2) / count)};
  }
  return result;
}

}  // namespace tolvaro::assetgen
