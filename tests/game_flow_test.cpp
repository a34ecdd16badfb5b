// One game through the real screens: main menu, lobby, the five level announcements, play,
// the congratulations screen, the name entry and the records screen; Esc on the way; the
// threshold edge cases; the info boxes, the timer, the jingle and the music.
#include <gtest/gtest.h>

#include <climits>

#include "assets/Catalogue.h"
#include "game/GameFlow.h"
#include "game/LetterBugs.h"
#include "records/RecordTable.h"
#include "screen_checks.h"
#include "support/Harness.h"
#include "support/RecordRows.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

// The scores that start levels 1 to 5, and the winning score.
constexpr std::int32_t kLevelStarts[6] = {0, 100, 250, 450, 750, 1100};

int shotsInFlight() {
  int n = 0;
  for (int i = 1; i <= g_bugsPerLevel[g_bugLevel]; ++i) {
    n += g_bugs[i].active == 1 && g_bugs[i].targeted == 1;
  }
  return n;
}

std::int32_t nextThreshold() {
  for (std::int32_t threshold : kLevelStarts) {
    if (threshold > g_score) return threshold;
  }
  return INT_MAX;
}

// A line of the info boxes starts at (811, y): its pixels begin within a cell of that corner.
void expectInfoText(int boxIndex, int y) {
  const int boxY[] = {490, 565, 640};
  const TextBox box =
      textOver(g_themeInfoBoxes[g_theme], 711, boxY[boxIndex], 800, y - 2, 975, y + 16);
  ASSERT_FALSE(box.empty()) << "no text at y " << y;
  EXPECT_GE(box.left, 811);
  EXPECT_LT(box.left, 819);
  EXPECT_GE(box.top, y);
  EXPECT_LT(box.top, y + 6);
}

// The score, level, seconds and announcements of a game that has not begun.
void expectNoGameYet() {
  EXPECT_EQ(g_score, 0);
  EXPECT_EQ(g_level, 1);
  EXPECT_EQ(g_elapsedSeconds, 0) << "the seconds count one game";
  for (std::int32_t flag : g_introShown) EXPECT_EQ(flag, 0);
}

class FlowTest : public ProgramTest {
 protected:
  // The menu at rest, the lobby, the start button: the first announcement.
  void startGame() {
    h.passes(48);
    ASSERT_TRUE(h.openIdleLobby());
    h.pressStart();
    ASSERT_EQ(g_phase, PHASE_LEVEL_INTRO);
  }

  // One pass of a careful player: a key for the first free bug on the board, unless the shots
  // already on their way would carry the score past the next threshold.
  void playOnePass() {
    if (g_score + shotsInFlight() < nextThreshold()) {
      for (int i = 1; i <= g_bugsPerLevel[g_bugLevel]; ++i) {
        if (g_bugs[i].active == 1 && g_bugs[i].targeted == 0) {
          h.key('A' + g_bugs[i].letter);
          return;
        }
      }
    }
    h.pass();
  }

  // Plays until the game leaves the playing phase; a timer tick arrives every 100 passes.
  // Returns the ticks delivered.
  int playUntilAnnouncement(int maxPasses = 40000) {
    int ticks = 0;
    for (int i = 1; i <= maxPasses && g_phase == PHASE_PLAYING; ++i) {
      if (i % 100 == 0) {
        h.host.pushTimer(0);
        h.pass();
        ++ticks;
      } else {
        playOnePass();
      }
    }
    EXPECT_NE(g_phase, PHASE_PLAYING) << "the level did not end";
    return ticks;
  }

  // A started game's first 400 passes of play and then `ticks` timer ticks.
  void playAWhile(int ticks) {
    ASSERT_NO_FATAL_FAILURE(startGame());
    h.pass();
    h.key(kKeyEnter);
    for (int i = 0; i < 400; ++i) playOnePass();
    for (int i = 0; i < ticks; ++i) {
      h.host.pushTimer(0);
      h.pass();
    }
  }

