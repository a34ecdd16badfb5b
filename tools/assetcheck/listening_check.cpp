// tolvaro_listening_check_tool WAVE_DIR
// Prints, for every WAVE file: format, duration, peak level in dBFS, RMS level, the RMS of its
// loudest 50 ms (how loud an effect sounds), and for the looping pieces the jump at the loop
// seam (last sample to first) next to the piece's typical sample-to-sample step, so a click at
// the seam stands out.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "wave_reader.h"

namespace fs = std::filesystem;

using tolvaro::assetcheck::DecodedWave;
using tolvaro::assetcheck::toDb;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s WAVE_DIR\n", argv[0]);
    return 2;
  }
  const int looping[] = {198, 201, 203, 223};
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(argv[1])) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::printf("%-8s %-22s %9s %10s %9s %10s  %s\n", "wave", "format", "seconds", "peak dBFS",
              "rms dBFS", "50ms dBFS", "loop seam");
  for (const fs::path& path : files) {
    std::ifstream in(path, std::ios::binary);
    const std::optional<DecodedWave> decoded = tolvaro::assetcheck::decodeWave(
        std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
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
    if (std::find(std::begin(looping), std::end(looping), id) != std::end(looping)) {
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
    char format[32];
    std::snprintf(format, sizeof format, "%dch %dHz %s", wave.channels, wave.rate,
                  wave.formatTag == 2 ? "MS ADPCM" : (std::to_string(wave.bits) + "bit").c_str());
    std::printf("%-8s %-22s %9.3f %10.2f %9.2f %10.2f  %s\n", path.stem().c_str(), format,
                static_cast<double>(frames) / wave.rate, toDb(peak),
                toDb(std::sqrt(energy / wave.samples.size())),
                tolvaro::assetcheck::loudestWindowDb(wave), seam.c_str());
  }
  return 0;
}
