// A small additive/FM synthesiser: voices with envelopes, mixed into a stereo buffer that can
// wrap around so that a looping piece ends exactly where it starts.
#pragma once

#include <cstdint>
#include <vector>

namespace tolvaro::assetgen {

enum class Voice {
  kMusicBox,  // bright FM bell with a long ring
  kMarimba,   // woody FM strike
  kPluck,     // harp-like, upper partials fade first
  kBass,      // round sine bass
  kPad,       // soft chord pad with slow attack
  kSoftLead,  // gentle square-ish lead with vibrato
  kKick,
  kClap,
  kHat,
  kShaker,
};

double midiToHz(double note);

class Mix {
 public:
  // `wrap`: sound reaching past the end continues at the start (for loops).
  Mix(int sampleRate, double seconds, bool wrap);

  void note(Voice voice, double start, double duration, double midiNote, double gain,
            double pan = 0);
  // Arbitrary sound written by a function of time (seconds since `start`), for effects.
  template <typename Fn>
  void shape(double start, double duration, double gain, double pan, Fn&& fn) {
    const int64_t first = static_cast<int64_t>(start * rate_ + 0.5);
    const int64_t count = static_cast<int64_t>(duration * rate_);
    const PanGains gains = panGains(pan);
    for (int64_t i = 0; i < count; ++i)
      add(first + i, gain * fn(static_cast<double>(i) / rate_), gains);
  }

  // Scales to the given peak (linear, < 1) and returns interleaved samples.
  std::vector<float> render(int channels, double peak);
  double noise();  // deterministic white noise in [-1, 1]
  int sampleRate() const { return rate_; }

 private:
  struct PanGains {
    double left, right;
  };
  static PanGains panGains(double pan);
  void add(int64_t index, double value, const PanGains& gains);

  int rate_;
  int64_t frames_;
  bool wrap_;
  std::vector<double> left_, right_;
  uint32_t noiseState_ = 0x9E3779B9u;
};

}  // namespace tolvaro::assetgen
