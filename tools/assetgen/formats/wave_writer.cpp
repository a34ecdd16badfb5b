#include "formats/wave_writer.h"

#include <algorithm>
#include <cmath>

#include "formats/ms_adpcm.h"
#include "formats/noise_shaping.h"

namespace tolvaro::assetgen {
namespace {

void writeWaveHeader(ByteWriter& w, uint32_t riffBytes) {
  w.tag("RIFF");
  w.u32(riffBytes);
  w.tag("WAVE");
}

}  // namespace

Bytes encodeWave(const WaveFormat& format, const std::vector<float>& samples, uint32_t ditherSeed) {
  Bytes out;
  ByteWriter w(out);
  if (format.coding == WaveCoding::kMsAdpcm) {
    std::vector<int16_t> pcm;
    pcm.reserve(samples.size());
    for (float s : samples) {
      pcm.push_back(static_cast<int16_t>(
          std::lround(std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0)));
    }
    const Bytes data = encodeMsAdpcm(pcm, kMsAdpcmBlockAlign);
    const uint32_t perBlock = msAdpcmSamplesPerBlock(kMsAdpcmBlockAlign);
    const uint32_t dataBytes = static_cast<uint32_t>(data.size());
    writeWaveHeader(w, 4 + (8 + 50) + (8 + 4) + 8 + dataBytes + (dataBytes % 2));
    w.tag("fmt ");
    w.u32(50);
    w.u16(2);  // WAVE_FORMAT_ADPCM
    w.u16(1);
    w.u32(static_cast<uint32_t>(format.sampleRate));
    w.u32(static_cast<uint32_t>(format.sampleRate) * kMsAdpcmBlockAlign / perBlock);
    w.u16(kMsAdpcmBlockAlign);
    w.u16(4);
    w.u16(32);  // cbSize: samples per block, the coefficient count and 7 pairs
    w.u16(perBlock);
    w.u16(kMsAdpcmPredictorCount);
    for (const auto& pair : kMsAdpcmCoefficients) {
      w.u16(static_cast<uint32_t>(static_cast<uint16_t>(pair[0])));
      w.u16(static_cast<uint32_t>(static_cast<uint16_t>(pair[1])));
    }
    w.tag("fact");
    w.u32(4);
    w.u32(static_cast<uint32_t>(samples.size()));
    w.tag("data");
    w.u32(dataBytes);
    w.bytes(data);
    if (dataBytes % 2 != 0) w.u8(0);
    return out;
  }
  const uint32_t bytesPerSample = static_cast<uint32_t>(format.bitsPerSample / 8);
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * bytesPerSample;
  out.reserve(44 + dataBytes + 1);
  writeWaveHeader(w, 36 + dataBytes + (dataBytes % 2));
  w.tag("fmt ");
  w.u32(16);
  w.u16(1);  // PCM
  w.u16(static_cast<uint32_t>(format.channels));
  w.u32(static_cast<uint32_t>(format.sampleRate));
  w.u32(static_cast<uint32_t>(format.sampleRate * format.channels) * bytesPerSample);
  w.u16(static_cast<uint32_t>(format.channels) * bytesPerSample);
  w.u16(static_cast<uint32_t>(format.bitsPerSample));
  w.tag("data");
  w.u32(dataBytes);
  if (format.bitsPerSample == 8) {
    for (uint8_t code : quantize8Bit(samples, ditherSeed)) w.u8(code);
  } else {
    for (float s : samples) {
      const double clamped = std::clamp(static_cast<double>(s), -1.0, 1.0);
      w.u16(static_cast<uint32_t>(static_cast<int32_t>(std::lround(clamped * 32767.0))) & 0xFFFF);
    }
  }
  if (dataBytes % 2 != 0) w.u8(0);  // RIFF chunks are word aligned
  return out;
}

}  // namespace tolvaro::assetgen
