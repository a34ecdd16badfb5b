// The whole program as a player meets it: the real executable in a fresh working directory,
// on an X server of its own (Xvfb), driven with xdotool and looked at through screenshots
// compared with the generated pictures; and, where no display is needed, on SDL's dummy
// video driver. Screenshots go to <build>/e2e/shots.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <iostream>
#include <sstream>

#include "e2e_support.h"

using namespace tolvaro;
using namespace tolvaro::e2e;

namespace {

const fs::path kProgram = fs::path(TOLVARO_RUN_DIR) / "tolvaro";
const fs::path kShots = fs::path(TOLVARO_E2E_OUTPUT_DIR) / "shots";
constexpr std::uint32_t kTextPink = 0xF547B5;
// A fresh record table as the program writes it: six empty names, each as the escaped token.
const std::string kFreshTable = [] {
  std::string table;
  for (int row = 0; row < 6; ++row) table += "namehex: 0 0\r\n";
  return table;
}();

// Menu checks, all on pictures of the generated tree at their places in Part of the menu's
// layout: the background where nothing covers it, an item at rest, the bug strip.
bool backgroundShows(const Picture& shot) {
  const Picture background = generatedBitmap(143);
  return mismatches(shot, 0, 0, background, 0, 0, 560, 160) == 0 &&
         mismatches(shot, 0, 600, background, 0, 600, 1024, 168) == 0;
}
bool itemAtRest(const Picture& shot, int item, int pictureId) {
  return mismatches(shot, 680, 200 + 80 * item, generatedBitmap(pictureId), 0, 0, 263, 51) == 0;
}
bool bugStripShowsAFrame(const Picture& shot) {
  for (int frame = 1; frame <= 49; ++frame) {
    const Picture strip =
        stretched(generatedFile("03_16/chongzi" + std::to_string(frame) + ".bmp"), 204, 51);
    if (mismatches(shot, 192, 360, strip, 0, 0, 204, 51) == 0) return true;
  }
  return false;
}
bool menuAtRest(const Picture& shot) {
  return backgroundShows(shot) && itemAtRest(shot, 0, 148) && itemAtRest(shot, 4, 152);
}

class DesktopRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
      if (!findTool(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
    x_ = std::make_unique<XServer>();
    ASSERT_TRUE(x_->ok()) << "Xvfb did not start";
    workDir_ = freshWorkDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }

  void start(std::vector<std::string> environment = {}) {
    environment.push_back(x_->environment());
    environment.push_back("SDL_AUDIODRIVER=dummy");
    program_ = std::make_unique<Process>(
        std::vector<std::string>{kProgram.string()}, workDir_, environment,
        workDir_.parent_path() / (workDir_.filename().string() + ".log"));
  }

  Picture waitFor(bool (*ready)(const Picture&), const char* what, int seconds = 90) {
    bool met = false;
    Picture shot = waitForScreen(*x_, ready, std::chrono::seconds(seconds), &met);
    EXPECT_TRUE(met) << what << " did not show";
    return shot;
  }

  template <typename Ready>
  Picture waitUntil(Ready ready, const char* what, int seconds = 90) {
    bool met = false;
    Picture shot = waitForScreen(*x_, ready, std::chrono::seconds(seconds), &met);
    EXPECT_TRUE(met) << what << " did not show";
    return shot;
  }

  void shoot(const std::string& name) { x_->screenshot(kShots / (name + ".png")); }

  // Esc, the exit box, Yes: the orderly end.
  void exitThroughTheBox() {
    ASSERT_TRUE(x_->key("Escape"));
    const Picture box = generatedBitmap(238);
    waitUntil(
        [&](const Picture& shot) {
          return keyedMismatches(shot, 387, 339, box, 0x000000, nullptr) == 0;
        },
        "the exit box");
    shoot("exit-box");
    ASSERT_TRUE(x_->moveTo(440, 403));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(x_->click());
    const std::optional<int> code = program_->waitExit(60s);
    ASSERT_TRUE(code) << "the program did not end after Yes";
    EXPECT_EQ(*code, 0);
  }

  std::unique_ptr<XServer> x_;
  fs::path workDir_;
  std::unique_ptr<Process> program_;
};

TEST_F(DesktopRun, MenuShowsAndYesWritesFreshRecordFiles) {
  start();
  Picture shot = waitFor(menuAtRest, "the main menu at rest");
  EXPECT_TRUE(bugStripShowsAFrame(shot)) << "the bug strip shows none of the 49 frames";
  const Picture background = generatedBitmap(143);
  EXPECT_EQ(keyedMismatches(shot, 565, 170, generatedBitmap(154), 0xFFFFFF, &background), 0)
      << "the marker at its start place";
  shoot("menu");
  // Hovering Start Game lights it (its zone is x 681..942, y 201..250).
  ASSERT_TRUE(x_->moveTo(800, 225));
  waitFor([](const Picture& s) { return itemAtRest(s, 0, 153); }, "the hovered Start Game");
  shoot("menu-hover");
  ASSERT_TRUE(x_->moveTo(300, 700));
  exitThroughTheBox();
  EXPECT_EQ(readText(workDir_ / "mg.tol"), "0");
  EXPECT_EQ(readText(workDir_ / "lhb.lhb"), kFreshTable);
}

TEST_F(DesktopRun, SeededRecordFilesComeBackNormalised) {
  writeText(workDir_ / "mg.tol", "  1100\n");
  // LF line ends, tabs and runs of spaces; a GBK name (张三); three rows only.
  writeText(workDir_ / "lhb.lhb", "Amy\t120   900\n\xD5\xC5\xC8\xFD 200 800\nBob 5\t\t700\n");
  start();
  waitFor(menuAtRest, "the main menu at rest");
  exitThroughTheBox();
  EXPECT_EQ(readText(workDir_ / "mg.tol"), "1100");
  EXPECT_EQ(readText(workDir_ / "lhb.lhb"),
            "Amy 120 900\r\n\xD5\xC5\xC8\xFD 200 800\r\nBob 5 700\r\n"
            "namehex: 0 0\r\n"
            "namehex: 0 0\r\n"
            "namehex: 0 0\r\n");
}

// The letters of the tiles found whole on the playfield (indices 0..25).
std::vector<int> lettersOnBoard(const Picture& shot) {
  static std::vector<Picture> tiles;
  if (tiles.empty()) {
    for (int code = 65; code <= 90; ++code) {
      tiles.push_back(stretched(generatedFile("charImg/" + std::to_string(code) + ".bmp"), 20, 20));
    }
  }
  std::vector<int> found;
  for (int letter = 0; letter < 26; ++letter) {
    const Picture& tile = tiles[letter];
    if (tile.empty()) continue;
    // The tile's corners share the playfield's colour, so anchor the search on its centre, which
    // is the tile's own, and compare the whole tile only where the centre matches.
    const std::uint32_t anchor = tile.at(10, 10) & 0xFFFFFF;
    bool seen = false;
    for (int y = 40; y + 20 <= 716 && !seen; ++y) {
      for (int x = 60; x + 20 <= 666 && !seen; ++x) {
        if ((shot.at(x + 10, y + 10) & 0xFFFFFF) != anchor) continue;
        seen = mismatches(shot, x, y, tile, 0, 0, 20, 20) == 0;
      }
    }
    if (seen) found.push_back(letter);
  }
  return found;
}

bool pinkTextIn(const Picture& shot, int x, int y, int w, int h) {
  for (int j = y; j < y + h; ++j) {
    for (int i = x; i < x + w; ++i) {
      if ((shot.at(i, j) & 0xFFFFFF) == kTextPink) return true;
    }
  }
  return false;
}

TEST_F(DesktopRun, AGameTakesALetterAndTheNameDialogTakesAChineseName) {
  start();
  waitFor(menuAtRest, "the main menu at rest");
  ASSERT_TRUE(x_->moveTo(800, 225));
  std::this_thread::sleep_for(200ms);
  ASSERT_TRUE(x_->click());  // Start Game
  const Picture title = generatedBitmap(180);
  waitUntil([&](const Picture& s) { return mismatches(s, 99, 147, title, 0, 0, 504, 287) == 0; },
            "the idle lobby's title picture");
  shoot("lobby");

  ASSERT_TRUE(x_->moveTo(840, 120));  // the lobby's start button
  std::this_thread::sleep_for(200ms);
  ASSERT_TRUE(x_->click());
  const Picture caption = generatedBitmap(234);
  waitUntil([&](const Picture& s) { return mismatches(s, 193, 240, caption, 0, 0, 341, 67) == 0; },
            "the level announcement");
  shoot("level-announcement");

  ASSERT_TRUE(x_->key("Return"));
  std::vector<int> letters;
  Picture before =
      waitUntil([&](const Picture& s) { return !(letters = lettersOnBoard(s)).empty(); },
                "a letter on the playfield", 90);
  ASSERT_FALSE(letters.empty());
  shoot("play");
  // Each letter on the board sends a shot at its tile.
  for (int letter : letters) ASSERT_TRUE(x_->key(std::string(1, static_cast<char>('a' + letter))));
  // The catch raises the score: the score line in the second info box changes.
  waitUntil([&](const Picture& s) { return differingPixels(s, before, 711, 565, 270, 63) > 0; },
            "the score after the letters", 90);
  shoot("play-after-letter");

  // Abandoning with a score above the empty table's enters it: the name dialog opens.
  ASSERT_TRUE(x_->key("Escape"));
  const Picture face = generatedBitmap(242);
  waitUntil([&](const Picture& s) { return mismatches(s, 352, 304, face, 0, 0, 320, 60) == 0; },
            "the name-entry dialog");
  shoot("dialog");
  ASSERT_TRUE(x_->xdotool({"type", "--delay", "60", "\xE5\xBC\xA0\xE4\xB8\x89"}));  // 张三
  std::this_thread::sleep_for(500ms);
  shoot("dialog-name");
  ASSERT_TRUE(x_->key("Return"));
  const Picture board = generatedBitmap(243);
  Picture records = waitUntil(
      [&](const Picture& s) { return mismatches(s, 227, 184, board, 0, 0, 570, 50) == 0; },
      "the records screen", 90);
  shoot("records");
  EXPECT_TRUE(pinkTextIn(records, 361, 250, 40, 16)) << "row 1 shows the typed name";

  // Closing the window saves the run's files; row 1 holds the name as GBK.
  program_->signal(SIGTERM);
  const std::optional<int> code = program_->waitExit(60s);
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0);
  const std::string table = readText(workDir_ / "lhb.lhb");
  EXPECT_EQ(table.rfind("\xD5\xC5\xC8\xFD ", 0), 0u) << table;
}

