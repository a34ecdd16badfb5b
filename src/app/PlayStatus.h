// What a host may show beside the game while it is played: whether the game is waiting for
// letters, and the part of the screen below the info boxes that nothing of the play covers.
#pragma once

#include "assets/Layout.h"
#include "frame/Frame.h"
#include "state/GameState.h"

namespace tolvaro {

struct ScreenArea {
  int x;
  int y;
  int width;
  int height;
};

// From a level's announcement to the end of the play: the time the keyboard's letters count.
inline bool gameTakesLetters() {
  return g_gameState == STATE_PLAY && (g_phase == PHASE_LEVEL_INTRO || g_phase == PHASE_PLAYING);
}

inline constexpr ScreenArea kAreaBelowInfoBoxes = {
    kInfoBoxX, kInfoBoxY[2] + kInfoBoxShownSize.height, kScreenWidth - kInfoBoxX,
    kScreenHeight - (kInfoBoxY[2] + kInfoBoxShownSize.height)};

}  // namespace tolvaro
