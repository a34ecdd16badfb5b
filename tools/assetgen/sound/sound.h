// The game's music and effects, composed and synthesised here.
#pragma once

#include <vector>

#include "formats/wave_writer.h"

namespace tolvaro::assetgen {

struct SoundAsset {
  int id;
  WaveFormat format;
  std::vector<float> samples;  // interleaved, [-1, 1]
};

std::vector<SoundAsset> composeSounds();

}  // namespace tolvaro::assetgen
