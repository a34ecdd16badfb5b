// The length of each sound, read from its WAVE bytes once: a blocking sound holds the game for
// its length whether or not a device plays it.
#pragma once

#include <cstdint>
#include <map>
#include <span>

namespace tolvaro::hosts {

class SoundLengths {
 public:
  // Milliseconds of sound `waveId`, 0 for bytes that are no sound. `bytesOf(waveId)` gives its
  // file and is asked the first time only.
  template <class BytesOf>
  std::int64_t lengthMs(int waveId, BytesOf&& bytesOf) {
    const auto known = lengths_.find(waveId);
    if (known != lengths_.end()) return known->second;
    const auto& bytes = bytesOf(waveId);
    return remember(waveId, bytes);
  }

 private:
  std::int64_t remember(int waveId, std::span<const std::uint8_t> wave);

  std::map<int, std::int64_t> lengths_;
};

}  // namespace tolvaro::hosts
