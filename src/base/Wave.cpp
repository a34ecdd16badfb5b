#include "base/Wave.h"

#include <algorithm>
#include <cstring>

#include "base/Bytes.h"

namespace tolvaro {

namespace {

// Sample frames in Microsoft ADPCM data: each block opens with a 7-byte header a channel that
// holds two samples, then two samples a byte shared among the channels; a block plays the
// samples per block of the format, or what it holds if that is fewer. The last block may be
// cut short and holds what its bytes hold; a piece too short for the headers holds nothing.
std::uint64_t adpcmFrames(const WaveInfo& info, int samplesPerBlock) {
  const std::size_t channels = static_cast<std::size_t>(info.channels);
  const auto held = [&](std::size_t bytes) {
    return std::min<std::uint64_t>((bytes - 7 * channels) * 2 / channels + 2,
                                   static_cast<std::uint64_t>(samplesPerBlock));
  };
  const std::size_t align = static_cast<std::size_t>(info.blockAlign);
  const std::size_t rest = info.dataBytes % align;
  return static_cast<std::uint64_t>(info.dataBytes / align) * held(align) +
         (rest >= 7 * channels ? held(rest) : 0);
}

}  // namespace

std::optional<WaveInfo> parseWave(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  WaveInfo info;
  bool haveFormat = false, haveData = false;
  int samplesPerBlock = 0;
  std::optional<std::uint32_t> factFrames;  // the length a compressed file states
  std::size_t at = 12;
  // Every chunk is looked at: the 'fact' chunk may come after the data.
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = readLe32(bytes, at + 4);
    const std::size_t body = at + 8;
    const std::size_t available = bytes.size() - body;
    if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && !haveFormat) {
      if (size < 16 || size > available) return std::nullopt;
      info.formatTag = readLe16(bytes, body);
      info.channels = readLe16(bytes, body + 2);
      info.sampleRate = static_cast<int>(readLe32(bytes, body + 4));
      info.blockAlign = readLe16(bytes, body + 12);
      info.bitsPerSample = readLe16(bytes, body + 14);
      if (info.formatTag == 2 && size >= 22) samplesPerBlock = readLe16(bytes, body + 18);
      haveFormat = true;
    } else if (std::memcmp(bytes.data() + at, "data", 4) == 0 && !haveData) {
      info.dataOffset = body;
      info.dataBytes = size <= available ? size : available;  // a cut-off file plays what it has
      haveData = true;
    } else if (std::memcmp(bytes.data() + at, "fact", 4) == 0 && size >= 4 && size <= available) {
      factFrames = readLe32(bytes, body);
    }
    if (size > available) break;
    at = body + size + (size & 1u);
  }
  if (!haveFormat || !haveData || info.channels <= 0 || info.sampleRate <= 0 ||
      info.blockAlign <= 0 || info.sampleRate > 1'000'000) {
    return std::nullopt;
  }
  if (info.formatTag == 1) {
    if (info.bitsPerSample != 8 && info.bitsPerSample != 16) return std::nullopt;
    if (info.blockAlign != info.channels * info.bitsPerSample / 8) return std::nullopt;
    info.frames = info.dataBytes / static_cast<std::size_t>(info.blockAlign);
  } else if (info.formatTag == 2 && samplesPerBlock > 0 && info.blockAlign >= 7 * info.channels) {
    info.frames = adpcmFrames(info, samplesPerBlock);
    // The stated length ends inside the last block; one the blocks cannot hold is not believed,
    // nor is a zero, which writers leave when they do not know the length.
    if (factFrames && *factFrames > 0 && *factFrames <= info.frames) info.frames = *factFrames;
  } else {
    return std::nullopt;
  }
  return info;
}

}  // namespace tolvaro
