// One game through the real screens: main menu, lobby, the five level announcements, play,
// the congratulations screen, the name entry and the records screen; Esc on the way; the
// threshold edge cases; the info boxes, the timer, the jingle and the music.
#include <gtest/gtest.h>

#include <climits>

#include "app/Program.h"
#include "assets/Catalogue.h"
#include "game/GameFlow.h"
#include "game/LetterBugs.h"
#include "records/RecordTable.h"
#include "screens/Lobby.h"
#include "support/Harness.h"

namespace tolvaro {
namespace {

using testing::Harness;

constexpr int kEnter = 13;
constexpr int kEsc = 27;

bool shows(const Harness& h, const Picture& picture, int x, int y) {
  if (picture.empty()) return false;
  for (int row = 0; row < picture.height; ++row) {
    for (int col = 0; col < picture.width; ++col) {
      if (h.pixel(x + col, y + row) != picture.at(col, row)) return false;
    }
  }
  return true;
}

bool soundPlayed(const Harness& h, std::size_t from, SoundCall call) {
  for (std::size_t i = from; i < h.host.sounds.size(); ++i) {
    if (h.host.sounds[i] == call) return true;
  }
  return false;
}

int countSounds(const Harness& h, std::size_t from, SoundCall call) {
  int n = 0;
  for (std::size_t i = from; i < h.host.sounds.size(); ++i) n += h.host.sounds[i] == call;
  return n;
}

// Main menu, Start Game, the lobby's slide-in, the start button: the first announcement.
void startGameFromTheMenu(Harness& h) {
  h.passes(5);
  h.move(800, 220);
  h.click();
  ASSERT_EQ(g_gameState, STATE_LOBBY);
  for (int i = 0; i < 100 && g_gameState != STATE_PLAY; ++i) h.pass();
  ASSERT_EQ(g_gameState, STATE_PLAY);
  ASSERT_EQ(g_phase, PHASE_PANEL);
  h.pass();
  h.move(800, 120);
  h.click();
  ASSERT_EQ(g_phase, PHASE_LEVEL_INTRO);
}

int shotsInFlight() {
  int n = 0;
  for (int i = 1; i <= g_bugsPerLevel[g_bugLevel]; ++i) {
    n += g_bugs[i].active == 1 && g_bugs[i].targeted == 1;
  }
  return n;
}

std::int32_t nextThreshold() {
  for (std::int32_t threshold : kScoreThresholds) {
    if (threshold > g_score) return threshold;
  }
  return INT_MAX;
}

// One pass of a careful player: a key for the first free bug on the board, unless the shots
// already on their way would carry the score past the next threshold.
void playOnePass(Harness& h) {
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
int playUntilAnnouncement(Harness& h, int maxPasses = 40000) {
  int ticks = 0;
  for (int i = 1; i <= maxPasses && g_phase == PHASE_PLAYING; ++i) {
    if (i % 100 == 0) {
      h.host.pushTimer(0);
      h.pass();
      ++ticks;
    } else {
      playOnePass(h);
    }
  }
  EXPECT_NE(g_phase, PHASE_PLAYING) << "the level did not end";
  return ticks;
}

struct TextBox {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
};

// Where text-coloured pixels lie in a region, leaving out those of the picture below them.
TextBox textIn(const Harness& h, int x0, int y0, int x1, int y1, const Picture& below, int bx,
               int by) {
  TextBox box;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (h.pixel(x, y) != kTextColour || below.at(x - bx, y - by) == kTextColour) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

// A line of text starts at (811, y): its pixels begin within a cell of that corner.
void expectInfoText(const Harness& h, int boxIndex, int y) {
  const int boxY[] = {490, 565, 640};
  const TextBox box =
      textIn(h, 800, y - 2, 975, y + 16, g_themeInfoBoxes[g_theme], 711, boxY[boxIndex]);
  ASSERT_GE(box.right, 0) << "no text at y " << y;
  EXPECT_GE(box.left, 811);
  EXPECT_LT(box.left, 819);
  EXPECT_GE(box.top, y);
  EXPECT_LT(box.top, y + 6);
}

TEST(GameFlowTest, WholeGameFromTheMainMenuToTheRecordsScreen) {
  Harness h;
  ASSERT_TRUE(h.start());
  ASSERT_FALSE(g_levelDigitPictures[1].empty());
  startGameFromTheMenu(h);
  // The start button's click, then the jingle of the first announcement in the same pass.
  ASSERT_GE(h.host.sounds.size(), 2u);
  std::size_t soundsBefore = h.host.sounds.size() - 2;
  EXPECT_EQ(h.host.sounds[soundsBefore], (SoundCall{199, SoundMode::Blocking}));
  EXPECT_EQ(h.host.sounds.back(), (SoundCall{237, SoundMode::OneShot}));

  int ticks = 0;
  int announcements = 0;
  bool tookPlayingScreenshot = false;
  for (int round = 0; round < 20; ++round) {
    h.pass();  // the announcement
    EXPECT_EQ(h.host.timerRunning(0), false);
    EXPECT_EQ(g_timerRunning, 0);
    if (g_introShown[kWinningThreshold] == 1) break;
    for (int k = 0; k < 5; ++k) {
      if (g_score != kScoreThresholds[k]) continue;
      SCOPED_TRACE("level " + std::to_string(k + 1));
      ++announcements;
      EXPECT_EQ(g_level, k + 1);
      EXPECT_EQ(g_introShown[k], 1);
      EXPECT_TRUE(shows(h, g_levelCaptionPicture, 193, 240));
      EXPECT_TRUE(shows(h, g_levelDigitPictures[k + 1], 320, 312));
      EXPECT_EQ(countSounds(h, soundsBefore, {237, SoundMode::OneShot}), 1);
      if (k == 0) h.screenshot("level_intro_1");
      expectInfoText(h, 2, 665);
    }
    h.pass();
    h.key(kEnter);
    EXPECT_EQ(g_phase, PHASE_PLAYING);
    EXPECT_EQ(h.host.sounds.back(), (SoundCall{198, SoundMode::Loop}));
    if (!tookPlayingScreenshot) {
      for (int i = 0; i < 80; ++i) playOnePass(h);
      EXPECT_GT(shotsInFlight(), 0);
      h.screenshot("playing_frame");
      expectInfoText(h, 0, 515);
      expectInfoText(h, 1, 590);
      expectInfoText(h, 2, 655);
      tookPlayingScreenshot = true;
    }
    soundsBefore = h.host.sounds.size();
    ticks += playUntilAnnouncement(h);
  }
  EXPECT_EQ(announcements, 5);
  EXPECT_EQ(g_score, 1100);
  EXPECT_EQ(g_level, 5);
  EXPECT_EQ(g_bestScore, 1100);
  EXPECT_TRUE(shows(h, g_congratsPicture, 163, 240));
  h.screenshot("congratulations");
  EXPECT_GT(ticks, 100);
  EXPECT_EQ(g_elapsedSeconds, ticks);

  h.host.queueDialog({DialogStep::type("ann"), DialogStep::send(DialogMessageType::Command, 1)});
  h.key(kEnter);
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  EXPECT_TRUE(h.host.dialogs[0].endedByScript);
  EXPECT_EQ(nameOf(g_records[0]), "ann");
  EXPECT_EQ(g_records[0].useTime, ticks);
  EXPECT_EQ(g_records[0].score, 1100);
  EXPECT_EQ(g_newRecordSlot, 1);
  EXPECT_EQ(g_score, 0);
  EXPECT_EQ(g_level, 1);
  EXPECT_EQ(g_elapsedSeconds, 0) << "the seconds count one game";
  for (std::int32_t flag : g_introShown) EXPECT_EQ(flag, 0);
  EXPECT_EQ(g_gameState, STATE_LOBBY_LEAVE);
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);

  int slideOut = 0;
  while (g_gameState == STATE_LOBBY_LEAVE && slideOut < 100) {
    h.pass();
    ++slideOut;
  }
  EXPECT_EQ(slideOut, 49) << "the pass of the Enter key drew the first of the 50";
  EXPECT_EQ(g_phase, PHASE_RECORDS);
  EXPECT_EQ(g_newRecordPending, 0);
  h.pass();
  EXPECT_EQ(h.pixel(755 + 11, 244 + 11), g_recordsMarkerPicture.at(11, 11));
  const TextBox name = textIn(h, 340, 240, 520, 270, g_recordsBoardPicture, 227, 184);
  EXPECT_GE(name.left, 361);
  EXPECT_LT(name.left, 369);
  h.screenshot("records_after_game");

  h.move(400, 560);
  h.click();
  EXPECT_EQ(g_gameState, STATE_LOBBY);
  EXPECT_EQ(g_phase, PHASE_PANEL);
}

class FlowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(h.start()); }

