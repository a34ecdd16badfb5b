// Icons (ICO) and cursors (CUR): an icon directory of one image, a DIB of colour and AND mask.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/image.h"
#include "formats/byte_writer.h"

namespace tolvaro::assetgen {

// One 32x32 24-bit icon; `transparent` marks pixels whose AND-mask bit is set.
Bytes encodeIcon24(const RgbImage& image, const std::vector<bool>& transparent);

// One frame of an animated cursor: 32-bit colour with alpha plus an AND mask.
struct CursorFrame {
  int width = 32;
  int height = 32;
  std::vector<uint8_t> bgra;  // straight (not premultiplied) alpha
  int hotspotX = 0;
  int hotspotY = 0;
};
Bytes encodeCursor(const CursorFrame& frame);
}  // namespace tolvaro::assetgen
