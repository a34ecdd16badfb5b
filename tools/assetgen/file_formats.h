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

enum class WaveCoding { kPcm, kMsAdpcm };

struct WaveFormat {
  int channels = 1;
  int sampleRate = 22050;
  int bitsPerSample = 16;  // of the PCM; Microsoft ADPCM is always 4 bits a sample
  WaveCoding coding = WaveCoding::kPcm;
};
// `samples` are interleaved, in [-1, 1]. 16-bit PCM is signed; 8-bit PCM is unsigned, dithered
// and noise-shaped by `quantize8Bit` with `ditherSeed`; Microsoft ADPCM (mono only) is coded by
// `encodeMsAdpcm` in blocks of kMsAdpcmBlockAlign bytes, with a 'fact' chunk of the sample
// count.
Bytes encodeWave(const WaveFormat& format, const std::vector<float>& samples,
                 uint32_t ditherSeed = 1);

// 8-bit codes (128 is silence) for samples in [-1, 1], scaled by 127: triangular (TPDF) dither
// of +-1 step, and error feedback that moves the quantisation noise out of 1-5 kHz, where the
// ear hears it best, towards the top of the band. Where the sound is digitally silent the
// dither and the feedback fade out, so silence stays exactly 128. The same seed gives the same
// codes.
std::vector<uint8_t> quantize8Bit(const std::vector<float>& samples, uint32_t ditherSeed);
// The same scale, each sample rounded to the nearest code: no dither, no feedback. What the
// shaped codes are measured against.
std::vector<uint8_t> round8Bit(const std::vector<float>& samples);
// Codes a sample of 1 lies above silence (128), in `quantize8Bit` and `round8Bit`.
constexpr double kEightBitScale = 127.0;

// Microsoft ADPCM (WAVE_FORMAT_ADPCM) of one channel: blocks of `blockAlign` bytes, each a
// 7-byte header (predictor index, delta, the second and the first sample) and then two 4-bit
// codes a byte, high nibble first. The last block holds only what is left. For every block the
// encoder tries the seven standard predictors and a range of starting deltas and keeps the
// choice closest to the input.
constexpr int kMsAdpcmBlockAlign = 512;
constexpr int msAdpcmSamplesPerBlock(int blockAlign) {
  return (blockAlign - 7) * 2 + 2;
}
Bytes encodeMsAdpcm(const std::vector<int16_t>& samples, int blockAlign);

}  // namespace tolvaro::assetgen
