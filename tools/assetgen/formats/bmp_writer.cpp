#include "formats/bmp_writer.h"

#include "formats/dib.h"

namespace tolvaro::assetgen {
namespace {

void writeBmpFileHeader(ByteWriter& w, uint32_t fileSize, uint32_t pixelOffset) {
  w.u8('B');
  w.u8('M');
  w.u32(fileSize);
  w.u32(0);
  w.u32(pixelOffset);
}

}  // namespace

Bytes encodeBmp24(const RgbImage& image) {
  const int stride = rowStride(image.width(), 24);
  const uint32_t imageSize = static_cast<uint32_t>(stride * image.height());
  const uint32_t offset = kBmpFileHeaderSize + kInfoHeaderSize;
  Bytes out;
  out.reserve(offset + imageSize);
  ByteWriter w(out);
  writeBmpFileHeader(w, offset + imageSize, offset);
  writeInfoHeader(w, image.width(), image.height(), 24, imageSize, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb& p = image.at(x, y);
      w.u8(p.b);
      w.u8(p.g);
      w.u8(p.r);
    }
    for (int pad = image.width() * 3; pad < stride; ++pad) w.u8(0);
  }
  return out;
}

Bytes encodeBmp8(int width, int height, const std::vector<uint8_t>& indices,
                 const std::vector<Rgb>& palette) {
  const int stride = rowStride(width, 8);
  const uint32_t imageSize = static_cast<uint32_t>(stride * height);
  const uint32_t offset = kBmpFileHeaderSize + kInfoHeaderSize + 256 * 4;
  Bytes out;
  out.reserve(offset + imageSize);
  ByteWriter w(out);
  writeBmpFileHeader(w, offset + imageSize, offset);
  writeInfoHeader(w, width, height, 8, imageSize, 256);
  for (int i = 0; i < 256; ++i) {
    const Rgb p = i < static_cast<int>(palette.size()) ? palette[i] : kBlack;
    w.u8(p.b);
    w.u8(p.g);
    w.u8(p.r);
    w.u8(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) w.u8(indices[static_cast<size_t>(y) * width + x]);
    for (int pad = width; pad < stride; ++pad) w.u8(0);
  }
  return out;
}

}  // namespace tolvaro::assetgen
