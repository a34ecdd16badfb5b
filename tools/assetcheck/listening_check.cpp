// tolvaro_listening_check_tool WAVE_DIR
// Prints, for every WAVE file: format, duration, peak level in dBFS, RMS level, and for the
// looping pieces the jump at the loop seam (last sample to first) next to the piece's typical
// sample-to-sample step, so a click at the seam stands out.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Wave {
  int channels = 0, rate = 0, bits = 0;
  std::vector<double> samples;  // interleaved, [-1, 1]
};

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

bool readWave(const fs::path& path, Wave& wave) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF") return false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string tag(b.begin() + at, b.begin() + at + 4);
    const uint32_t size = u32(b, at + 4);
    if (tag == "fmt ") {
      wave.channels = b[at + 10] | (b[at + 11] << 8);
      wave.rate = static_cast<int>(u32(b, at + 12));
      wave.bits = b[at + 22] | (b[at + 23] << 8);
    } else if (tag == "data" && wave.bits != 0) {
      const size_t end = std::min(b.size(), at + 8 + size);
      for (size_t p = at + 8; p + wave.bits / 8 <= end; p += wave.bits / 8) {
        if (wave.bits == 8) {
          wave.samples.push_back((b[p] - 128) / 128.0);
        } else {
          wave.samples.push_back(static_cast<int16_t>(b[p] | (b[p + 1] << 8)) / 32768.0);
        }
      }
    }
    at += 8 + size + (size % 2);
  }
  return wave.channels > 0 && !wave.samples.empty();
}

double toDb(double level) {
  return level > 0 ? 20 * std::log10(level) : -200;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s WAVE_DIR\n", argv[0]);
    return 2;
  }
  const int looping[] = {198, 201, 203, 223};
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(argv[1])) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::printf("%-8s %-22s %9s %10s %9s  %s\n", "wave", "format", "seconds", "peak dBFS", "rms dBFS",
              "loop seam");
  for (const fs::path& path : files) {
    Wave wave;
    if (!readWave(path, wave)) {
      std::printf("%-8s unreadable\n", path.stem().c_str());
      continue;
    }
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
    std::snprintf(format, sizeof format, "%dch %dHz %dbit", wave.channels, wave.rate, wave.bits);
    std::printf("%-8s %-22s %9.3f %10.2f %9.2f  %s\n", path.stem().c_str(), format,
                static_cast<double>(frames) / wave.rate, toDb(peak),
                toDb(std::sqrt(energy / wave.samples.size())), seam.c_str());
  }
  return 0;
}
