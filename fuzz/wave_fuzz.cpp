// Feeds arbitrary bytes to the WAVE reader: any bytes give a sound or none, never a read outside
// them, and a sound's data lies wholly inside the file and holds the length it is given.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto info = tolvaro::parseWave(std::span<const std::uint8_t>(data, size));
  if (info) {
    if (info->dataOffset > size || info->dataBytes > size - info->dataOffset) std::abort();
    if (info->sampleRate <= 0 || info->channels <= 0) std::abort();
    // Microsoft ADPCM holds no more than two samples a byte.
    if (info->formatTag == 2 &&
        info->frames > info->dataBytes * 2 / static_cast<std::size_t>(info->channels)) {
      std::abort();
    }
    (void)info->durationMs();
  }
  return 0;
}
