#include "hosts/shared/SoundLengths.h"

#include <optional>

#include "base/Wave.h"

namespace tolvaro::hosts {

std::int64_t SoundLengths::remember(int waveId, std::span<const std::uint8_t> wave) {
  const std::optional<WaveInfo> info = parseWave(wave);
  return lengths_[waveId] = info ? info->durationMs() : 0;
}

}  // namespace tolvaro::hosts
