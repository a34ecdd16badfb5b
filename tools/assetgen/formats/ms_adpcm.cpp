#include "formats/ms_adpcm.h"

#include <algorithm>
#include <cstdlib>

namespace tolvaro::assetgen {

namespace {

// The standard step adaptation by code.
constexpr int kAdpcmAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                      768, 614, 512, 409, 307, 230, 230, 230};
struct AdpcmState {
  int sample1, sample2, delta;
};

// Codes one sample as a decoder will rebuild it; returns the 4-bit code.
int adpcmStep(AdpcmState& s, const int* coefficient, int target) {
  const int predicted = (s.sample1 * coefficient[0] + s.sample2 * coefficient[1]) >> 8;
  const int difference = target - predicted;
  // Rounded to the nearest multiple of delta, ties away from zero.
  int code = (std::abs(difference) + s.delta / 2) / s.delta * (difference < 0 ? -1 : 1);
  code = std::clamp(code, -8, 7);
  const int rebuilt = std::clamp(predicted + code * s.delta, -32768, 32767);
  s.sample2 = s.sample1;
  s.sample1 = rebuilt;
  const int nibble = code & 0x0F;
  s.delta = std::max(16, (kAdpcmAdaptation[nibble] * s.delta) >> 8);
  return nibble;
}

struct AdpcmChoice {
  int predictor = 0, delta = 16;
  double error = 0;
};

// Codes samples[first, last) after the two header samples; error only, or the codes too.
double adpcmRun(const std::vector<int16_t>& samples, size_t first, size_t last, int predictor,
                int delta, std::vector<int>* nibbles, int* endDelta) {
  AdpcmState s{samples[first + 1], samples[first], delta};
  double error = 0;
  for (size_t i = first + 2; i < last; ++i) {
    const int nibble = adpcmStep(s, kMsAdpcmCoefficients[predictor], samples[i]);
    const double miss = static_cast<double>(s.sample1) - samples[i];
    error += miss * miss;
    if (nibbles != nullptr) nibbles->push_back(nibble);
  }
  if (endDelta != nullptr) *endDelta = s.delta;
  return error;
}

}  // namespace

Bytes encodeMsAdpcm(const std::vector<int16_t>& samples, int blockAlign) {
  const size_t perBlock = static_cast<size_t>(msAdpcmSamplesPerBlock(blockAlign));
  Bytes out;
  ByteWriter w(out);
  int carriedDelta = 16;
  for (size_t first = 0; first < samples.size(); first += perBlock) {
    std::vector<int16_t> block(
        samples.begin() + static_cast<std::ptrdiff_t>(first),
        samples.begin() + static_cast<std::ptrdiff_t>(std::min(samples.size(), first + perBlock)));
    if (block.size() < 2) block.push_back(0);  // a header always holds two samples
    AdpcmChoice best;
    best.error = -1;
    std::vector<int> deltas = {carriedDelta};
    for (int d = 16; d <= 4096; d *= 2) deltas.push_back(d);
    for (int predictor = 0; predictor < kMsAdpcmPredictorCount; ++predictor) {
      for (int delta : deltas) {
        const double error = adpcmRun(block, 0, block.size(), predictor, delta, nullptr, nullptr);
        if (best.error < 0 || error < best.error) best = {predictor, delta, error};
      }
    }
    std::vector<int> nibbles;
    adpcmRun(block, 0, block.size(), best.predictor, best.delta, &nibbles, &carriedDelta);
    if (nibbles.size() % 2 != 0) nibbles.push_back(0);
    w.u8(static_cast<uint32_t>(best.predictor));
    w.u16(static_cast<uint32_t>(best.delta));
    w.u16(static_cast<uint32_t>(static_cast<uint16_t>(block[1])));
    w.u16(static_cast<uint32_t>(static_cast<uint16_t>(block[0])));
    for (size_t i = 0; i < nibbles.size(); i += 2)
      w.u8(static_cast<uint32_t>((nibbles[i] << 4) | nibbles[i + 1]));
  }
  return out;
}

}  // namespace tolvaro::assetgen
