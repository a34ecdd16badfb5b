// Reduces a picture to 256 colours for the 8-bit resources.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/image.h"

namespace tolvaro::assetgen {

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
  std::vector<Rgb> palette;  // always 256 entries
};

// Median cut over the picture's colours, then error-diffusion dithering. When `key` is given,
// pixels of exactly that colour keep it (palette entry 0) and no other pixel is mapped to it, so
// a colour-keyed copy cuts out exactly the shape that was painted. Deterministic.
IndexedImage quantize(const RgbImage& image, std::optional<Rgb> key);

}  // namespace tolvaro::assetgen
