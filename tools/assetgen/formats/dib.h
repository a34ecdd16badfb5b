// The parts of a device-independent bitmap that BMP files, icons and cursors share: the 40-byte
// info header and the row stride.
#pragma once

#include <cstdint>

#include "formats/byte_writer.h"

namespace tolvaro::assetgen {

inline constexpr int kBmpFileHeaderSize = 14;
inline constexpr int kInfoHeaderSize = 40;

// Rows are padded to whole 32-bit words.
constexpr int rowStride(int width, int bitsPerPixel) {
  return ((width * bitsPerPixel + 31) / 32) * 4;
}

// BI_RGB at 72 dpi.
inline void writeInfoHeader(ByteWriter& w, int width, int height, int bitsPerPixel,
                            uint32_t imageSize, uint32_t paletteEntries) {
  w.u32(kInfoHeaderSize);
  w.i32(width);
  w.i32(height);
  w.u16(1);  // planes
  w.u16(static_cast<uint32_t>(bitsPerPixel));
  w.u32(0);  // BI_RGB
  w.u32(imageSize);
  w.i32(2835);  // 72 dpi
  w.i32(2835);
  w.u32(paletteEntries);
  w.u32(0);
}

}  // namespace tolvaro::assetgen