  // Straight into play at a level and score, with the announcements before it seen.
  static void playAt(int level, std::int32_t score) {
    g_gameState = STATE_PLAY;
    g_phase = PHASE_PLAYING;
    g_level = level;
    g_score = score;
    for (int k = 0; k < level; ++k) g_introShown[k] = 1;
    g_introJinglePlayed = 0;
  }
  // Fills the slots of a level far up the board, none of them matching letter Z.
  static void fillBoard(int level) {
    for (int i = 1; i <= 8; ++i) {
      g_bugs[i] = {.x = 100 + 50 * i, .y = 200, .letter = 0, .active = i <= g_bugsPerLevel[level]};
    }
  }
  // A bug at (x, 200) with its shot 10 pixels below it: caught in the next pass.
  static void bugWithShot(int slot, int x, int letter) {
    g_bugs[slot] = {.x = x, .y = 200, .letter = letter, .active = 1, .targeted = 1};
    g_shots[slot] = {.fired = 1, .x = x, .y = 210};
  }
  static void fillRecords(std::int32_t useTime, std::int32_t score) {
    g_records.fill(row("pro", useTime, score));
  }
};

using GameFlowTest = FlowTest;

TEST_F(GameFlowTest, WholeGameFromTheMainMenuToTheRecordsScreen) {
  ASSERT_FALSE(g_levelDigitPictures[1].empty());
  ASSERT_NO_FATAL_FAILURE(startGame());
  // The start button's click, then the jingle of the first announcement in the same pass.
  ASSERT_GE(h.host.sounds.size(), 2u);
  std::size_t soundsBefore = h.host.sounds.size() - 2;
  EXPECT_EQ(h.host.sounds[soundsBefore], kClick);
  EXPECT_EQ(h.host.sounds.back(), kIntroJingle);

  int ticks = 0;
  int announcements = 0;
  bool tookPlayingScreenshot = false;
  for (int round = 0; round < 20; ++round) {
    h.pass();  // the announcement
    EXPECT_EQ(h.host.timerRunning(0), false);
    EXPECT_EQ(g_timerRunning, 0);
    if (g_introShown[5] == 1) break;
    for (int k = 0; k < 5; ++k) {
      if (g_score != kLevelStarts[k]) continue;
      SCOPED_TRACE("level " + std::to_string(k + 1));
      ++announcements;
      EXPECT_EQ(g_level, k + 1);
      EXPECT_EQ(g_introShown[k], 1);
      EXPECT_TRUE(pictureAt(g_levelCaptionPicture, 193, 240));
      EXPECT_TRUE(pictureAt(g_levelDigitPictures[k + 1], 320, 312));
      EXPECT_EQ(countSound(h.host, kIntroJingle, soundsBefore), 1);
      if (k == 0) h.screenshot("level_intro_1");
      expectInfoText(2, 665);
    }
    h.pass();
    h.key(kKeyEnter);
    EXPECT_EQ(g_phase, PHASE_PLAYING);
    EXPECT_EQ(h.host.sounds.back(), kPlayMusic);
    if (!tookPlayingScreenshot) {
      for (int i = 0; i < 80; ++i) playOnePass();
      EXPECT_GT(shotsInFlight(), 0);
      h.screenshot("playing_frame");
      expectInfoText(0, 515);
      expectInfoText(1, 590);
      expectInfoText(2, 655);
      tookPlayingScreenshot = true;
    }
    soundsBefore = h.host.sounds.size();
    ticks += playUntilAnnouncement();
  }
  EXPECT_EQ(announcements, 5);
  EXPECT_EQ(g_score, 1100);
  EXPECT_EQ(g_level, 5);
  EXPECT_EQ(g_bestScore, 1100);
  EXPECT_TRUE(pictureAt(g_congratsPicture, 163, 240));
  h.screenshot("congratulations");
  EXPECT_GT(ticks, 100);
  EXPECT_EQ(g_elapsedSeconds, ticks);

  h.host.queueDialog({DialogStep::type("ann"), DialogStep::send(DialogMessageType::Command, 1)});
  h.key(kKeyEnter);
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  EXPECT_TRUE(h.host.dialogs[0].endedByScript);
  expectRow(g_records[0], "ann", ticks, 1100);
  EXPECT_EQ(g_newRecordSlot, 1);
  expectNoGameYet();
  EXPECT_TRUE(screenIs(STATE_LOBBY_LEAVE, PHASE_LEVEL_INTRO));

  int slideOut = 0;
  for (; g_gameState == STATE_LOBBY_LEAVE && slideOut < 100; ++slideOut) h.pass();
  EXPECT_EQ(slideOut, 49) << "the pass of the Enter key drew the first of the 50";
  EXPECT_EQ(g_phase, PHASE_RECORDS);
  EXPECT_EQ(g_newRecordPending, 0);
  h.pass();
  EXPECT_EQ(h.pixel(755 + 11, 244 + 11), g_recordsMarkerPicture.at(11, 11));
  const TextBox name = textOver(g_recordsBoardPicture, 227, 184, 340, 240, 520, 270);
  EXPECT_GE(name.left, 361);
  EXPECT_LT(name.left, 369);
  h.screenshot("records_after_game");

  h.clickAt(400, 560);
  EXPECT_TRUE(screenIs(STATE_LOBBY, PHASE_PANEL));
}

