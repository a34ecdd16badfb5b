// A fresh program on the headless host, in a working directory of its own (g_workingDirectory),
// with helpers that queue input, run passes of the main loop and walk to the screens many tests
// start from.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/Program.h"
#include "frame/Frame.h"
#include "frame/WorkingFiles.h"
#include "hosts/headless/HeadlessHost.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro::testing {

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

  // Start-up up to the main loop; false when it ended early.
  bool start();
  // Runs n passes; fails the test if one of them takes the quit event.
  void passes(int n = 1);
  void pass() { passes(1); }
  // Runs passes until the quit event; the exit code, or -1 after maxPasses.
  int runUntilQuit(int maxPasses = 100000);

  // Queue an event and run the pass that takes it.
  void key(std::uint32_t code);
  void move(int x, int y);
  void click();
  void clickAt(int x, int y) {
    move(x, y);
    click();
  }

  // The ways a player walks through the screens; each fails when its screen does not come.
  // Start-up and the 48 frames of the main menu's slide-in.
  ::testing::AssertionResult startAtRestingMenu();
  // Start Game on the menu; the click's pass draws the first of the lobby's 48 slide-in frames.
  ::testing::AssertionResult openLobby();
  // ... the other 47, and the first frame of the idle lobby.
  ::testing::AssertionResult openIdleLobby();
  // Esc on the main menu, then 是 in the exit box: the orderly way out, which writes the record
  // files. The exit code, or -1 when the program goes on.
  int quitThroughExitBox();
  // The idle lobby's start button.
  void pressStart() { clickAt(800, 120); }

  std::uint32_t pixel(int x, int y) const { return g_backBuffer.at(x, y); }
  // Saves the back buffer under the build's screenshot folder; returns the path.
  std::filesystem::path screenshot(const std::string& name) const;

  std::string readWorkFile(const std::string& name) const;
  void writeWorkFile(const std::string& name, const std::string& bytes) const;
  bool workFileExists(const std::string& name) const;
};

// The program shows the screen: its state and, within play, its phase.
inline ::testing::AssertionResult screenIs(std::uint32_t state, std::uint32_t phase) {
  if (g_gameState == state && g_phase == phase) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "state " << g_gameState << " phase " << g_phase
                                       << " instead of " << state << " " << phase;
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
