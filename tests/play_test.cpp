// Games as a player plays them, through the real screens and watched frame by frame: the level
// announcements, each level's bugs and shots, catches and misses and the score they make, the
// seconds, the congratulations at 1100, the name entry and the records it makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "assets/Catalogue.h"
#include "screen_checks.h"
#include "support/Harness.h"
#include "state/Session.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

using autoplay::Bug;
using autoplay::bugsOnBoard;
constexpr std::int32_t kLevelStarts[6] = {0, 100, 250, 450, 750, 1100};

std::optional<Bug> inSlot(const std::vector<Bug>& bugs, int slot) {
  for (const Bug& bug : bugs) {
    if (bug.slot == slot) return bug;
  }
  return std::nullopt;
}

// Checks a pass of play against the rules of the board: a bug whose shot began the pass above
// the bug's bottom edge is caught and scores one; any other bug falls as many pixels as the
// level's number, and its shot climbs three pixels, stepping across towards the bug.
class BoardWatch {
 public:
  void before() {
    bugs_ = bugsOnBoard();
    score_ = score();
  }
  void after(int misses = 0) {
    if (autoplay::screen() != Screen::Playing) return;  // an announcement clears the board
    const int level = autoplay::scoreboard().level;
    const std::vector<Bug> now = bugsOnBoard();
    int caught = 0;
    bool escaped = false;
    for (const Bug& was : bugs_) {
      const std::optional<Bug> is = inSlot(now, was.slot);
      if (was.y >= 680) {
        escaped = true;
      } else if (was.shotFired && was.shotY < was.y + 20) {
        ++caught;
        EXPECT_FALSE(is) << "a caught bug stays, slot " << was.slot;
      } else {
        ASSERT_TRUE(is) << "a bug vanished from slot " << was.slot;
        closeCalls += was.shotFired && was.shotY == was.y + 20;
        EXPECT_EQ(is->y, was.y + level) << "level " << level;
        ++fallsAtLevel[level];
        if (!was.shotFired) continue;
        EXPECT_EQ(is->shotY, was.shotY - 3);
        EXPECT_EQ(is->shotX, was.shotX + (was.shotX < was.x ? 3 : -3));
      }
    }
    if (!escaped) {
      EXPECT_EQ(score(), score_ + caught - misses);
    }
  }
  int closeCalls = 0;
  int fallsAtLevel[6] = {};

 private:
  std::vector<Bug> bugs_;
  std::int32_t score_ = 0;
};

std::uint32_t letterNotOnBoard() {
  const std::vector<Bug> bugs = bugsOnBoard();
  for (int letter = 25;; --letter) {
    if (std::none_of(bugs.begin(), bugs.end(), [&](const Bug& b) { return b.letter == letter; }))
      return kKeyA + static_cast<std::uint32_t>(letter);
  }
}

// The free bugs of a letter on the board.
int freeBugsOf(std::uint32_t key) {
  const std::vector<Bug> bugs = bugsOnBoard();
  return static_cast<int>(std::count_if(bugs.begin(), bugs.end(), [&](const Bug& b) {
    return !b.shotFired && kKeyA + static_cast<std::uint32_t>(b.letter) == key;
  }));
}

