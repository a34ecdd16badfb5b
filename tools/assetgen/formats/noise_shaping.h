// 8-bit PCM codes from samples, dithered and noise-shaped.
#pragma once

#include <cstdint>
#include <vector>

namespace tolvaro::assetgen {

// 8-bit codes (128 is silence) for samples in [-1, 1], scaled by 127: triangular (TPDF) dither
// of +-1 step, and error feedback that moves the quantisation noise out of 1-5 kHz, where the
// ear hears it best, towards the top of the band. Where the sound is digitally silent the
// dither and the feedback fade out, so silence stays exactly 128. The same seed gives the same
// codes.
std::vector<uint8_t> quantize8Bit(const std::vector<float>& samples, uint32_t ditherSeed);
// Codes a sample of 1 lies above silence (128).
constexpr double kEightBitScale = 127.0;

}  // namespace tolvaro::assetgen
