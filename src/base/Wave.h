// RIFF WAVE sounds: the format and the length of a sound, and its samples for hosts that mix.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tolvaro {

struct WaveInfo {
  int formatTag = 0;  // 1 = PCM, 2 = Microsoft ADPCM
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  int blockAlign = 0;
  std::size_t dataOffset = 0;
  std::size_t dataBytes = 0;
  std::uint64_t frames = 0;  // sample frames

  // Length in milliseconds, rounded to the nearest.
  std::int64_t durationMs() const {
    return sampleRate > 0 ? static_cast<std::int64_t>(
                                (frames * 1000 + static_cast<std::uint64_t>(sampleRate) / 2) /
                                static_cast<std::uint64_t>(sampleRate))
                          : 0;
  }
};

// Reads the "fmt ", "data" and "fact" chunks; nullopt when the file is not a usable WAVE.
// The length of Microsoft ADPCM is the one its fact chunk states when the blocks hold that
// many samples, else all the blocks hold.
std::optional<WaveInfo> parseWave(std::span<const std::uint8_t> bytes);

}  // namespace tolvaro
