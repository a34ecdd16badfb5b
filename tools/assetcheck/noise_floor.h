// How loud the error of 8-bit quantisation is: overall, and within the band where the ear
// hears it best, where noise shaping is meant to take it down.
#pragma once

#include <cstdint>
#include <vector>

namespace tolvaro::assetcheck {

// Each sample rounded to the nearest 8-bit code on the scale of `quantize8Bit`: no dither, no
// feedback. What the shaped codes are measured against.
std::vector<uint8_t> round8Bit(const std::vector<float>& samples);

struct NoiseLevels {
  double overallDb;  // RMS of the error over the whole sound, dB below full scale (128 codes)
  double bandDb;     // the part of it between the band's edges
};

constexpr double kKeenBandLowHz = 1000, kKeenBandHighHz = 4000;

// Error of `codes` (8-bit, 128 silence) against the `samples` they were made from, as
// `kEightBitScale` scales them. The band's share comes from the averaged spectrum of
// Hann-windowed stretches of 1024 samples, half overlapping.
NoiseLevels quantisationNoise(const std::vector<float>& samples, const std::vector<uint8_t>& codes,
                              int sampleRate, double lowHz = kKeenBandLowHz,
                              double highHz = kKeenBandHighHz);

}  // namespace tolvaro::assetcheck