TEST(Game, PlayedFromTheMenuThroughFiveLevelsToTheRecordsScreen) {
  Harness h;
  ASSERT_TRUE(h.startAtRestingMenu());
  ASSERT_TRUE(h.openIdleLobby());
  const std::size_t lobbySounds = h.host.sounds.size();
  h.pressStart();
  EXPECT_EQ(soundsSince(h.host, lobbySounds), (std::vector<SoundCall>{kClick, kIntroJingle}));
  BoardWatch watch;
  int ticks = 0, secondPresses = 0;
  for (int level = 1; level <= 5; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    const std::int32_t floor = kLevelStarts[level - 1];
    h.pass();
    ASSERT_TRUE(screenIs(Screen::LevelIntro));
    EXPECT_TRUE(pictureAt(g_levelCaptionPicture, 193, 240));
    EXPECT_TRUE(pictureAt(g_levelDigitPictures[level], 320, 312));
    EXPECT_FALSE(h.host.timerRunning(0));
    h.key(kKeyEnter);
    ASSERT_TRUE(screenIs(Screen::Playing));
    EXPECT_EQ(h.host.sounds.back(), kPlayMusic);
    EXPECT_EQ(autoplay::scoreboard().level, level);
    EXPECT_EQ(score(), floor);
    h.tick(1);  // only timer 0 counts seconds
    EXPECT_EQ(autoplay::scoreboard().seconds, ticks);
    // A miss at the level's floor costs nothing.
    watch.before();
    h.key(letterNotOnBoard());
    EXPECT_EQ(h.host.sounds.back(), kMiss);
    watch.after();
    bool pressedTwice = false;
    for (int i = 1; i <= 40000 && autoplay::screen() == Screen::Playing; ++i) {
      const std::uint32_t key = i % 100 == 0 ? 0 : autoplay::keyForAFreeBug().value_or(0);
      watch.before();
      if (i % 100 == 0) {
        h.tick();
        ++ticks;
      } else if (key == 0) {
        h.pass();
      } else {
        h.key(key);
      }
      watch.after();
      // Above the floor, a second press of a letter whose only bug is already aimed at is a
      // miss, and costs one.
      if (key != 0 && !pressedTwice && score() > floor + 3 && freeBugsOf(key) == 0 &&
          autoplay::screen() == Screen::Playing) {
        pressedTwice = true;
        ++secondPresses;
        watch.before();
        h.key(key);
        EXPECT_EQ(h.host.sounds.back(), kMiss);
        watch.after(1);
      }
    }
    EXPECT_GT(watch.fallsAtLevel[level], 100);
  }
  EXPECT_EQ(secondPresses, 5);
  EXPECT_GT(watch.closeCalls, 0) << "no shot ever stood right at its bug's bottom edge";
  h.pass();
  EXPECT_TRUE(pictureAt(g_congratsPicture, 163, 240));
  EXPECT_FALSE(pictureAt(g_levelCaptionPicture, 193, 240));
  const autoplay::Scoreboard won = autoplay::scoreboard();
  EXPECT_EQ(won.score, 1100);
  EXPECT_EQ(won.level, 5);
  EXPECT_EQ(won.bestScore, 1100);
  EXPECT_EQ(won.seconds, ticks);

  h.host.queueDialog({DialogStep::type("ann"), DialogStep::send(DialogMessageType::Command, 1)});
  h.key(kKeyEnter);
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  EXPECT_TRUE(h.host.dialogs[0].endedByScript);
  const autoplay::Scoreboard after = autoplay::scoreboard();
  EXPECT_EQ(after.score, 0);
  EXPECT_EQ(after.level, 1);
  EXPECT_EQ(after.seconds, 0) << "the seconds count one game";
  EXPECT_TRUE(screenIs(Screen::LobbyLeaving));
  ASSERT_TRUE(autoplay::runUntil(Screen::Records, 60));
  h.pass();
  // The marker beside row one, and the name's text in row one from x 361 on.
  EXPECT_EQ(h.pixel(755 + 11, 244 + 11), g_recordsMarkerPicture.at(11, 11));
  int nameLeft = -1;
  for (int x = 340; x < 520 && nameLeft < 0; ++x) {
    for (int y = 240; y < 270; ++y) {
      if (h.pixel(x, y) == kTextColour && g_recordsBoardPicture.at(x - 227, y - 184) != kTextColour)
        nameLeft = x;
    }
  }
  EXPECT_GE(nameLeft, 361);
  EXPECT_LT(nameLeft, 369);
  EXPECT_EQ(nameOf(g_records[0]), "ann");
  EXPECT_EQ(g_records[0].useTime, ticks);
  h.clickAt(400, 560);
  EXPECT_TRUE(screenIs(Screen::LobbyArriving));
}

