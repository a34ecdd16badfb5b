#include "formats/noise_shaping.h"

#include <algorithm>
#include <cmath>

namespace tolvaro::assetgen {

std::vector<uint8_t> quantize8Bit(const std::vector<float>& samples, uint32_t ditherSeed) {
  // Error feedback H(z) = 1 - 1.0552 z^-1 + 0.9093 z^-2 - 0.2628 z^-3: the monic filter of least
  // noise power under a weighting of 1 in 1-5 kHz, 0.05 below and 0.02 above (at 19886 Hz). It
  // takes the noise in 1-5 kHz down by 6.4 dB and raises it above 6 kHz.
  constexpr double kFeedback[3] = {-1.0552, 0.9093, -0.2628};
  constexpr double kScale = kEightBitScale;
  // The dither fades in over the last step above silence, judged by the loudest sample within
  // 12 ms either side, so it never starts or stops under an audible sound.
  constexpr size_t kReach = 240;
  const size_t n = samples.size();
  std::vector<double> level(n, 0.0);
  {
    std::vector<double> magnitude(n);
    for (size_t i = 0; i < n; ++i) magnitude[i] = std::abs(static_cast<double>(samples[i]));
    for (size_t i = 0; i < n; ++i) {
      const size_t from = i >= kReach ? i - kReach : 0;
      const size_t to = std::min(n, i + kReach + 1);
      level[i] = *std::max_element(magnitude.begin() + static_cast<std::ptrdiff_t>(from),
                                   magnitude.begin() + static_cast<std::ptrdiff_t>(to)) *
                 kScale;
    }
  }
  uint32_t state = ditherSeed != 0 ? ditherSeed : 0x6D2B79F5u;
  auto uniform = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state / 4294967296.0 - 0.5;
  };
  std::vector<uint8_t> codes(n);
  double errors[3] = {0, 0, 0};  // e[n-1], e[n-2], e[n-3]
  for (size_t i = 0; i < n; ++i) {
    const double amount = std::clamp(level[i] - 0.5, 0.0, 1.0);
    const double target = std::clamp(static_cast<double>(samples[i]), -1.0, 1.0) * kScale;
    // The code's error against the target is then H(z) applied to the rounding errors.
    const double shaped = target + amount * (kFeedback[0] * errors[0] + kFeedback[1] * errors[1] +
                                             kFeedback[2] * errors[2]);
    const double dither = amount * (uniform() + uniform());
    const double code = std::clamp(std::round(shaped + dither), -128.0, 127.0);
    codes[i] = static_cast<uint8_t>(static_cast<int>(code) + 128);
    // Bounded, so that a clipped sample cannot make the loop run away.
    errors[2] = errors[1];
    errors[1] = errors[0];
    errors[0] = std::clamp(code - shaped, -2.0, 2.0);
  }
  return codes;
}

}  // namespace tolvaro::assetgen
