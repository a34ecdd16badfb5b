#include "base/Wave.h"

#include <cstring>

#include "base/Bytes.h"

namespace tolvaro {

std::optional<WaveInfo> parseWave(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  WaveInfo info;
  bool haveFormat = false, haveData = false;
  int samplesPerBlock = 0;
  std::size_t at = 12;
  while (at + 8 <= bytes.size() && !(haveFormat && haveData)) {
    const std::uint32_t size = readLe32(bytes, at + 4);
    const std::size_t body = at + 8;
    const std::size_t available = bytes.size() - body;
    if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0) {
      if (size < 16 || size > available) return std::nullopt;
      info.formatTag = readLe16(bytes, body);
      info.channels = readLe16(bytes, body + 2);
      info.sampleRate = static_cast<int>(readLe32(bytes, body + 4));
      info.blockAlign = readLe16(bytes, body + 12);
      info.bitsPerSample = readLe16(bytes, body + 14);
      if (info.formatTag == 2 && size >= 22) samplesPerBlock = readLe16(bytes, body + 18);
      haveFormat = true;
    } else if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
      info.dataOffset = body;
      info.dataBytes = size <= available ? size : available;  // a cut-off file plays what it has
      haveData = true;
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
  } else if (info.formatTag == 2 && samplesPerBlock > 0) {
    info.frames =
        static_cast<std::uint64_t>(info.dataBytes / static_cast<std::size_t>(info.blockAlign)) *
        static_cast<std::uint64_t>(samplesPerBlock);
  } else {
    return std::nullopt;
  }
  return info;
}

}  // namespace tolvaro
