// tolvaro_listening_check_tool WAVE_DIR
// Prints, for every WAVE file: format, duration, peak level in dBFS, RMS level, the RMS of its
// loudest 50 ms (how loud an effect sounds), and for the looping pieces the jump at the loop
// seam (last sample to first) next to the piece's typical sample-to-sample step, so a click at
// the seam stands out. For 8-bit files, the quantisation noise against the generator's own
// samples, overall and in 1-4 kHz: plainly rounded, and as the file has it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "assets/Sounds.h"
#include "formats/noise_shaping.h"
#include "noise_floor.h"
#include "sound/sound.h"
#include "wave_reader.h"

namespace fs = std::filesystem;

using tolvaro::assetcheck::DecodedWave;
using tolvaro::assetcheck::toDb;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s WAVE_DIR\n", argv[0]);
    return 2;
  }
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(argv[1])) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::map<int, std::vector<float>> composed;
  for (tolvaro::assetgen::SoundAsset& sound : tolvaro::assetgen::composeSounds())
    composed[sound.id] = std::move(sound.samples);
  std::printf("%-8s %-22s %9s %10s %9s %10s  %-31s  %s\n", "wave", "format", "seconds", "peak dBFS",
              "rms dBFS", "50ms dBFS", "8-bit noise dBFS all / 1-4k", "loop seam");
  for (const fs::path& path : files) {
    std::ifstream in(path, std::ios::binary);
    const std::optional<DecodedWave> decoded = tolvaro::assetcheck::decodeWave(std::vector<uint8_t>(
        (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    if (!decoded || decoded->samples.empty()) {
      std::printf("%-8s unreadable\n", path.stem().c_str());
      continue;
    }
    const DecodedWave& wave = *decoded;
    const size_t frames = wave.samples.size() / wave.channels;
    double peak = 0, energy = 0;
    for (double s : wave.samples) {
      peak = std::max(peak, std::abs(s));
      energy += s * s;
    }
    const int id = std::stoi(path.stem().string());
    std::string seam = "-";
    if (std::find(std::begin(tolvaro::kLoopingWaves), std::end(tolvaro::kLoopingWaves), id) !=
        std::end(tolvaro::kLoopingWaves)) {
      double worstJump = 0, typicalStep = 0;
      for (int c = 0; c < wave.channels; ++c) {
        const double last = wave.samples[(frames - 1) * wave.channels + c];
        const double first = wave.samples[c];
        worstJump = std::max(worstJump, std::abs(first - last));
        double steps = 0;
        for (size_t f = 1; f < frames; ++f) {
          steps += std::abs(wave.samples[f * wave.channels + c] -
                            wave.samples[(f - 1) * wave.channels + c]);
        }
        typicalStep = std::max(typicalStep, steps / (frames - 1));
      }
      char text[96];
      std::snprintf(text, sizeof text, "jump %.4f (typical step %.4f)", worstJump, typicalStep);
      seam = text;
    }
    // Rounded, then the file's own codes; only while the file is the generator's sound.
    std::string noise = "-";
    const auto samples = composed.find(id);
    if (wave.formatTag == 1 && wave.bits == 8 && samples != composed.end() &&
        samples->second.size() == wave.samples.size()) {
      std::vector<uint8_t> codes;
      for (double s : wave.samples)
        codes.push_back(static_cast<uint8_t>(std::lround(s * 128) + 128));
      using tolvaro::assetcheck::quantisationNoise;
      const auto rounded = quantisationNoise(
          samples->second, tolvaro::assetcheck::round8Bit(samples->second), wave.rate);
      const auto file = quantisationNoise(samples->second, codes, wave.rate);
      char text[64];
      std::snprintf(text, sizeof text, "%.1f/%.1f -> %.1f/%.1f", rounded.overallDb, rounded.bandDb,
                    file.overallDb, file.bandDb);
      noise = text;
    }
    char format[32];
    std::snprintf(format, sizeof format, "%dch %dHz %s", wave.channels, wave.rate,
                  wave.formatTag == 2 ? "MS ADPCM" : (std::to_string(wave.bits) + "bit").c_str());
    std::printf("%-8s %-22s %9.3f %10.2f %9.2f %10.2f  %-31s  %s\n", path.stem().c_str(), format,
                static_cast<double>(frames) / wave.rate, toDb(peak),
                toDb(std::sqrt(energy / wave.samples.size())),
                tolvaro::assetcheck::loudestWindowDb(wave), noise.c_str(), seam.c_str());
  }
  return 0;
}
