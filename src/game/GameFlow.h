// One game: level announcements, play, thresholds, the seconds counter and the best score.
#pragma once

#include <cstdint>

#include "game/Levels.h"

namespace tolvaro {

// One flag per threshold: 1 once its announcement has been drawn.
inline std::int32_t g_introShown[kThresholdCount] = {};
// 1 once the jingle has started for the announcement on screen.
inline std::int32_t g_introJinglePlayed = 0;
// 1 while the one-second game timer is set.
inline std::int32_t g_timerRunning = 0;

void levelIntroFrame();
void playingFrame();
void levelIntroEnter();
void levelIntroEscape();
void abandonGame();
void resetGameFlowState();

}  // namespace tolvaro
