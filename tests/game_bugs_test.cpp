// The letter engine: spawning from the clock-seeded generator, the rule order of a pass, the
// drawing, the hit test and its sounds, the penalties and the board reset.
#include <gtest/gtest.h>

#include "assets/Catalogue.h"
#include "game/GameFlow.h"
#include "game/LetterBugs.h"
#include "screen_checks.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

// The playfield as the frame panel leaves it, at screen position (x, y).
std::uint32_t panelAt(int x, int y) {
  return g_themeFramePanels[0].at(x - 60, y - 40);
}

// The slot holds no bug and no shot is on its way from it.
bool slotFree(int slot) {
  return (g_bugs[slot].active | g_bugs[slot].targeted | g_shots[slot].fired) == 0;
}

class BugsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    g_gameState = STATE_PLAY;
    g_phase = PHASE_PLAYING;
    g_introShown[0] = 1;
  }

  static void place(int slot, int x, int y, int letter, int targeted = 0) {
    g_bugs[slot] = {.x = x, .y = y, .letter = letter, .active = 1, .targeted = targeted};
  }
  static void aim(int slot, int x, int y) { g_shots[slot] = {.fired = 1, .x = x, .y = y}; }

  // Fills every slot of the level so that a pass spawns nothing, with bugs far from each other,
  // at a score inside the level that is no threshold.
  static void fillLevel(int level) {
    constexpr std::int32_t kScoreInLevel[] = {0, 50, 120, 300, 500, 800};
    g_level = level;
    g_score = kScoreInLevel[level];
    for (int i = 1; i <= g_bugsPerLevel[level]; ++i) place(i, 100 + 60 * i, 300, 25);
  }
};

// Mended: the program's own generator, the C runtime's of the platform the game was made for
// (0 to 32767 whatever the host's rand() gives), so one second gives one board everywhere.
TEST(Random, GivesTheCRuntimeSequenceInFifteenBits) {
  Random fromOne;
  for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) {
    EXPECT_EQ(fromOne.next(), expected);
  }
  Random large(0xFFFFFFFFu);
  for (int i = 0; i < 1000; ++i) {
    const int n = large.next();
    ASSERT_TRUE(n >= 0 && n <= Random::kMax) << n;
  }
}

