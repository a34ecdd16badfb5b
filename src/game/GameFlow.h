// One game: level announcements, play, thresholds, the seconds counter and the best score.
#pragma once

#include <cstdint>

namespace tolvaro {

inline std::int32_t g_level = 1;
inline std::int32_t g_score = 0;
inline std::int32_t g_bestScore = 0;

void levelIntroFrame();
void playingFrame();
void levelIntroEnter();
void levelIntroEscape();
void abandonGame();
void resetGameFlowState();

}  // namespace tolvaro
