#include "formats/icon_writer.h"

#include "formats/dib.h"

namespace tolvaro::assetgen {

Bytes encodeIcon24(const RgbImage& image, const std::vector<bool>& transparent) {
  const int width = image.width();
  const int height = image.height();
  const int colourStride = rowStride(width, 24);
  const int maskStride = rowStride(width, 1);
  const uint32_t imageBytes =
      kInfoHeaderSize + static_cast<uint32_t>((colourStride + maskStride) * height);
  Bytes out;
  ByteWriter w(out);
  // ICONDIR
  w.u16(0);
  w.u16(1);  // icon
  w.u16(1);  // one image
  // ICONDIRENTRY
  w.u8(static_cast<uint32_t>(width & 0xFF));
  w.u8(static_cast<uint32_t>(height & 0xFF));
  w.u8(0);  // no palette
  w.u8(0);
  w.u16(1);   // planes
  w.u16(24);  // bit count
  w.u32(imageBytes);
  w.u32(6 + 16);
  // The image: a DIB whose height counts the colour rows and the mask rows.
  writeInfoHeader(w, width, height * 2, 24,
                  static_cast<uint32_t>((colourStride + maskStride) * height), 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      // Transparent pixels carry black so that the XOR step leaves the screen untouched.
      const Rgb p = transparent[static_cast<size_t>(y) * width + x] ? kBlack : image.at(x, y);
      w.u8(p.b);
      w.u8(p.g);
      w.u8(p.r);
    }
    for (int pad = width * 3; pad < colourStride; ++pad) w.u8(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int byte = 0; byte < maskStride; ++byte) {
      uint32_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = byte * 8 + bit;
        if (x < width && transparent[static_cast<size_t>(y) * width + x]) bits |= 0x80u >> bit;
      }
      w.u8(bits);
    }
  }
  return out;
}

Bytes encodeCursor(const CursorFrame& frame) {
  const int maskStride = rowStride(frame.width, 1);
  const uint32_t colourBytes = static_cast<uint32_t>(frame.width * frame.height * 4);
  const uint32_t maskBytes = static_cast<uint32_t>(maskStride * frame.height);
  Bytes out;
  ByteWriter w(out);
  w.u16(0);
  w.u16(2);  // cursor
  w.u16(1);
  w.u8(static_cast<uint32_t>(frame.width & 0xFF));
  w.u8(static_cast<uint32_t>(frame.height & 0xFF));
  w.u8(0);
  w.u8(0);
  w.u16(static_cast<uint32_t>(frame.hotspotX));
  w.u16(static_cast<uint32_t>(frame.hotspotY));
  w.u32(kInfoHeaderSize + colourBytes + maskBytes);
  w.u32(6 + 16);
  writeInfoHeader(w, frame.width, frame.height * 2, 32, colourBytes + maskBytes, 0);
  for (int y = frame.height - 1; y >= 0; --y) {
    for (int x = 0; x < frame.width; ++x) {
      const size_t at = (static_cast<size_t>(y) * frame.width + x) * 4;
      for (int c = 0; c < 4; ++c) w.u8(frame.bgra[at + c]);
    }
  }
  for (int y = frame.height - 1; y >= 0; --y) {
    for (int byte = 0; byte < maskStride; ++byte) {
      uint32_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = byte * 8 + bit;
        if (x < frame.width &&
            frame.bgra[(static_cast<size_t>(y) * frame.width + x) * 4 + 3] < 128) {
          bits |= 0x80u >> bit;
        }
      }
      w.u8(bits);
    }
  }
  return out;
}

}  // namespace tolvaro::assetgen
