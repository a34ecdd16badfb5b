// The falling letter bugs and the shots that catch them.
#pragma once

#include <cstdint>

#include "assets/BitmapCatalogue.h"
#include "base/Random.h"
#include "game/Levels.h"

namespace tolvaro {

// One bug slot.
struct BugEntry {
  std::int32_t x = 0;         // left edge of the tile
  std::int32_t y = 0;         // top edge of the tile
  std::int32_t letter = 0;    // 0..25, 'A' + letter
  std::int32_t active = 0;    // 1 while the slot holds a bug in play
  std::int32_t targeted = 0;  // 1 while a shot is on its way to this bug
};

// The shot of the bug slot with the same number.
struct ShotEntry {
  std::int32_t fired = 0;  // 1 while the shot is in flight
  std::int32_t x = 0;
  std::int32_t y = 0;
};

constexpr int kBugSlots = 11;  // slots 1..8 are used; 0, 9 and 10 never are
constexpr int kMostBugsInPlay = 8;

inline BugEntry g_bugs[kBugSlots];
inline ShotEntry g_shots[kBugSlots];
// Slots in use and pixels fallen per frame, by level 1..5; index 0 is no level.
inline const std::int32_t g_bugsPerLevel[kLevelCount + 1] = {0, 8, 6, 4, 3, 3};
inline const std::int32_t g_fallSpeed[kLevelCount + 1] = {0, 1, 2, 3, 4, 5};
// Where the bugs' columns and letters come from: seeded once from the clock at start-up, so
// a given second gives the same board on every host.
inline Random g_random;
// The level whose slot count and speed the last pass used (0 before the first pass).
inline std::int32_t g_bugLevel = 0;

constexpr int kBugSpawnLeft = 150;
constexpr int kBugSpawnColumns = 417;  // x from 150 to 566
constexpr int kBugSpawnY = 74;
constexpr int kBugEscapeY = 680;
constexpr int kShotStartX = 363;
constexpr int kShotStartY = 680;
constexpr int kShotStep = 3;
constexpr int kTileBlock = kLetterTileSize;

// One pass over the slots: spawn, escape, catch, homing and fall, drawn into the back buffer.
void updateBugs();
// A letter key (0 for A .. 25 for Z): a shot at the first free bug of that letter, or a miss.
void fireAtLetter(int letter);
// Frees slots 1..N of the level the last pass used.
void resetBoard();
// Frees every slot, whatever level last played; a new game starts on an empty board.
void freeAllBugSlots();
void resetLetterBugsState();

}  // namespace tolvaro