  // Straight into play at a level and score, with the announcements before it seen.
  void playAt(int level, std::int32_t score) {
    g_gameState = STATE_PLAY;
    g_phase = PHASE_PLAYING;
    g_level = level;
    g_score = score;
    for (int k = 0; k < level; ++k) g_introShown[k] = 1;
    g_introJinglePlayed = 0;
  }
  // Fills the slots of a level far up the board, none of them matching letter Z.
  static void fillBoard(int level) {
    for (int i = 1; i <= 8; ++i) g_bugs[i] = {100 + 50 * i, 200, 0, i <= g_bugsPerLevel[level], 0};
  }

  Harness h;
};

TEST_F(FlowTest, AJumpFrom99To101KeepsLevelOneUntilTheScoreIsExactly100) {
  playAt(1, 99);
  fillBoard(1);
  g_bugs[1] = {300, 200, 0, 1, 1};
  g_shots[1] = {1, 300, 210};
  g_bugs[2] = {400, 200, 1, 1, 1};
  g_shots[2] = {1, 400, 210};
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
  g_bugs[1] = {300, 200, 0, 1, 1};
  g_shots[1] = {1, 300, 210};
  h.pass();
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_EQ(g_level, 2);
  EXPECT_EQ(g_score, 101);
  h.pass();
  EXPECT_TRUE(shows(h, g_levelCaptionPicture, 193, 240));
  EXPECT_EQ(h.pixel(363, 355), g_themeFramePanels[0].at(303, 315)) << "no digit";
  EXPECT_EQ(g_introShown[1], 0);
  h.screenshot("level_intro_without_digit");
  h.key(kEnter);
  EXPECT_EQ(g_phase, PHASE_PLAYING);
  EXPECT_EQ(g_level, 2);
  h.key('Z');
  EXPECT_EQ(g_score, 100);
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  h.pass();
  EXPECT_TRUE(shows(h, g_levelDigitPictures[2], 320, 312));
  EXPECT_EQ(g_introShown[1], 1);
}

TEST_F(FlowTest, At1100AnEscapeInTheSameFrameLeavesTheGameUnwon) {
  playAt(5, 1100);
  fillBoard(5);
  g_bugs[1] = {300, 690, 4, 1, 0};
  h.pass();
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_EQ(g_score, 1099);
  h.pass();
  EXPECT_TRUE(shows(h, g_levelCaptionPicture, 193, 240)) << "the score is not 1100";
  EXPECT_FALSE(shows(h, g_congratsPicture, 163, 240));
  EXPECT_EQ(g_introShown[kWinningThreshold], 0);
  h.key(kEnter);
  EXPECT_EQ(g_phase, PHASE_PLAYING) << "Enter returns to play; the game is not over";
  EXPECT_EQ(g_level, 5);
  EXPECT_TRUE(h.host.dialogs.empty());
}

TEST_F(FlowTest, TimerRunsOnlyInPlayAndCountsOnlyTimerZero) {
  playAt(1, 10);
  h.passes(3);
  EXPECT_EQ(h.host.timerCalls, (std::vector<TimerCall>{{true, 0, 1000}}));
  EXPECT_EQ(g_timerRunning, 1);
  h.host.pushTimer(0);
  h.host.pushTimer(1);
  h.host.pushTimer(0);
  h.passes(3);
  EXPECT_EQ(g_elapsedSeconds, 2);
  g_phase = PHASE_LEVEL_INTRO;
  h.passes(2);
  EXPECT_EQ(h.host.timerCalls.size(), 3u) << "every announcement frame kills the timer";
  EXPECT_EQ(h.host.timerCalls.back(), (TimerCall{false, 0, 0}));
  EXPECT_FALSE(h.host.timerRunning(0));
  h.key(kEnter);
  h.pass();
  EXPECT_EQ(h.host.timerCalls.back(), (TimerCall{true, 0, 1000})) << "each stretch restarts it";
  EXPECT_EQ(g_elapsedSeconds, 2);
}

TEST_F(FlowTest, BestScoreFollowsTheScoreLiveAndSurvivesAnAbandonedGame) {
  g_bestScore = 30;
  playAt(1, 31);
  fillBoard(1);
  h.pass();
  EXPECT_EQ(g_bestScore, 31);
  g_records.fill({});
  for (RecordEntry& entry : g_records) {
    setName(entry, "top");
    entry.score = 900;
  }
  h.key(kEsc);
  EXPECT_EQ(g_bestScore, 31);
  EXPECT_EQ(g_score, 0);
}

TEST_F(FlowTest, EscOnAnAnnouncementReturnsToTheLobbyAndTheStartButtonBringsItBack) {
  startGameFromTheMenu(h);
  h.pass();
  const std::size_t afterFirst = h.host.sounds.size();
  EXPECT_EQ(h.host.sounds.back(), (SoundCall{237, SoundMode::OneShot}));
  h.key(kEsc);
  EXPECT_EQ(g_phase, PHASE_PANEL);
  EXPECT_EQ(h.host.sounds.back(), (SoundCall{203, SoundMode::Loop}));
  h.passes(2);
  h.move(800, 120);
  h.click();
  h.passes(3);
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_TRUE(shows(h, g_levelDigitPictures[1], 320, 312));
  EXPECT_FALSE(soundPlayed(h, afterFirst, {237, SoundMode::OneShot})) << "no second jingle";
  h.key(kEnter);
  EXPECT_EQ(g_introJinglePlayed, 0);
}

TEST_F(FlowTest, EscOnTheCongratulationsKeepsTheWonGame) {
  playAt(5, 1100);
  fillBoard(5);
  h.pass();
  h.pass();
  EXPECT_TRUE(shows(h, g_congratsPicture, 163, 240));
  h.key(kEsc);
  EXPECT_EQ(g_phase, PHASE_PANEL);
  h.passes(2);
  h.move(800, 120);
  h.click();
  h.pass();
  EXPECT_TRUE(shows(h, g_congratsPicture, 163, 240));
  h.host.queueDialog({DialogStep::type("win"), DialogStep::send(DialogMessageType::Command, 1)});
  h.key(kEnter);
  EXPECT_EQ(nameOf(g_records[0]), "win");
  EXPECT_EQ(g_records[0].score, 1100);
}

TEST_F(FlowTest, WonGameWithoutARecordStartsAnewAtTheFirstAnnouncement) {
  for (RecordEntry& entry : g_records) {
    setName(entry, "pro");
    entry.useTime = 1;
    entry.score = 1100;
  }
  playAt(5, 1100);
  g_elapsedSeconds = 40;
  h.pass();
  h.pass();
  const std::size_t soundsBefore = h.host.sounds.size();
  h.key(kEnter);
  EXPECT_TRUE(h.host.dialogs.empty());
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  EXPECT_EQ(g_score, 0);
  EXPECT_EQ(g_level, 1);
  EXPECT_EQ(g_elapsedSeconds, 0);
  EXPECT_EQ(h.host.sounds.size(), soundsBefore) << "the music is not changed";
  EXPECT_TRUE(shows(h, g_levelDigitPictures[1], 320, 312));
  EXPECT_EQ(g_introShown[0], 1);
}

TEST_F(FlowTest, AbandonWithoutANewRecordReturnsToTheIdleLobby) {
  for (RecordEntry& entry : g_records) {
    setName(entry, "pro");
    entry.useTime = 1;
    entry.score = 1000;
  }
  const RecordTable before = g_records;
  startGameFromTheMenu(h);
  h.pass();
  h.key(kEnter);
  for (int i = 0; i < 400; ++i) playOnePass(h);
  h.host.pushTimer(0);
  h.pass();
  const std::int32_t reached = g_score;
  EXPECT_GT(reached, 0);
  EXPECT_TRUE(h.host.timerRunning(0));
  h.key(kEsc);
  EXPECT_EQ(h.host.sounds.back(), (SoundCall{203, SoundMode::Loop}));
  EXPECT_FALSE(h.host.timerRunning(0));
  EXPECT_EQ(g_timerRunning, 0);
  EXPECT_TRUE(h.host.dialogs.empty());
  EXPECT_EQ(g_phase, PHASE_PANEL);
  EXPECT_EQ(g_gameState, STATE_PLAY);
  EXPECT_EQ(g_score, 0);
  EXPECT_EQ(g_level, 1);
  EXPECT_EQ(g_elapsedSeconds, 0);
  EXPECT_GE(g_bestScore, reached);
  for (std::int32_t flag : g_introShown) EXPECT_EQ(flag, 0);
  for (int i = 0; i < kRecordRows; ++i) {
    EXPECT_EQ(nameOf(g_records[i]), nameOf(before[i]));
    EXPECT_EQ(g_records[i].score, before[i].score);
  }
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(g_bugs[i].active, 0);
}

TEST_F(FlowTest, AbandonWithANewRecordOpensTheDialogAndEndsAtTheRecordsScreen) {
  startGameFromTheMenu(h);
  h.pass();
  h.key(kEnter);
  for (int i = 0; i < 400; ++i) playOnePass(h);
  for (int i = 0; i < 3; ++i) {
    h.host.pushTimer(0);
    h.pass();
  }
  const std::int32_t reached = g_score;
  ASSERT_GT(reached, 0);
  h.host.queueDialog({DialogStep::type("bob"), DialogStep::send(DialogMessageType::Command, 2)});
  h.key(kEsc);
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  EXPECT_EQ(nameOf(g_records[0]), "bob");
  EXPECT_EQ(g_records[0].useTime, 3);
  EXPECT_EQ(g_records[0].score, reached);
  EXPECT_EQ(g_score, 0);
  EXPECT_EQ(g_elapsedSeconds, 0);
  EXPECT_EQ(g_gameState, STATE_LOBBY_LEAVE);
  EXPECT_EQ(g_phase, PHASE_PLAYING) << "the phase stays until the slide-out ends";
  // Letters during the slide-out still reach the hit test: each is a miss at no cost.
  const std::size_t soundsBefore = h.host.sounds.size();
  h.key('Q');
  EXPECT_EQ(h.host.sounds.back(), (SoundCall{205, SoundMode::OneShot}));
  EXPECT_GT(h.host.sounds.size(), soundsBefore);
  EXPECT_EQ(g_score, 0);
  for (int i = 0; i < 60 && g_gameState == STATE_LOBBY_LEAVE; ++i) h.pass();
  EXPECT_EQ(g_gameState, STATE_PLAY);
  EXPECT_EQ(g_phase, PHASE_RECORDS);
  h.pass();
  EXPECT_EQ(h.pixel(755 + 11, 244 + 11), g_recordsMarkerPicture.at(11, 11));
}

// Mended: a new game frees all eight slots, not only those of the level last played.
TEST_F(FlowTest, ANewGameStartsWithEightFreshBugsAfterAGameThatReachedLevelThree) {
  for (RecordEntry& entry : g_records) {
    setName(entry, "pro");
    entry.score = 2000;
  }
  playAt(1, 40);
  h.passes(30);   // eight bugs of level 1 in play
  g_score = 250;  // straight on to level 3, which uses four slots
  h.pass();
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  h.pass();
  h.key(kEnter);
  h.passes(10);
  for (int i = 5; i <= 8; ++i) EXPECT_EQ(g_bugs[i].active, 1) << "left over from level 1";
  h.key(kEsc);
  EXPECT_EQ(g_phase, PHASE_PANEL);
  h.pass();
  h.move(800, 120);
  h.click();
  h.pass();
  h.key(kEnter);  // the first playing frame spawns
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(g_bugs[i].active, 1);
    EXPECT_EQ(g_bugs[i].y, 74) << "slot " << i << " was spawned afresh";
  }
}

}  // namespace
}  // namespace tolvaro
