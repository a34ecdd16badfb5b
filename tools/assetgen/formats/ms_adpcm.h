// The Microsoft ADPCM coding of one channel of 16-bit samples.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/byte_writer.h"

namespace tolvaro::assetgen {

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

// The standard predictors as 8.8 fixed-point pairs (weight of the last sample, weight of the
// one before); the WAVE format chunk lists them too.
inline constexpr int kMsAdpcmPredictorCount = 7;
inline constexpr int kMsAdpcmCoefficients[kMsAdpcmPredictorCount][2] = {
    {256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};

}  // namespace tolvaro::assetgen
