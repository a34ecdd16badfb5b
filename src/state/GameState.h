// The screen the program shows and the input state that every screen reads.
#pragma once

#include <cstdint>

namespace tolvaro {

enum GameState : std::uint32_t {
  STATE_MAIN_MENU = 0,
  STATE_PLAY = 1,
  STATE_LOAD_GAME = 2,
  STATE_SETTINGS = 3,
  STATE_ABOUT = 4,
  STATE_QUIT = 5,
  STATE_LOBBY = 6,
  STATE_LOBBY_LEAVE = 7,
  STATE_EXIT_CONFIRM = 8,
};

// Sub-screens of STATE_PLAY.
enum Phase : std::uint32_t {
  PHASE_PANEL = 0,
  PHASE_LEVEL_INTRO = 1,
  PHASE_PLAYING = 2,
  PHASE_RECORDS = 3,
};

inline std::uint32_t g_gameState = STATE_MAIN_MENU;
inline std::uint32_t g_phase = PHASE_PANEL;

// Last mouse-move position; every hot zone is tested against it, never a click's own position.
inline std::int32_t g_mouseX = 0;
inline std::int32_t g_mouseY = 0;

// Seconds counted by the one-second game timer (timer number 0).
inline std::int32_t g_elapsedSeconds = 0;

constexpr int kGameTimer = 0;

}  // namespace tolvaro
