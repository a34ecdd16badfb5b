#include "sound/synth.h"

#include <algorithm>
#include <cmath>

namespace tolvaro::assetgen {
namespace {

constexpr double kTwoPi = 2 * M_PI;

// Linear attack, then the voice's own decay; a short release after the note's end.
double envelope(double t, double attack, double duration, double release) {
  if (t < 0) return 0;
  double level = t < attack ? t / attack : 1.0;
  if (t > duration) level *= std::max(0.0, 1.0 - (t - duration) / release);
  return level;
}

}  // namespace

double midiToHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

Mix::Mix(int sampleRate, double seconds, bool wrap)
    : rate_(sampleRate),
      frames_(static_cast<int64_t>(std::llround(seconds * sampleRate))),
      wrap_(wrap),
      left_(static_cast<size_t>(frames_), 0.0),
      right_(static_cast<size_t>(frames_), 0.0) {}

double Mix::noise() {
  noiseState_ ^= noiseState_ << 13;
  noiseState_ ^= noiseState_ >> 17;
  noiseState_ ^= noiseState_ << 5;
  return (noiseState_ / 4294967295.0) * 2.0 - 1.0;
}

Mix::PanGains Mix::panGains(double pan) {
  // Equal-power panning, unity in the middle.
  const double angle = (std::clamp(pan, -1.0, 1.0) + 1) * M_PI / 4;
  return PanGains{std::cos(angle) * M_SQRT2, std::sin(angle) * M_SQRT2};
}

void Mix::add(int64_t index, double value, const PanGains& gains) {
  if (wrap_) {
    index %= frames_;
  } else if (index >= frames_) {
    return;
  }
  left_[static_cast<size_t>(index)] += value * gains.left;
  right_[static_cast<size_t>(index)] += value * gains.right;
}

void Mix::note(Voice voice, double start, double duration, double midiNote, double gain,
               double pan) {
  const double f = midiToHz(midiNote);
  double release = 0.08;
  double tail = 0;  // how long the voice rings after its nominal duration
  switch (voice) {
    case Voice::kMusicBox:
      tail = 1.6;
      break;
    case Voice::kMarimba:
      tail = 0.6;
      break;
    case Voice::kPluck:
      tail = 0.9;
      break;
    case Voice::kBass:
      release = 0.06;
      break;
    case Voice::kPad:
      release = 0.35;
      break;
    case Voice::kSoftLead:
      release = 0.07;
      break;
    case Voice::kKick:
      tail = 0.3;
      break;
    case Voice::kClap:
      tail = 0.25;
      break;
    case Voice::kHat:
      tail = 0.1;
      break;
    case Voice::kShaker:
      tail = 0.12;
      break;
  }
  const double length = (tail > 0) ? duration + tail : duration + release;
  const bool ringing = tail > 0;
  const double ringEnd = duration + tail;
  shape(start, length, gain, pan, [&](double t) {
    // Ringing voices fade to silence over the last 60 ms of their tail.
    const double fade = ringing ? std::clamp((ringEnd - t) / 0.06, 0.0, 1.0) : 1.0;
    switch (voice) {
      case Voice::kMusicBox: {
        const double index = 2.2 * std::exp(-t / 0.12);
        const double tone = std::sin(kTwoPi * f * t + index * std::sin(kTwoPi * 3.5 * f * t)) +
                            0.25 * std::sin(kTwoPi * 2 * f * t) * std::exp(-t / 0.3);
        return fade * envelope(t, 0.004, 1e9, 1) * std::exp(-t / 0.55) * tone * 0.8;
      }
      case Voice::kMarimba: {
        const double index = 1.4 * std::exp(-t / 0.03);
        const double tone = std::sin(kTwoPi * f * t + index * std::sin(kTwoPi * 4 * f * t)) +
                            0.2 * std::sin(kTwoPi * 10 * f * t) * std::exp(-t / 0.01);
        return fade * envelope(t, 0.003, 1e9, 1) * std::exp(-t / 0.28) * tone;
      }
      case Voice::kPluck: {
        // Partial k decays as e^k, so the upper partials fade first.
        const double decay = std::exp(-t * 2.5);
        double tone = 0, partialDecay = decay;
        for (int k = 1; k <= 6; ++k, partialDecay *= decay)
          tone += std::sin(kTwoPi * k * f * t) / k * partialDecay;
        return fade * envelope(t, 0.003, 1e9, 1) * std::exp(-t / 0.45) * tone * 0.7;
      }
      case Voice::kBass: {
        const double tone = std::sin(kTwoPi * f * t) + 0.3 * std::sin(kTwoPi * 2 * f * t) +
                            0.08 * std::sin(kTwoPi * 3 * f * t);
        return envelope(t, 0.008, duration, release) * (0.6 + 0.4 * std::exp(-t / 0.25)) * tone *
               0.8;
      }
      case Voice::kPad: {
        double tone = 0;
        for (double detune : {-0.004, 0.005}) {
          const double g = f * (1 + detune);
          tone += std::sin(kTwoPi * g * t) + std::sin(kTwoPi * 2 * g * t) / 6;
        }
        return envelope(t, 0.18, duration, release) * tone / 2 * 0.6;
      }
      case Voice::kSoftLead: {
        const double vibrato = 1 + 0.006 * std::sin(kTwoPi * 5.5 * t) * std::min(1.0, t / 0.2);
        double tone = 0;
        for (int k = 1; k <= 7; k += 2)
          tone += std::sin(kTwoPi * k * f * vibrato * t) / (k * k * 0.6 + 0.4);
        return envelope(t, 0.012, duration, release) * (0.75 + 0.25 * std::exp(-t / 0.1)) * tone *
               0.8;
      }
      case Voice::kKick: {
        // The pitch falls from 135 Hz to 45 Hz; the phase is the integral of that sweep.
        const double phase = kTwoPi * (45 * t + 90 * 0.03 * (1 - std::exp(-t / 0.03)));
        return fade * envelope(t, 0.002, 1e9, 1) * std::exp(-t / 0.11) * std::sin(phase);
      }
      case Voice::kClap: {
        const double burst =
            std::exp(-t / 0.06) * (t < 0.02 ? 0.7 + 0.3 * std::sin(kTwoPi * 90 * t) : 1.0);
        return fade * envelope(t, 0.001, 1e9, 1) *
               (0.6 * noise() * burst + 0.3 * std::sin(kTwoPi * 190 * t) * std::exp(-t / 0.04));
      }
      case Voice::kHat: {
        return fade * envelope(t, 0.001, 1e9, 1) * std::exp(-t / 0.025) * noise() * 0.5;
      }
      case Voice::kShaker: {
        return fade * envelope(t, 0.015, 1e9, 1) * std::exp(-t / 0.04) * noise() * 0.35;
      }
    }
    return 0.0;
  });
}

std::vector<float> Mix::render(int channels, double peak) {
  double maxAbs = 1e-9;
  for (int64_t i = 0; i < frames_; ++i) {
    maxAbs = std::max({maxAbs, std::abs(left_[static_cast<size_t>(i)]),
                       std::abs(right_[static_cast<size_t>(i)])});
  }
  const double scale = peak / maxAbs;
  std::vector<float> out;
  out.reserve(static_cast<size_t>(frames_) * channels);
  for (int64_t i = 0; i < frames_; ++i) {
    const double l = left_[static_cast<size_t>(i)] * scale;
    const double r = right_[static_cast<size_t>(i)] * scale;
    if (channels == 1) {
      out.push_back(static_cast<float>((l + r) / 2));
    } else {
      out.push_back(static_cast<float>(l));
      out.push_back(static_cast<float>(r));
    }
  }
  if (channels == 1) {
    // Mono mixes were summed from two pans; renormalise to the requested peak.
    double monoMax = 1e-9;
    for (float s : out) monoMax = std::max(monoMax, static_cast<double>(std::abs(s)));
    for (float& s : out) s = static_cast<float>(s * peak / monoMax);
  }
  return out;
}

}  // namespace tolvaro::assetgen
