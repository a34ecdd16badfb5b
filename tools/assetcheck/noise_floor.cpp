#include "noise_floor.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "formats/noise_shaping.h"

namespace tolvaro::assetcheck {

using assetgen::kEightBitScale;
namespace {

constexpr size_t kStretch = 1024;

// In-place radix-2 transform; the size is a power of two.
void fft(std::vector<std::complex<double>>& x) {
  const size_t n = x.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> turn = std::polar(1.0, -2 * M_PI / static_cast<double>(len));
    for (size_t start = 0; start < n; start += len) {
      std::complex<double> w = 1;
      for (size_t k = 0; k < len / 2; ++k, w *= turn) {
        const std::complex<double> a = x[start + k], b = x[start + k + len / 2] * w;
        x[start + k] = a + b;
        x[start + k + len / 2] = a - b;
      }
    }
  }
}

double toDb(double meanSquare, double fullScale) {
  return 10 * std::log10(std::max(meanSquare, 1e-30) / (fullScale * fullScale));
}

}  // namespace

std::vector<uint8_t> round8Bit(const std::vector<float>& samples) {
  std::vector<uint8_t> codes;
  codes.reserve(samples.size());
  for (float s : samples) {
    const double code = std::round(std::clamp(static_cast<double>(s), -1.0, 1.0) * kEightBitScale);
    codes.push_back(static_cast<uint8_t>(static_cast<int>(code) + 128));
  }
  return codes;
}

NoiseLevels quantisationNoise(const std::vector<float>& samples, const std::vector<uint8_t>& codes,
                              int sampleRate, double lowHz, double highHz) {
  // Half a stretch of silence either side, so every sample lies in two stretches.
  constexpr size_t kHop = kStretch / 2;
  const size_t n = std::min(samples.size(), codes.size());
  std::vector<double> error((n + kHop - 1) / kHop * kHop + 2 * kHop, 0.0);
  double total = 0;
  for (size_t i = 0; i < n; ++i) {
    const double target = std::clamp(static_cast<double>(samples[i]), -1.0, 1.0) * kEightBitScale;
    error[kHop + i] = (codes[i] - 128) - target;
    total += error[kHop + i] * error[kHop + i];
  }
  std::vector<double> window(kStretch);
  for (size_t i = 0; i < kStretch; ++i)
    window[i] = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / kStretch);
  // The band's power, and how much window weight the sound's own samples had.
  double band = 0, weight = 0;
  std::vector<std::complex<double>> spectrum(kStretch);
  for (size_t start = 0; start + kStretch <= error.size(); start += kHop) {
    for (size_t i = 0; i < kStretch; ++i) {
      spectrum[i] = error[start + i] * window[i];
      if (start + i >= kHop && start + i < kHop + n) weight += window[i] * window[i];
    }
    fft(spectrum);
    // Bins 1 .. N/2 - 1 stand for their mirror images too.
    for (size_t k = 1; k < kStretch / 2; ++k) {
      const double hz = static_cast<double>(k) * sampleRate / kStretch;
      if (hz >= lowHz && hz <= highHz) band += 2 * std::norm(spectrum[k]);
    }
  }
  if (n == 0) return {toDb(0, 128), toDb(0, 128)};
  return {toDb(total / static_cast<double>(n), 128),
          toDb(band / (static_cast<double>(kStretch) * weight), 128)};
}

}  // namespace tolvaro::assetcheck