// The record of an abandoned game goes below a better one, with the name typed for it; the
// files written at the exit hold both.
TEST(Game, AnAbandonedGameEntersTheRecordsBelowABetterOneWithTheTypedName) {
  Harness h;
  h.writeWorkFile("lhb.lhb", "top 9 1100\r\n");
  ASSERT_TRUE(h.startPlaying());
  ASSERT_TRUE(h.playUntil([] { return score() >= 30; }));
  const std::int32_t reached = score();
  const std::int32_t seconds = autoplay::scoreboard().seconds;
  EXPECT_GT(seconds, 0);
  // The best score takes the score each playing frame starts at.
  const std::int32_t best = autoplay::scoreboard().bestScore;
  EXPECT_GE(best, reached - 3);
  h.host.queueDialog({DialogStep::type("bob"), DialogStep::send(DialogMessageType::Command, 2)});
  h.key(kKeyEscape);
  ASSERT_EQ(h.host.dialogs.size(), 1u);
  EXPECT_FALSE(h.host.timerRunning(0));
  EXPECT_EQ(autoplay::scoreboard().seconds, 0);
  EXPECT_EQ(autoplay::scoreboard().bestScore, best);
  ASSERT_TRUE(autoplay::runUntil(Screen::Records));
  h.clickAt(400, 560);
  ASSERT_TRUE(autoplay::runUntil(Screen::Lobby));
  h.key(kKeyEscape);
  ASSERT_TRUE(autoplay::runUntil(Screen::MainMenu));
  EXPECT_EQ(h.quitThroughExitBox(), 0);
  std::string expected = "top 9 1100\r\nbob " + std::to_string(seconds) + " " +
                         std::to_string(reached) + "\r\n";
  for (int row = 3; row <= 6; ++row) expected += "namehex: 0 0\r\n";
  EXPECT_EQ(h.readWorkFile("lhb.lhb"), expected);
  EXPECT_EQ(h.readWorkFile("mg.tol"), std::to_string(best));
}

// A game abandoned below every record returns to the idle lobby, and the next game starts on a
// fresh board of eight bugs at the top, though the last level used only four of them.
TEST(Game, AnAbandonedGameWithoutARecordReturnsToTheLobbyAndTheNextStartsAfresh) {
  Harness h;
  h.writeWorkFile("lhb.lhb", std::string() + "a 1 999\r\n" + "b 1 999\r\n" + "c 1 999\r\n" +
                                 "d 1 999\r\n" + "e 1 999\r\n" + "f 1 999\r\n");
  ASSERT_TRUE(h.startPlaying());
  ASSERT_TRUE(h.playUntil([] { return score() > 250; }));  // level 3 uses four slots
  h.key(kKeyEscape);
  EXPECT_TRUE(h.host.dialogs.empty());
  EXPECT_TRUE(screenIs(Screen::Lobby));
  EXPECT_EQ(h.host.sounds.back(), kLobbyMusic);
  h.pass();
  h.pressStart();
  h.pass();
  h.key(kKeyEnter);
  const std::vector<Bug> board = bugsOnBoard();
  ASSERT_EQ(board.size(), 8u);
  for (const Bug& bug : board) EXPECT_EQ(bug.y, 74) << "slot " << bug.slot;
}

// Input lag: a letter key taken in a pass shows its shot in the picture that pass presents.
TEST(Game, ALetterKeyShowsItsShotInThePictureOfItsOwnPass) {
  Harness h;
  ASSERT_TRUE(h.startPlaying());
  h.pass();
  const auto key = autoplay::keyForAFreeBug();
  ASSERT_TRUE(key);
  const int presents = h.host.presents;
  h.key(*key);
  EXPECT_EQ(h.host.presents, presents + 1);
  EXPECT_EQ(h.host.lastPresented.pixels, g_backBuffer.view().pixels);
  int shots = 0;
  for (const Bug& bug : bugsOnBoard()) {
    shots += bug.shotFired && pictureAt(g_shotBitmap, bug.shotX, bug.shotY);
  }
  EXPECT_EQ(shots, 1);
}

// The program's own generator, the C runtime's, seeded from the host's clock: one second gives
// one board on every host.
TEST(Game, TheFirstBoardComesFromTheClockSeed) {
  Harness h;
  h.host.clockSeconds = 1'700'000'000;
  ASSERT_TRUE(h.startPlaying());
  // Two numbers a slot from slot 8 down: x = 150 + n % 417, then letter = n % 26.
  const int x[9] = {0, 193, 282, 254, 497, 340, 509, 295, 256};
  const int letter[9] = {0, 2, 9, 19, 24, 7, 14, 16, 13};
  const std::vector<Bug> board = bugsOnBoard();
  ASSERT_EQ(board.size(), 8u);
  for (const Bug& bug : board) {
    EXPECT_EQ(bug.x, x[bug.slot]) << bug.slot;
    EXPECT_EQ(bug.letter, letter[bug.slot]) << bug.slot;
  }
}

}  // namespace
}  // namespace tolvaro::testing
