// One game: level announcements, play, thresholds, the seconds counter and the best score.
#pragma once

#include <cstdint>

namespace tolvaro {

inline std::int32_t g_level = 1;
inline std::int32_t g_score = 0;
inline std::int32_t g_bestScore = 0;

// The scores that start levels 1..5 and the one that wins the game.
constexpr int kThresholdCount = 6;
constexpr std::int32_t kScoreThresholds[kThresholdCount] = {0, 100, 250, 450, 750, 1100};
constexpr int kWinningThreshold = 5;  // index of 1100
constexpr std::int32_t kWinningScore = 1100;

// One flag per threshold: 1 once its announcement has been drawn.
inline std::int32_t g_introShown[kThresholdCount] = {};
// 1 once the jingle has started for the announcement on screen.
inline std::int32_t g_introJinglePlayed = 0;
// 1 while the one-second game timer is set.
inline std::int32_t g_timerRunning = 0;

constexpr int kPlayMusic = 198;
constexpr int kLobbyMusic = 203;
constexpr int kIntroJingle = 237;

void levelIntroFrame();
void playingFrame();
void levelIntroEnter();
void levelIntroEscape();
void abandonGame();
void resetGameFlowState();

}  // namespace tolvaro
