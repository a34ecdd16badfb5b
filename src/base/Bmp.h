// Windows bitmaps as the program meets them: resource bitmaps (a bare DIB, info header first)
// and bitmap files (with the 14-byte file header).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/Picture.h"

namespace tolvaro {

struct BitmapInfo {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int paletteEntries = 0;
  bool topDown = false;
};

// Decodes an uncompressed 1-, 4-, 8-, 16-, 24- or 32-bit bitmap, bottom-up or top-down, with or
// without the file header. Anything malformed or truncated gives an empty picture.
Picture decodeBitmap(std::span<const std::uint8_t> bytes);
std::optional<BitmapInfo> readBitmapInfo(std::span<const std::uint8_t> bytes);

}  // namespace tolvaro
