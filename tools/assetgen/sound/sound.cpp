// The game's music and effects. Loops are written into wrapping mixes, so every note that rings
// past the end continues at the start and the loop has no seam.
#include "sound/sound.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <future>

#include "assets/Sounds.h"
#include "sound/synth.h"

namespace tolvaro::assetgen {
namespace {

constexpr double kTwoPi = 2 * M_PI;

struct Note {
  double beat, beats, pitch;
};

// Chord tones as MIDI notes around middle C.
struct Chord {
  int root, third, fifth;
};
constexpr Chord kC{60, 64, 67}, kAm{57, 60, 64}, kF{53, 57, 60}, kG{55, 59, 62}, kEm{52, 55, 59};

// Menu music: the alphabet song tune (a public-domain melody) on a music box, with bass,
// pad and a soft sparkle, 16 beats that loop.
SoundAsset menuMusic() {
  constexpr double kBeat = 0.555;
  Mix mix(44100, 8.88, true);
  const Note melody[] = {{0, 1, 72},      {1, 1, 72},    {2, 1, 79},      {3, 1, 79},
                         {4, 1, 81},      {5, 1, 81},    {6, 2, 79},      {8, 1, 77},
                         {9, 1, 77},      {10, 1, 76},   {11, 1, 76},     {12, 0.5, 74},
                         {12.5, 0.5, 74}, {13, 0.5, 74}, {13.5, 0.5, 74}, {14, 2, 72}};
  for (const Note& n : melody)
    mix.note(Voice::kMusicBox, n.beat * kBeat, n.beats * kBeat * 0.9, n.pitch, 0.5);
  const Chord chords[8] = {kC, kC, kF, kC, kF, kC, kG, kC};
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& c = chords[bar];
    const double t = bar * 2 * kBeat;
    mix.note(Voice::kBass, t, kBeat * 0.9, c.root - 12, 0.45);
    mix.note(Voice::kBass, t + kBeat, kBeat * 0.9,
             c.fifth - 24 + (c.fifth - 24 < c.root - 12 ? 12 : 0), 0.35);
    for (int tone : {c.root, c.third, c.fifth})
      mix.note(Voice::kPad, t, 2 * kBeat * 0.95, tone, 0.08);
    // Off-beat sparkle an octave up.
    mix.note(Voice::kPluck, t + 0.5 * kBeat, 0.2, c.third + 12, 0.12);
    mix.note(Voice::kPluck, t + 1.5 * kBeat, 0.2, c.fifth + 12, 0.12);
  }
  return {kMenuMusicWave, {1, 44100, 16}, mix.render(1, 0.8)};
}

// Playing music: a bouncy two-bar groove, C Am F G.
SoundAsset playMusic() {
  constexpr double kBeat = 3.69 / 8;
  Mix mix(44100, 3.69, true);
  const double lead[16] = {76, 79, 81, 79, 76, 74, 72, 74, 76, 79, 84, 83, 81, 79, 76, 79};
  for (int i = 0; i < 16; ++i) {
    mix.note(Voice::kMarimba, i * 0.5 * kBeat, 0.4 * kBeat, lead[i], i % 2 == 0 ? 0.42 : 0.32,
             -0.35);
  }
  const Chord chords[4] = {kC, kAm, kF, kG};
  for (int c = 0; c < 4; ++c) {
    const double t = c * 2 * kBeat;
    for (int e = 0; e < 4; ++e) {
      mix.note(Voice::kBass, t + e * 0.5 * kBeat, 0.42 * kBeat, chords[c].root - 24 + (e % 2) * 12,
               0.42);
    }
    for (int hit = 0; hit < 2; ++hit) {
      for (int tone : {chords[c].root, chords[c].third, chords[c].fifth}) {
        mix.note(Voice::kPluck, t + (0.5 + hit) * kBeat, 0.2, tone, 0.1, 0.4);
      }
    }
  }
  for (int b = 0; b < 8; ++b) {
    mix.note(Voice::kKick, b * kBeat, 0.05, 36, b % 2 == 0 ? 0.55 : 0.35);
    if (b % 2 == 1) mix.note(Voice::kClap, b * kBeat, 0.05, 60, 0.3, 0.1);
    mix.note(Voice::kHat, (b + 0.5) * kBeat, 0.03, 90, 0.22, 0.3);
  }
  return {kPlayMusicWave, {2, 44100, 16}, mix.render(2, 0.8)};
}

// Lobby music: twelve calm bars with a music-box tune over harp arpeggios.
SoundAsset lobbyMusic() {
  constexpr double kBeat = 28.04 / 48;
  Mix mix(44100, 28.04, true);
  const Chord bars[12] = {kC, kAm, kF, kG, kC, kEm, kF, kG, kAm, kF, kC, kG};
  const Note melody[] = {
      {0, 1, 76},    {1, 1, 79},      {2, 1.5, 84}, {3.5, 0.5, 83},  // C
      {4, 2, 81},    {6, 2, 76},                                     // Am
      {8, 1, 77},    {9, 1, 81},      {10, 1, 84},  {11, 1, 81},     // F
      {12, 3, 79},   {15, 1, 74},                                    // G
      {16, 1, 76},   {17, 1, 79},     {18, 1, 76},  {19, 1, 72},     // C
      {20, 1, 71},   {21, 1, 76},     {22, 2, 79},                   // Em
      {24, 1.5, 81}, {25.5, 0.5, 79}, {26, 1, 77},  {27, 1, 76},     // F
      {28, 2, 74},   {30, 2, 67},                                    // G
      {32, 1, 72},   {33, 1, 76},     {34, 1, 81},  {35, 1, 79},     // Am
      {36, 1, 77},   {37, 1, 76},     {38, 1, 74},  {39, 1, 72},     // F
      {40, 2, 76},   {42, 1, 79},     {43, 1, 76},                   // C
      {44, 3, 74},                                                   // G
  };
  for (const Note& n : melody)
    mix.note(Voice::kMusicBox, n.beat * kBeat, n.beats * kBeat * 0.9, n.pitch, 0.42, 0.15);
  for (int bar = 0; bar < 12; ++bar) {
    const Chord& c = bars[bar];
    const double t = bar * 4 * kBeat;
    mix.note(Voice::kBass, t, 1.8 * kBeat, c.root - 12, 0.4);
    mix.note(Voice::kBass, t + 2 * kBeat, 1.8 * kBeat,
             c.root - 12 + 7 - (c.root - 12 + 7 > 52 ? 12 : 0), 0.32);
    const int arpeggio[8] = {c.root,       c.third, c.fifth, c.root + 12,
                             c.third + 12, c.fifth, c.third, c.fifth};
    for (int e = 0; e < 8; ++e) {
      mix.note(Voice::kPluck, t + e * 0.5 * kBeat, 0.3, arpeggio[e], e % 2 == 0 ? 0.16 : 0.11,
               -0.4);
    }
    for (int e = 0; e < 8; ++e)
      mix.note(Voice::kShaker, t + e * 0.5 * kBeat, 0.05, 90, e % 2 ? 0.1 : 0.06, 0.5);
    for (int tone : {c.root, c.third, c.fifth})
      mix.note(Voice::kPad, t, 4 * kBeat * 0.97, tone, 0.05, 0);
  }
  return {kLobbyMusicWave, {2, 44100, 16}, mix.render(2, 0.78)};
}

// About music: a dreamy music box rocking between two chords.
SoundAsset aboutMusic() {
  constexpr double kBeat = 5.51 / 8;
  Mix mix(44100, 5.51, true);
  const int fmaj7[4] = {65, 69, 72, 76};
  const int gadd[4] = {67, 71, 74, 79};
  for (int half = 0; half < 2; ++half) {
    const int* chord = half == 0 ? fmaj7 : gadd;
    const double t = half * 4 * kBeat;
    const int order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
    for (int e = 0; e < 8; ++e) {
      mix.note(Voice::kMusicBox, t + e * 0.5 * kBeat, 0.3, chord[order[e]] + 12, 0.2,
               e % 2 ? 0.45 : -0.45);
    }
    mix.note(Voice::kBass, t, 3.8 * kBeat, chord[0] - 24, 0.3);
    for (int i = 0; i < 3; ++i) mix.note(Voice::kPad, t, 4 * kBeat * 0.97, chord[i], 0.07);
  }
  const Note tune[] = {{0, 2, 84}, {2, 2, 81}, {4, 2, 83}, {6, 2, 86}};
  for (const Note& n : tune)
    mix.note(Voice::kMarimba, n.beat * kBeat, n.beats * kBeat, n.pitch, 0.25);
  return {kAboutMusicWave, {2, 44100, 16}, mix.render(2, 0.75)};
}

// Level jingle: a rising fanfare that lands on a shimmering chord.
SoundAsset fanfare(int id, double seconds, int rootNote) {
  Mix mix(19886, seconds, false);
  const int steps[4] = {0, 4, 7, 12};
  for (int i = 0; i < 4; ++i) {
    mix.note(Voice::kSoftLead, 0.05 + i * 0.13, 0.11, rootNote + steps[i], 0.45);
    mix.note(Voice::kMarimba, 0.05 + i * 0.13, 0.1, rootNote + steps[i] + 12, 0.2);
  }
  const double land = 0.05 + 4 * 0.13;
  mix.note(Voice::kSoftLead, land, 0.9, rootNote + 16, 0.35);
  for (int tone : {rootNote, rootNote + 4, rootNote + 7, rootNote + 12}) {
    mix.note(Voice::kPad, land, seconds - land - 0.6, tone, 0.2);
  }
  mix.note(Voice::kBass, land, 1.0, rootNote - 12, 0.4);
  for (int i = 0; i < 8; ++i) {
    mix.note(Voice::kMusicBox, land + 0.25 + i * 0.09, 0.1,
             rootNote + 24 + steps[i % 4] + (i / 4) * 12, 0.14);
  }
  mix.note(Voice::kKick, 0.05, 0.05, 36, 0.3);
  mix.note(Voice::kKick, land, 0.05, 36, 0.4);
  // Everything has died away before the end; make sure of the last 30 ms.
  std::vector<float> samples = mix.render(1, 0.85);
  const size_t fade = static_cast<size_t>(0.03 * 19886);
  for (size_t i = 0; i < fade && i < samples.size(); ++i) {
    samples[samples.size() - 1 - i] *= static_cast<float>(static_cast<double>(i) / fade);
  }
  return {id, {1, 19886, 8}, samples};
}

// One-shot effects, shaped directly.
std::vector<float> finishEffect(Mix& mix, double peak) {
  std::vector<float> samples = mix.render(1, peak);
  const size_t fade = std::min(samples.size() / 4, static_cast<size_t>(mix.sampleRate() * 0.01));
  for (size_t i = 0; i < fade; ++i)
    samples[samples.size() - 1 - i] *= static_cast<float>(static_cast<double>(i) / fade);
  return samples;
}

SoundAsset clickSound() {
  Mix mix(22050, 0.36, false);
  // A bubbly pop whose pitch drops, then a bell ping.
  mix.shape(0, 0.08, 0.8, 0, [](double t) {
    const double phase = kTwoPi * (600 * t + 700 * 0.02 * (1 - std::exp(-t / 0.02)));
    return std::min(1.0, t / 0.002) * std::exp(-t / 0.025) * std::sin(phase);
  });
  mix.shape(0.02, 0.34, 0.45, 0, [](double t) {
    const double f = 1568;
    const double index = 1.5 * std::exp(-t / 0.05);
    return std::min(1.0, t / 0.003) * std::exp(-t / 0.08) *
           std::sin(kTwoPi * f * t + index * std::sin(kTwoPi * 3.5 * f * t));
  });
  return {kClickWave, {1, 22050, 16}, finishEffect(mix, 0.85)};
}

SoundAsset hoverSound() {
  Mix mix(22050, 0.30, false);
  for (int echo = 0; echo < 2; ++echo) {
    const double gain = echo == 0 ? 0.6 : 0.2;
    mix.shape(echo * 0.09, 0.2, gain, 0, [](double t) {
      return std::min(1.0, t / 0.002) * (std::exp(-t / 0.03) * std::sin(kTwoPi * 2093 * t) +
                                         0.4 * std::exp(-t / 0.015) * std::sin(kTwoPi * 3136 * t));
    });
  }
  return {kHoverWave, {1, 22050, 16}, finishEffect(mix, 0.6)};
}

SoundAsset catchSound() {
  Mix mix(22050, 0.11, false);
  mix.shape(0, 0.11, 1.0, 0, [](double t) {
    // A rising chirp: the frequency glides from 700 Hz to about 2 kHz.
    const double k = std::log(2000.0 / 700.0) / 0.1;
    const double phase = kTwoPi * 700 * (std::exp(k * t) - 1) / k;
    return std::min(1.0, t / 0.003) * std::max(0.0, 1 - t / 0.11) *
           (std::sin(phase) + 0.3 * std::sin(2 * phase));
  });
  return {kCatchWave, {1, 22050, 8}, finishEffect(mix, 0.85)};
}

SoundAsset missSound() {
  Mix mix(22050, 0.51, false);
  mix.shape(0, 0.51, 1.0, 0, [](double t) {
    // A soft, low "bloop" gliding down from 440 Hz to 220 Hz: nearly a pure tone, rounded
    // attack, and gone well before the end, so that a mistake sounds smaller than a catch.
    const double k = std::log(220.0 / 440.0) / 0.3;
    const double glide = t < 0.3 ? (std::exp(k * t) - 1) / k
                                 : (std::exp(k * 0.3) - 1) / k + (t - 0.3) * std::exp(k * 0.3);
    const double phase = kTwoPi * 440 * glide;
    const double tone = std::sin(phase) + 0.15 * std::sin(2 * phase);
    const double attack = 0.5 - 0.5 * std::cos(M_PI * std::min(1.0, t / 0.012));
    return attack * std::exp(-t / 0.09) * tone;
  });
  return {kMissWave, {1, 22050, 16}, finishEffect(mix, 0.4)};
}

// A little bonus chime: three marimba notes running up a C major chord, and a bell on top.
SoundAsset chimeSound() {
  Mix mix(22050, 0.81, false);
  const int notes[3] = {84, 88, 91};
  for (int i = 0; i < 3; ++i)
    mix.note(Voice::kMarimba, 0.01 + i * 0.07, 0.05, notes[i], 0.5 - 0.08 * i);
  mix.shape(0.15, 0.62, 0.3, 0, [](double t) {
    const double f = midiToHz(96);
    return std::min(1.0, t / 0.003) * std::exp(-t / 0.12) *
           (std::sin(kTwoPi * f * t) + 0.3 * std::sin(kTwoPi * 2.76 * f * t) * std::exp(-t / 0.04));
  });
  return {kBonusChimeWave, {1, 22050, 16, WaveCoding::kMsAdpcm}, finishEffect(mix, 0.8)};
}

}  // namespace

std::vector<SoundAsset> composeSounds() {
  // Each piece owns its mix (and noise generator), so composing them side by side gives the
  // same samples as one after another.
  const std::vector<std::function<SoundAsset()>> pieces = {
      chimeSound,
      playMusic,
      clickSound,
      hoverSound,
      menuMusic,
      catchSound,
      missSound,
      aboutMusic,
      [] { return fanfare(kSpareFanfareWave, 3.64, 65); },
      [] { return fanfare(kIntroJingleWave, 3.42, 60); }};
  std::future<SoundAsset> longest = std::async(std::launch::async, lobbyMusic);
  std::vector<SoundAsset> sounds;
  for (const auto& piece : pieces) sounds.push_back(piece());
  sounds.push_back(longest.get());
  std::sort(sounds.begin(), sounds.end(),
            [](const SoundAsset& a, const SoundAsset& b) { return a.id < b.id; });
  return sounds;
}

}  // namespace tolvaro::assetgen