// Input lag: a letter key taken in a pass shows its shot in the picture that pass presents.
TEST_F(FlowTest, ALetterKeyShowsItsShotInTheNextPresentedPicture) {
  ASSERT_NO_FATAL_FAILURE(startGame());
  h.pass();
  h.key(kKeyEnter);
  ASSERT_EQ(g_phase, PHASE_PLAYING);
  h.pass();
  int slot = 0;
  for (int i = 1; i < kBugSlots; ++i) {
    if (g_bugs[i].active && !g_bugs[i].targeted) slot = i;
  }
  ASSERT_NE(slot, 0) << "a bug on the board";
  const int presents = h.host.presents;
  h.key(kKeyA + static_cast<std::uint32_t>(g_bugs[slot].letter));
  EXPECT_EQ(h.host.presents, presents + 1);
  ASSERT_EQ(g_shots[slot].fired, 1);
  EXPECT_EQ(h.host.lastPresented.pixels, g_backBuffer.view().pixels);
  EXPECT_TRUE(pictureAt(g_shotBitmap, g_shots[slot].x, g_shots[slot].y))
      << "the shot, one step out, in the picture of the key's own pass";
}

TEST_F(FlowTest, AJumpFrom99To101KeepsLevelOneUntilTheScoreIsExactly100) {
  playAt(1, 99);
  fillBoard(1);
  bugWithShot(1, 300, 0);
  bugWithShot(2, 400, 1);
  h.pass();
  EXPECT_EQ(g_score, 101);
  h.passes(3);
  EXPECT_EQ(g_level, 1);
  EXPECT_EQ(g_phase, PHASE_PLAYING);
  h.key('Z');  // a miss takes it back to 100, and that frame finds the threshold
  EXPECT_EQ(g_score, 100);
  EXPECT_EQ(g_level, 2);
  EXPECT_EQ(g_bugLevel, 2) << "the bugs of that frame already run at level 2";
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
}

TEST_F(FlowTest, ACatchInTheThresholdFrameAnnouncesLevelWithoutADigit) {
  playAt(1, 100);
  g_introShown[1] = 0;
  fillBoard(1);
  bugWithShot(1, 300, 0);
  h.pass();
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_EQ(g_level, 2);
  EXPECT_EQ(g_score, 101);
  h.pass();
  EXPECT_TRUE(pictureAt(g_levelCaptionPicture, 193, 240));
  EXPECT_EQ(h.pixel(363, 355), g_themeFramePanels[0].at(303, 315)) << "no digit";
  EXPECT_EQ(g_introShown[1], 0);
  h.screenshot("level_intro_without_digit");
  h.key(kKeyEnter);
  EXPECT_EQ(g_phase, PHASE_PLAYING);
  EXPECT_EQ(g_level, 2);
  h.key('Z');
  EXPECT_EQ(g_score, 100);
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  h.pass();
  EXPECT_TRUE(pictureAt(g_levelDigitPictures[2], 320, 312));
  EXPECT_EQ(g_introShown[1], 1);
}

