// A reader of the WAVE files the game plays, for the listening check and the asset tests: PCM
// of 8 and 16 bits and Microsoft ADPCM, decoded here on its own (not by the generator's code),
// and the loudness measure the checks compare sounds by.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Bytes.h"

namespace tolvaro::assetcheck {

struct DecodedWave {
  int formatTag = 0;  // 1 PCM, 2 Microsoft ADPCM
  int channels = 0, rate = 0, bits = 0, blockAlign = 0;
  int samplesPerBlock = 0;                      // ADPCM
  std::vector<std::pair<int, int>> predictors;  // ADPCM coefficient pairs of the fmt chunk
  std::optional<uint32_t> factSamples;
  std::vector<double> samples;  // interleaved, [-1, 1)
};

namespace wave_detail {

using ::tolvaro::readLe16;
using ::tolvaro::readLe32;

inline int s16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int16_t>(readLe16(b, at));
}

// One mono Microsoft ADPCM block: header (predictor, delta, second sample, first sample), then
// codes high nibble first. Predictions are (s1 * c1 + s2 * c2) >> 8; the step adapts by table.
inline void decodeAdpcmBlock(const std::vector<uint8_t>& b, size_t at, size_t size,
                             const DecodedWave& w, size_t wanted, std::vector<double>& out) {
  static constexpr int kAdapt[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                     768, 614, 512, 409, 307, 230, 230, 230};
  if (size < 7 || b[at] >= w.predictors.size()) return;
  const auto [c1, c2] = w.predictors[b[at]];
  int delta = s16(b, at + 1);
  int sample1 = s16(b, at + 3), sample2 = s16(b, at + 5);
  auto emit = [&](int s) {
    if (out.size() < wanted) out.push_back(s / 32768.0);
  };
  emit(sample2);
  emit(sample1);
  for (size_t i = 7; i < size; ++i) {
    for (int nibble : {b[at + i] >> 4, b[at + i] & 0x0F}) {
      const int code = nibble >= 8 ? nibble - 16 : nibble;
      const int next =
          std::clamp(((sample1 * c1 + sample2 * c2) >> 8) + code * delta, -32768, 32767);
      sample2 = sample1;
      sample1 = next;
      delta = std::max(16, kAdapt[nibble] * delta / 256);
      emit(next);
    }
  }
}

}  // namespace wave_detail

// Parses and decodes; nothing for a file it cannot read.
inline std::optional<DecodedWave> decodeWave(const std::vector<uint8_t>& b) {
  using namespace wave_detail;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    return std::nullopt;
  }
  DecodedWave w;
  size_t dataAt = 0, dataSize = 0;
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string tag(b.begin() + at, b.begin() + at + 4);
    const uint32_t size = readLe32(b, at + 4);
    if (at + 8 + size > b.size()) return std::nullopt;
    if (tag == "fmt " && size >= 16) {
      w.formatTag = static_cast<int>(readLe16(b, at + 8));
      w.channels = static_cast<int>(readLe16(b, at + 10));
      w.rate = static_cast<int>(readLe32(b, at + 12));
      w.blockAlign = static_cast<int>(readLe16(b, at + 20));
      w.bits = static_cast<int>(readLe16(b, at + 22));
      if (w.formatTag == 2 && size >= 22) {
        w.samplesPerBlock = static_cast<int>(readLe16(b, at + 26));
        const uint32_t count = readLe16(b, at + 28);
        for (uint32_t i = 0; i < count && 26 + 4 * i <= size; ++i)
          w.predictors.push_back({s16(b, at + 30 + 4 * i), s16(b, at + 32 + 4 * i)});
      }
    } else if (tag == "fact" && size >= 4) {
      w.factSamples = readLe32(b, at + 8);
    } else if (tag == "data") {
      dataAt = at + 8;
      dataSize = size;
    }
    at += 8 + size + (size % 2);
  }
  if (w.channels <= 0 || dataAt == 0) return std::nullopt;
  if (w.formatTag == 1 && (w.bits == 8 || w.bits == 16)) {
    for (size_t p = dataAt; p + w.bits / 8 <= dataAt + dataSize; p += w.bits / 8)
      w.samples.push_back(w.bits == 8 ? (b[p] - 128) / 128.0 : s16(b, p) / 32768.0);
  } else if (w.formatTag == 2 && w.channels == 1 && w.blockAlign > 7 && w.factSamples) {
    for (size_t p = dataAt; p < dataAt + dataSize; p += static_cast<size_t>(w.blockAlign)) {
      const size_t size = std::min<size_t>(w.blockAlign, dataAt + dataSize - p);
      decodeAdpcmBlock(b, p, size, w, *w.factSamples, w.samples);
    }
  } else {
    return std::nullopt;
  }
  return w;
}

inline double toDb(double level) {
  return level > 0 ? 20 * std::log10(level) : -200;
}

// Loudness of a sound as the ear meets a short effect: the RMS of its loudest 50 ms (windows
// stepped by 5 ms, all channels together), in dBFS. A sound shorter than the window is one
// window.
inline double loudestWindowDb(const DecodedWave& w) {
  const size_t frames = w.samples.size() / static_cast<size_t>(w.channels);
  const size_t window = std::min(frames, static_cast<size_t>(w.rate / 20));
  const size_t hop = std::max<size_t>(1, static_cast<size_t>(w.rate / 200));
  double loudest = 0;
  for (size_t start = 0; window > 0 && start + window <= frames; start += hop) {
    double energy = 0;
    for (size_t i = start * w.channels; i < (start + window) * w.channels; ++i)
      energy += w.samples[i] * w.samples[i];
    loudest = std::max(loudest, energy / static_cast<double>(window * w.channels));
  }
  return toDb(std::sqrt(loudest));
}

}  // namespace tolvaro::assetcheck
