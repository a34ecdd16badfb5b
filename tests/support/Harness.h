// A fresh program on the headless host, in a working directory of its own, with the ways a
// player walks through it: keys, moves, clicks and timer ticks, each taken by one pass of the
// main loop, and the screens many tests start from.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "app/Autoplay.h"
#include "app/Program.h"
#include "frame/Frame.h"
#include "hosts/headless/HeadlessHost.h"

namespace tolvaro::testing {

using autoplay::Screen;
std::filesystem::path generatedDir();

class Harness {
 public:
  Harness();
  // In the given folder (which must exist), with the working files linked into it.
  explicit Harness(std::filesystem::path folder);
  ~Harness();
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  HeadlessHost host;
  std::filesystem::path workDir;

  bool start();  // false when start-up ended early
  // Runs n passes; fails the test if one of them takes the quit event.
  void passes(int n = 1);
  void pass() { passes(1); }
  // Runs passes until the quit event; the exit code, or -1 after maxPasses.
  int runUntilQuit(int maxPasses = 100000);

  // Each queues an event and runs the pass that takes it.
  void key(std::uint32_t code);
  void move(int x, int y);
  void click();
  void clickAt(int x, int y) {
    move(x, y);
    click();
  }
  void tick(int timer = 0);

  // Start-up and the 48 frames of the main menu's slide-in.
  ::testing::AssertionResult startAtRestingMenu();
  // Start Game on the menu: the click's pass draws the first of the lobby's 48 slide-in frames.
  ::testing::AssertionResult openLobby();
  // ... the other 47, and the first frame of the idle lobby.
  ::testing::AssertionResult openIdleLobby();
  // From start-up through the lobby and the first announcement into play.
  ::testing::AssertionResult startPlaying();
  // One pass of a player who aims well: the key for a free bug, or a frame without one.
  void playPass();
  // Plays on until the condition holds, through the announcements, a timer tick every 100 passes.
  ::testing::AssertionResult playUntil(const std::function<bool()>& reached, int maxPasses = 40000);
  // From start-up, a game played until it has points and a frame more, then abandoned with Esc;
  // a name dialog that opens runs `whileOpen`, then takes the name and Enter.
  ::testing::AssertionResult playAndAbandon(const std::string& name,
                                            std::function<void()> whileOpen = [] {});
  // Esc on the main menu, then Yes in the exit box: the orderly way out, which writes the
  // record files. The exit code, or -1 when the program goes on.
  int quitThroughExitBox();
  // The same from the records screen (through 确定) or the lobby.
  int quitFromRecordsOrLobby();
  void pressStart() { clickAt(800, 120); }  // the idle lobby's start button

  std::uint32_t pixel(int x, int y) const { return g_backBuffer.at(x, y); }

  std::string readWorkFile(const std::string& name) const;
  void writeWorkFile(const std::string& name, const std::string& bytes) const;
  bool workFileExists(const std::string& name) const;

 private:
  int playedPasses_ = 0;
};

inline ::testing::AssertionResult screenIs(Screen wanted) {
  if (autoplay::screen() == wanted) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << autoplay::screenName(autoplay::screen())
                                       << " instead of " << autoplay::screenName(wanted);
}

inline std::int32_t score() {
  return autoplay::scoreboard().score;
}

// A test of a started program.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(h.start()); }
  Harness h;
};

// A test that begins at the main menu at rest.
class RestingMenuTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(h.startAtRestingMenu()); }
  Harness h;
};

}  // namespace tolvaro::testing
