#include "game/LetterBugs.h"

#include "assets/Catalogue.h"
#include "assets/Sounds.h"
#include "frame/Frame.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

// The 15x15 shot is copied through the tiles' 20x20 block.
constexpr int kShotBlock = kTileBlock;

// An escape costs nothing while the score stands at the start of a level.
bool escapeIsSpared(std::int32_t score) {
  for (int level = 1; level <= kLevelCount; ++level) {
    if (score == kScoreThresholds[level - 1]) return true;
  }
  return false;
}

// A miss costs nothing at the floor of the level being played, nor on the winning score.
bool missIsSpared(std::int32_t level, std::int32_t score) {
  if (level < 1 || level > kLevelCount) return false;
  return score == kScoreThresholds[level - 1] || (level == kLevelCount && score == kWinningScore);
}

int slotsInUse(std::int32_t level) {
  return level >= 0 && level <= kLevelCount ? g_bugsPerLevel[level] : 0;
}

void freeSlot(int i) {
  g_bugs[i].active = 0;
  g_bugs[i].targeted = 0;
  g_shots[i].fired = 0;
}

void drawTile(const BugEntry& bug) {
  if (bug.letter < 0 || bug.letter >= 26) return;
  copyOpaque(g_backBuffer, g_letterTiles[bug.letter], bug.x, bug.y, kTileBlock, kTileBlock);
}

}  // namespace

void updateBugs() {
  g_bugLevel = g_level;
  const int count = slotsInUse(g_bugLevel);
  const std::int32_t speed = count > 0 ? g_fallSpeed[g_bugLevel] : 0;
  // Downwards, so a lower-numbered slot is drawn over a higher one.
  for (int i = count; i >= 1; --i) {
    BugEntry& bug = g_bugs[i];
    ShotEntry& shot = g_shots[i];
    if (bug.active == 0) {
      bug.x = g_random.next() % kBugSpawnColumns + kBugSpawnLeft;
      bug.y = kBugSpawnY;
      bug.letter = g_random.next() % 26;
      bug.active = 1;
    } else if (bug.y >= kBugEscapeY) {
      freeSlot(i);
      if (!escapeIsSpared(g_score)) --g_score;
    } else if (shot.fired == 1 && shot.y < bug.y + kTileBlock) {
      ++g_score;
      freeSlot(i);
    } else if (shot.fired == 1) {
      shot.x += shot.x < bug.x ? kShotStep : -kShotStep;
      shot.y -= kShotStep;
      bug.y += speed;
      drawTile(bug);
      copyOpaque(g_backBuffer, g_shotBitmap, shot.x, shot.y, kShotBlock, kShotBlock);
    } else {
      bug.y += speed;
      drawTile(bug);
    }
  }
}

void fireAtLetter(int letter) {
  const int count = slotsInUse(g_bugLevel);
  for (int i = 1; i <= count; ++i) {
    BugEntry& bug = g_bugs[i];
    if (bug.active == 1 && bug.letter == letter && bug.targeted == 0) {
      playSound(kCatchWave, SoundMode::OneShot);
      bug.targeted = 1;
      g_shots[i] = {1, kShotStartX, kShotStartY};
      return;
    }
  }
  playSound(kMissWave, SoundMode::OneShot);
  if (!missIsSpared(g_level, g_score)) --g_score;
}

void resetBoard() {
  const int count = slotsInUse(g_bugLevel);
  for (int i = 1; i <= count; ++i) freeSlot(i);
}

void freeAllBugSlots() {
  for (int i = 1; i <= kMostBugsInPlay; ++i) freeSlot(i);
}

void resetLetterBugsState() {
  for (int i = 0; i < kBugSlots; ++i) {
    g_bugs[i] = {};
    g_shots[i] = {};
  }
  g_bugLevel = 0;
  g_random = Random();
}

}  // namespace tolvaro
