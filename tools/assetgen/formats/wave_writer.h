// RIFF/WAVE files: 16- and 8-bit PCM, and Microsoft ADPCM.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/byte_writer.h"

namespace tolvaro::assetgen {

enum class WaveCoding { kPcm, kMsAdpcm };

struct WaveFormat {
  int channels = 1;
  int sampleRate = 22050;
  int bitsPerSample = 16;  // of the PCM; Microsoft ADPCM is always 4 bits a sample
  WaveCoding coding = WaveCoding::kPcm;
};
// `samples` are interleaved, in [-1, 1]. 16-bit PCM is signed; 8-bit PCM is unsigned, dithered
// and noise-shaped by `quantize8Bit` with `ditherSeed`; Microsoft ADPCM (mono only) is coded by
// `encodeMsAdpcm` in blocks of kMsAdpcmBlockAlign bytes, with a 'fact' chunk of the sample
// count.
Bytes encodeWave(const WaveFormat& format, const std::vector<float>& samples,
                 uint32_t ditherSeed = 1);

}  // namespace tolvaro::assetgen
