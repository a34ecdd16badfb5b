// Byte-exact writers (and a reader for the checking tools) of the Windows file formats the game
// loads: BMP, ICO, CUR inside ANI, and RIFF/WAVE.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image.h"

namespace tolvaro::assetgen {

using Bytes = std::vector<uint8_t>;

// Uncompressed bottom-up 24-bit BMP.
Bytes encodeBmp24(const RgbImage& image);
// Uncompressed bottom-up 8-bit BMP with a full 256-entry palette.
Bytes encodeBmp8(int width, int height, const std::vector<uint8_t>& indices,
                 const std::vector<Rgb>& palette);

// Decodes 24-bit and 8-bit uncompressed BMP files (what this generator writes, and what an
// artist's override is expected to be). Returns nothing for anything else.
struct DecodedBmp {
  RgbImage image;
  int bitsPerPixel = 0;
  int paletteEntries = 0;
};
std::optional<DecodedBmp> decodeBmp(const Bytes& file);

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
// RIFF "ACON" with anih, LIST/fram of icon chunks, rate and seq.
Bytes encodeAnimatedCursor(const std::vector<CursorFrame>& frames,
                           const std::vector<uint32_t>& rates,
                           const std::vector<uint32_t>& sequence);

struct PcmFormat {
  int channels = 1;
  int sampleRate = 22050;
  int bitsPerSample = 16;
};
// `samples` are interleaved, in [-1, 1]; 8-bit output is unsigned, 16-bit signed.
Bytes encodeWave(const PcmFormat& format, const std::vector<float>& samples);

}  // namespace tolvaro::assetgen
