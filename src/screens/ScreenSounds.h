// The WAVE resources the menus and the lobby play.
#pragma once

namespace tolvaro {

constexpr int kClickWave = 199;       // blocking
constexpr int kHoverWave = 200;       // one-shot
constexpr int kMenuMusicWave = 201;   // looping
constexpr int kLobbyMusicWave = 203;  // looping
constexpr int kAboutMusicWave = 223;  // looping

}  // namespace tolvaro