TEST_F(BugsTest, FirstPassSpawnsSlotsEightDownToOneWithTwoRandCallsEachFromTheClockSeed) {
  h.pass();  // the first playing frame after start-up
  // The C runtime's generator from seed 1 700 000 000, two numbers a slot from slot 8 down:
  // x = 150 + n % 417, then letter = n % 26.
  ASSERT_EQ(h.host.clockSeconds, 1'700'000'000);
  const int x[9] = {0, 193, 282, 254, 497, 340, 509, 295, 256};
  const int letter[9] = {0, 2, 9, 19, 24, 7, 14, 16, 13};
  for (int i = 8; i >= 1; --i) {
    SCOPED_TRACE("slot " + std::to_string(i));
    EXPECT_EQ(g_bugs[i].x, x[i]);
    EXPECT_EQ(g_bugs[i].y, 74);
    EXPECT_EQ(g_bugs[i].letter, letter[i]);
    EXPECT_EQ(g_bugs[i].active, 1);
    EXPECT_EQ(g_bugs[i].targeted, 0);
    EXPECT_EQ(g_shots[i].fired, 0);
  }
  for (int unused : {0, 9, 10}) EXPECT_EQ(g_bugs[unused].active, 0);
  EXPECT_EQ(g_bugLevel, 1);
  // Spawned bugs are not drawn in the pass that spawns them.
  ASSERT_FALSE(g_themeFramePanels[0].empty());
  EXPECT_EQ(h.pixel(g_bugs[1].x + 10, 84), panelAt(g_bugs[1].x + 10, 84));

  h.pass();
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(g_bugs[i].y, 75);
  // Slot 1 is drawn last, over any bug it overlaps.
  EXPECT_TRUE(pictureAt(g_letterTiles[g_bugs[1].letter], g_bugs[1].x, 75, 20, 20));
}

TEST_F(BugsTest, LowerSlotIsDrawnOverAHigherOneAndSlotsAboveTheLevelStayStill) {
  fillLevel(2);
  place(1, 200, 300, 0);
  place(2, 205, 305, 1);
  place(7, 400, 400, 2);  // left over from level 1
  h.pass();
  EXPECT_EQ(g_bugs[1].y, 302);
  EXPECT_EQ(g_bugs[2].y, 307);
  ASSERT_FALSE(g_letterTiles[0].empty());
  EXPECT_TRUE(pictureAt(g_letterTiles[0], 200, 302, 20, 20));
  EXPECT_EQ(h.pixel(224, 325), g_letterTiles[1].at(19, 18));
  EXPECT_EQ(g_bugs[7].y, 400);
  EXPECT_EQ(h.pixel(410, 410), panelAt(410, 410)) << "a slot above the level is not drawn";
}

TEST_F(BugsTest, EachLevelsBugsFallAsManyPixelsAFrameAsItsNumber) {
  for (int level = 1; level <= 5; ++level) {
    fillLevel(level);
    h.pass();
    for (int i = 1; i <= g_bugsPerLevel[level]; ++i) {
      EXPECT_EQ(g_bugs[i].y, 300 + level) << "level " << level << " slot " << i;
    }
  }
}

TEST_F(BugsTest, EscapeComesBeforeTheCatchAndDropsTheShot) {
  fillLevel(1);
  g_score = 57;
  place(3, 300, 680, 4, 1);
  aim(3, 300, 600);  // would count as arrived
  h.pass();
  EXPECT_EQ(g_score, 56);
  EXPECT_EQ(g_bugs[3].active, 0);
  EXPECT_EQ(g_bugs[3].targeted, 0);
  EXPECT_EQ(g_shots[3].fired, 0);
  EXPECT_EQ(h.pixel(305, 690), panelAt(305, 690)) << "nothing is drawn for an escape";
  // An untargeted bug at 679 still falls.
  place(3, 300, 679, 4);
  h.pass();
  EXPECT_EQ(g_bugs[3].y, 680);
  EXPECT_EQ(g_score, 56);
}

TEST_F(BugsTest, EscapePenaltySparesTheFourLevelFloorsAndZeroButNot1100) {
  for (int level : {1, 3, 5}) {
    for (std::int32_t score : {0, 100, 250, 450, 750, 1100, 101, 7}) {
      fillLevel(level);
      place(1, 200, 684, 0);
      g_score = score;
      updateBugs();
      const bool spared =
          score == 0 || score == 100 || score == 250 || score == 450 || score == 750;
      EXPECT_EQ(g_score, spared ? score : score - 1) << "level " << level << " score " << score;
    }
  }
}

TEST_F(BugsTest, CatchIsStrictAndAddsOnePerShotThatArrives) {
  fillLevel(1);
  g_score = 10;
  place(1, 300, 200, 0, 1);
  aim(1, 300, 220);  // equal to bug y + 20: not yet
  place(2, 400, 200, 1, 1);
  aim(2, 400, 219);
  place(3, 500, 200, 2, 1);
  aim(3, 503, 219);
  updateBugs();
  EXPECT_EQ(g_score, 12) << "two shots arriving in one pass add two";
  EXPECT_EQ(g_bugs[1].active, 1);
  EXPECT_EQ(g_shots[1].y, 217);
  EXPECT_TRUE(slotFree(2));
  EXPECT_TRUE(slotFree(3));
}

TEST_F(BugsTest, ShotHomesThreePixelsAndZigzagsAboutTheBugsColumn) {
  fillLevel(3);
  place(1, 300, 200, 5, 1);
  aim(1, 300, 600);
  h.pass();
  EXPECT_EQ(g_shots[1].x, 297) << "equal x moves left";
  EXPECT_EQ(g_shots[1].y, 597);
  EXPECT_EQ(g_bugs[1].y, 203);
  ASSERT_FALSE(g_shotBitmap.empty());
  EXPECT_TRUE(pictureAt(g_letterTiles[5], 300, 203, 20, 20));
  EXPECT_TRUE(pictureAt(g_shotBitmap, 297, 597, 15, 15));
  h.pass();
  EXPECT_EQ(g_shots[1].x, 300) << "then right again";
  EXPECT_EQ(g_shots[1].y, 594);
  EXPECT_EQ(g_bugs[1].y, 206);
  h.screenshot("playing_frame_shot");
}

TEST_F(BugsTest, LetterKeysTakeTheFirstFreeMatchingSlotThenCountMisses) {
  fillLevel(1);
  updateBugs();  // g_bugLevel follows g_level
  place(2, 200, 300, 7);
  place(5, 300, 300, 7);
  g_score = 40;
  h.host.sounds.clear();
  h.key('H');
  EXPECT_EQ(g_bugs[2].targeted, 1);
  EXPECT_EQ(g_shots[2].fired, 1);
  EXPECT_EQ(g_bugs[5].targeted, 0);
  h.key('H');
  EXPECT_EQ(g_bugs[5].targeted, 1);
  h.key('H');
  EXPECT_EQ(g_score, 39) << "no free bug of that letter left: a miss";
  EXPECT_EQ(h.host.sounds, (std::vector<SoundCall>{kCatch, kCatch, kMiss}));
  EXPECT_EQ(g_score, 39) << "the key itself scores nothing";
}

TEST_F(BugsTest, TheShotStartsAtTheBottomCentre) {
  fillLevel(1);
  updateBugs();
  place(4, 500, 300, 3);
  fireAtLetter(3);
  EXPECT_EQ(g_shots[4].fired, 1);
  EXPECT_EQ(g_shots[4].x, 363);
  EXPECT_EQ(g_shots[4].y, 680);
}

TEST_F(BugsTest, MissesStopAtTheFloorOfTheLevelBeingPlayed) {
  struct Case {
    int level;
    std::int32_t score, after;
  };
  const Case cases[] = {{1, 0, 0},       {1, 5, 4},       {2, 100, 100},   {2, 101, 100},
                        {3, 250, 250},   {4, 450, 450},   {4, 451, 450},   {5, 750, 750},
                        {5, 1100, 1100}, {5, 1101, 1100}, {5, 1099, 1098}, {3, 100, 99}};
  for (const Case& c : cases) {
    g_level = c.level;
    g_bugLevel = c.level;
    for (int i = 1; i <= 8; ++i) g_bugs[i].active = 0;
    g_score = c.score;
    fireAtLetter(0);
    EXPECT_EQ(g_score, c.after) << "level " << c.level << " score " << c.score;
  }
  // The floor follows g_level, not the level of the last pass.
  g_level = 2;
  g_bugLevel = 5;
  g_score = 100;
  fireAtLetter(0);
  EXPECT_EQ(g_score, 100);
}

TEST_F(BugsTest, BeforeTheFirstPassEveryKeyIsAMiss) {
  EXPECT_EQ(g_bugLevel, 0);
  place(1, 200, 200, 0);
  g_score = 3;
  h.key('A');
  EXPECT_EQ(g_bugs[1].targeted, 0);
  EXPECT_EQ(g_score, 2);
  EXPECT_EQ(h.host.sounds.back(), kMiss);
}

TEST_F(BugsTest, ResetBoardFreesOnlyTheSlotsOfTheLastPassLevel) {
  for (int i = 1; i <= 8; ++i) {
    place(i, 150 + i, 100 + i, i, 1);
    aim(i, 363, 600);
  }
  g_bugLevel = 4;
  resetBoard();
  for (int i = 1; i <= 3; ++i) {
    EXPECT_TRUE(slotFree(i)) << i;
    EXPECT_EQ(g_bugs[i].x, 150 + i) << "positions and letters stay";
    EXPECT_EQ(g_bugs[i].letter, i);
  }
  for (int i = 4; i <= 8; ++i) EXPECT_EQ(g_bugs[i].active, 1);
}

}  // namespace
}  // namespace tolvaro::testing
