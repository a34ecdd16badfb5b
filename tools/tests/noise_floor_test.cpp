// The 8-bit sounds' quantisation noise: measured against the samples the generator composed,
// once plainly rounded and once as the files carry them (dithered and noise-shaped).
#include "noise_floor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "formats/noise_shaping.h"
#include "sound/sound.h"

namespace tolvaro::assetcheck {
namespace {

using namespace assetgen;

// Codes of a tone of `amplitude` codes, measured against silence: the error is the tone.
NoiseLevels toneLevels(double hz, double amplitude, int rate) {
  std::vector<uint8_t> codes(rate / 2);
  for (size_t i = 0; i < codes.size(); ++i)
    codes[i] = static_cast<uint8_t>(
        128 + std::lround(amplitude * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate)));
  return quantisationNoise(std::vector<float>(codes.size(), 0.0f), codes, rate);
}

TEST(NoiseFloor, TheMeasureKeepsToItsBand) {
  // A sine of amplitude A codes has an RMS of A / sqrt 2, against a full scale of 128 codes.
  const double amplitude = 40;
  const NoiseLevels inside = toneLevels(2500, amplitude, 22050);
  EXPECT_NEAR(inside.overallDb, 20 * std::log10(amplitude / std::sqrt(2.0) / 128), 0.1);
  EXPECT_NEAR(inside.bandDb, inside.overallDb, 0.2);
  for (double hz : {300.0, 7000.0}) {
    const NoiseLevels outside = toneLevels(hz, amplitude, 22050);
    EXPECT_NEAR(outside.overallDb, inside.overallDb, 0.1) << hz;
    EXPECT_LT(outside.bandDb, outside.overallDb - 30) << hz;
  }
}

TEST(NoiseFloor, ShapedEightBitNoiseIsQuieterThanRoundingWhereTheEarIsKeenest) {
  int eightBit = 0;
  std::printf("%-6s %8s  %24s  %24s\n", "wave", "Hz", "rounded dBFS all / 1-4k",
              "shaped dBFS all / 1-4k");
  for (const SoundAsset& sound : composeSounds()) {
    if (sound.format.coding != WaveCoding::kPcm || sound.format.bitsPerSample != 8) continue;
    ++eightBit;
    const int rate = sound.format.sampleRate;
    const NoiseLevels rounded = quantisationNoise(sound.samples, round8Bit(sound.samples), rate);
    // The seed the generator writes the file with.
    const NoiseLevels shaped = quantisationNoise(
        sound.samples, quantize8Bit(sound.samples, static_cast<uint32_t>(sound.id)), rate);
    std::printf("%-6d %8d  %11.2f / %10.2f  %11.2f / %10.2f\n", sound.id, rate, rounded.overallDb,
                rounded.bandDb, shaped.overallDb, shaped.bandDb);
    EXPECT_LT(shaped.bandDb, rounded.bandDb) << sound.id;
  }
  EXPECT_GT(eightBit, 0);
}

}  // namespace
}  // namespace tolvaro::assetcheck