TEST_F(FlowTest, At1100AnEscapeInTheSameFrameLeavesTheGameUnwon) {
  playAt(5, 1100);
  fillBoard(5);
  g_bugs[1] = {.x = 300, .y = 690, .letter = 4, .active = 1};
  h.pass();
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_EQ(g_score, 1099);
  h.pass();
  EXPECT_TRUE(pictureAt(g_levelCaptionPicture, 193, 240)) << "the score is not 1100";
  EXPECT_FALSE(pictureAt(g_congratsPicture, 163, 240));
  EXPECT_EQ(g_introShown[5], 0);
  h.key(kKeyEnter);
  EXPECT_EQ(g_phase, PHASE_PLAYING) << "Enter returns to play; the game is not over";
  EXPECT_EQ(g_level, 5);
  EXPECT_TRUE(h.host.dialogs.empty());
}

TEST_F(FlowTest, TimerRunsOnlyInPlayAndCountsOnlyTimerZero) {
  constexpr TimerCall kSet{.set = true, .id = 0, .milliseconds = 1000};
  playAt(1, 10);
  h.passes(3);
  EXPECT_EQ(h.host.timerCalls, std::vector<TimerCall>{kSet});
  EXPECT_EQ(g_timerRunning, 1);
  for (int id : {0, 1, 0}) h.host.pushTimer(id);
  h.passes(3);
  EXPECT_EQ(g_elapsedSeconds, 2);
  g_phase = PHASE_LEVEL_INTRO;
  h.passes(2);
  EXPECT_EQ(h.host.timerCalls.size(), 3u) << "every announcement frame kills the timer";
  EXPECT_EQ(h.host.timerCalls.back(), (TimerCall{.set = false, .id = 0, .milliseconds = 0}));
  EXPECT_FALSE(h.host.timerRunning(0));
  h.key(kKeyEnter);
  h.pass();
  EXPECT_EQ(h.host.timerCalls.back(), kSet) << "each stretch restarts it";
  EXPECT_EQ(g_elapsedSeconds, 2);
}

TEST_F(FlowTest, BestScoreFollowsTheScoreLiveAndSurvivesAnAbandonedGame) {
  g_bestScore = 30;
  playAt(1, 31);
  fillBoard(1);
  h.pass();
  EXPECT_EQ(g_bestScore, 31);
  g_records.fill(row("top", 0, 900));
  h.key(kKeyEscape);
  EXPECT_EQ(g_bestScore, 31);
  EXPECT_EQ(g_score, 0);
}

TEST_F(FlowTest, EscOnAnAnnouncementReturnsToTheLobbyAndTheStartButtonBringsItBack) {
  ASSERT_NO_FATAL_FAILURE(startGame());
  h.pass();
  const std::size_t afterFirst = h.host.sounds.size();
  EXPECT_EQ(h.host.sounds.back(), kIntroJingle);
  h.key(kKeyEscape);
  EXPECT_EQ(g_phase, PHASE_PANEL);
  EXPECT_EQ(h.host.sounds.back(), kLobbyMusic);
  h.passes(2);
  h.pressStart();
  h.passes(3);
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_TRUE(pictureAt(g_levelDigitPictures[1], 320, 312));
  EXPECT_EQ(countSound(h.host, kIntroJingle, afterFirst), 0) << "no second jingle";
  h.key(kKeyEnter);
  EXPECT_EQ(g_introJinglePlayed, 0);
}

TEST_F(FlowTest, EscOnTheCongratulationsKeepsTheWonGame) {
  playAt(5, 1100);
  fillBoard(5);
  h.passes(2);
  EXPECT_TRUE(pictureAt(g_congratsPicture, 163, 240));
  h.key(kKeyEscape);
  EXPECT_EQ(g_phase, PHASE_PANEL);
  h.passes(2);
  h.pressStart();
  h.pass();
  EXPECT_TRUE(pictureAt(g_congratsPicture, 163, 240));
  h.host.queueDialog({DialogStep::type("win"), DialogStep::send(DialogMessageType::Command, 1)});
  h.key(kKeyEnter);
  EXPECT_EQ(nameOf(g_records[0]), "win");
  EXPECT_EQ(g_records[0].score, 1100);
}

