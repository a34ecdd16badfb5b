// The WAVE resources the program plays, and how each is played.
#pragma once

namespace tolvaro {

constexpr int kPlayMusicWave = 198;    // looping
constexpr int kClickWave = 199;        // blocking
constexpr int kHoverWave = 200;        // one-shot
constexpr int kMenuMusicWave = 201;    // looping
constexpr int kLobbyMusicWave = 203;   // looping
constexpr int kCatchWave = 204;        // one-shot
constexpr int kMissWave = 205;         // one-shot
constexpr int kAboutMusicWave = 223;   // looping
constexpr int kIntroJingleWave = 237;  // one-shot

// The pieces played in a loop; each ends where it starts.
constexpr int kLoopingWaves[4] = {kPlayMusicWave, kMenuMusicWave, kLobbyMusicWave, kAboutMusicWave};

// In the module but never played by the program's own code.
constexpr int kBonusChimeWave = 197;
constexpr int kSpareFanfareWave = 236;

}  // namespace tolvaro
