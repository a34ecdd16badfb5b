#include "assets/Wave.h"

#include <cstring>

namespace tolvaro {
namespace {

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
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
  std::size_t at = 12;
  while (at + 8 <= bytes.size() && !(haveFormat && haveData)) {
    const std::uint32_t size = u32(bytes, at + 4);
    const std::size_t body = at + 8;
    const std::size_t available = bytes.size() - body;
    if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0) {
      if (size < 16 || size > available) return std::nullopt;
      info.formatTag = u16(bytes, body);
      info.channels = u16(bytes, body + 2);
      info.sampleRate = static_cast<int>(u32(bytes, body + 4));
      info.blockAlign = u16(bytes, body + 12);
      info.bitsPerSample = u16(bytes, body + 14);
      if (info.formatTag == 2 && size >= 22) samplesPerBlock = u16(bytes, body + 18);
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