TEST_F(FlowTest, WonGameWithoutARecordStartsAnewAtTheFirstAnnouncement) {
  fillRecords(1, 1100);
  playAt(5, 1100);
  g_elapsedSeconds = 40;
  h.passes(2);
  const std::size_t soundsBefore = h.host.sounds.size();
  h.key(kKeyEnter);
  EXPECT_TRUE(h.host.dialogs.empty());
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_EQ(g_score, 0);
  EXPECT_EQ(g_level, 1);
  EXPECT_EQ(g_elapsedSeconds, 0);
  EXPECT_EQ(h.host.sounds.size(), soundsBefore) << "the music is not changed";
  EXPECT_TRUE(pictureAt(g_levelDigitPictures[1], 320, 312));
  EXPECT_EQ(g_introShown[0], 1);
}

TEST_F(FlowTest, AbandonWithoutANewRecordReturnsToTheIdleLobby) {
  fillRecords(1, 1000);
  const RecordTable before = g_records;
  ASSERT_NO_FATAL_FAILURE(playAWhile(1));
  const std::int32_t reached = g_score;
  EXPECT_GT(reached, 0);
  EXPECT_TRUE(h.host.timerRunning(0));
  h.key(kKeyEscape);
  EXPECT_EQ(h.host.sounds.back(), kLobbyMusic);
  EXPECT_FALSE(h.host.timerRunning(0));
  EXPECT_EQ(g_timerRunning, 0);
  EXPECT_TRUE(h.host.dialogs.empty());
  EXPECT_EQ(g_phase, PHASE_PANEL);
  EXPECT_EQ(g_gameState, STATE_PLAY);
  expectNoGameYet();
  EXPECT_GE(g_bestScore, reached);
  for (int i = 0; i < kRecordRows; ++i) {
    EXPECT_EQ(nameOf(g_records[i]), nameOf(before[i]));
    EXPECT_EQ(g_records[i].score, before[i].score);
  }
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(g_bugs[i].active, 0);
}

TEST_F(FlowTest, AbandonWithANewRecordOpensTheDialogAndEndsAtTheRecordsScreen) {
  ASSERT_NO_FATAL_FAILURE(playAWhile(3));
  const std::int32_t reached = g_score;
  ASSERT_GT(reached, 0);
  h.host.queueDialog({DialogStep::type("bob"), DialogStep::send(DialogMessageType::Command, 2)});
  h.key(kKeyEscape);
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  expectRow(g_records[0], "bob", 3, reached);
  expectNoGameYet();
  EXPECT_EQ(g_gameState, STATE_LOBBY_LEAVE);
  EXPECT_EQ(g_phase, PHASE_PLAYING) << "the phase stays until the slide-out ends";
  // Letters during the slide-out still reach the hit test: each is a miss at no cost.
  const std::size_t soundsBefore = h.host.sounds.size();
  h.key('Q');
  EXPECT_EQ(h.host.sounds.back(), kMiss);
  EXPECT_GT(h.host.sounds.size(), soundsBefore);
  EXPECT_EQ(g_score, 0);
  for (int i = 0; i < 60 && g_gameState == STATE_LOBBY_LEAVE; ++i) h.pass();
  EXPECT_TRUE(screenIs(STATE_PLAY, PHASE_RECORDS));
  h.pass();
  EXPECT_EQ(h.pixel(755 + 11, 244 + 11), g_recordsMarkerPicture.at(11, 11));
}

// Mended: a new game frees all eight slots, not only those of the level last played.
TEST_F(FlowTest, ANewGameStartsWithEightFreshBugsAfterAGameThatReachedLevelThree) {
  fillRecords(0, 2000);
  playAt(1, 40);
  h.passes(30);   // eight bugs of level 1 in play
  g_score = 250;  // straight on to level 3, which uses four slots
  h.pass();
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  h.pass();
  h.key(kKeyEnter);
  h.passes(10);
  for (int i = 5; i <= 8; ++i) EXPECT_EQ(g_bugs[i].active, 1) << "left over from level 1";
  h.key(kKeyEscape);
  EXPECT_EQ(g_phase, PHASE_PANEL);
  h.pass();
  h.pressStart();
  h.pass();
  h.key(kKeyEnter);  // the first playing frame spawns
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(g_bugs[i].active, 1);
    EXPECT_EQ(g_bugs[i].y, 74) << "slot " << i << " was spawned afresh";
  }
}

}  // namespace
}  // namespace tolvaro::testing