// The frame log: one line per presented frame, the interval since the previous present and the
// present's own cost, in microseconds. How long they are is a report (scripts/pacing.sh), not
// a test: this checks the log's shape.
TEST_F(DesktopRun, TheFrameLogHasALinePerPresentedFrame) {
  const fs::path log = workDir_ / "frames.log";
  start({"TOLVARO_FRAME_LOG=" + log.string()});
  waitFor(menuAtRest, "the main menu at rest");
  program_->signal(SIGTERM);
  ASSERT_TRUE(program_->waitExit(60s));
  std::istringstream lines(readText(log));
  std::vector<long> intervals;
  long interval = 0, cost = 0;
  while (lines >> interval >> cost) {
    intervals.push_back(interval);
    EXPECT_GE(cost, 0);
  }
  // Start-up's black frame, the 48 frames of the slide-in, then the menu at rest.
  ASSERT_GE(intervals.size(), 49u);
  EXPECT_EQ(intervals.front(), 0) << "the first present has no interval";
  for (std::size_t i = 1; i < intervals.size(); ++i) {
    ASSERT_GE(intervals[i], 0) << "line " << i + 1;
  }
}

// Without any display: SDL's dummy video driver.
TEST(NoDisplay, CloseRequestSavesTheRecordFiles) {
  ASSERT_TRUE(fs::exists(kProgram));
  const fs::path work = freshWorkDir("NoDisplayClose");
  Process program({kProgram.string()}, work, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"},
                  work.parent_path() / "NoDisplayClose.log");
  // The files exist (empty) once start-up has read them.
  const auto end = std::chrono::steady_clock::now() + 60s;
  while (!fs::exists(work / "lhb.lhb") && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(readText(work / "lhb.lhb"), "");
  std::this_thread::sleep_for(300ms);
  program.signal(SIGTERM);  // SDL turns it into a close request
  const std::optional<int> code = program.waitExit(60s);
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0);
  EXPECT_EQ(readText(work / "mg.tol"), "0");
  EXPECT_EQ(readText(work / "lhb.lhb"), kFreshTable);
}

// Mended: a start that cannot show the game ends at once with code 1 and says why, whether the
// named driver is missing or there is no display at all; nothing is written.
TEST(NoDisplay, NoVideoEndsAtOnceWithCodeOneSaysWhyAndTouchesNothing) {
  ASSERT_TRUE(fs::exists(kProgram));
  const std::vector<std::string> noDriver = {"SDL_VIDEODRIVER=no-such-driver", "DISPLAY="};
  const std::vector<std::string> noDisplay = {"SDL_VIDEODRIVER=", "DISPLAY=", "WAYLAND_DISPLAY="};
  for (const auto& environment : {noDriver, noDisplay}) {
    SCOPED_TRACE(environment[0]);
    const fs::path work = freshWorkDir("NoVideo");
    const fs::path log = work.parent_path() / "NoVideo.log";
    Process program({kProgram.string()}, work, environment, log);
    const std::optional<int> code = program.waitExit(90s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 1);
    EXPECT_NE(readText(log).find("tolvaro: cannot open a window: "), std::string::npos)
        << readText(log);
    EXPECT_FALSE(fs::exists(work / "mg.tol"));
    EXPECT_FALSE(fs::exists(work / "lhb.lhb"));
  }
}

}  // namespace
