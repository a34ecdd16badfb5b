// The five levels of a game and the exact scores at which they start and the game is won.
#pragma once

#include <cstdint>

namespace tolvaro {

constexpr int kLevelCount = 5;
// The scores that start levels 1..5 and the one that wins the game.
constexpr int kThresholdCount = kLevelCount + 1;
constexpr std::int32_t kScoreThresholds[kThresholdCount] = {0, 100, 250, 450, 750, 1100};
constexpr int kWinningThreshold = kLevelCount;  // index of 1100
constexpr std::int32_t kWinningScore = kScoreThresholds[kWinningThreshold];

}  // namespace tolvaro
