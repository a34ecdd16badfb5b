// Start-up, the main loop and the routing of input; the pictures loaded at start-up; and the
// back buffer's drawing and text.
#include <gtest/gtest.h>

#include <fstream>

#include "assets/Catalogue.h"
#include "base/Text.h"
#include "screen_checks.h"
#include "state/GameState.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

namespace fs = std::filesystem;

TEST(StartUp, FailingClassOrWindowEndsWithExitCodeOneAndNoWindow) {
  for (bool failClass : {true, false}) {
    Harness h;
    (failClass ? h.host.failRegisterClass : h.host.failCreateWindow) = true;
    EXPECT_EQ(runProgram(h.host), 1) << failClass;
    EXPECT_FALSE(h.host.windowCreated);
    EXPECT_TRUE(h.host.resourceRequests.empty());
    EXPECT_EQ(h.host.presents, 0);
  }
}

TEST_F(ProgramTest, StartUpOpensTheWindowWithCursorAndMenuMusicBeforeTheFirstFrame) {
  EXPECT_EQ(h.host.windowTitle, "Tolvaro");
  EXPECT_EQ(h.host.windowWidth, 1024);
  EXPECT_EQ(h.host.windowHeight, 768);
  EXPECT_EQ(h.host.cursorFile, "mouse6.ani");
  EXPECT_EQ(h.host.sounds, std::vector<SoundCall>{kMenuMusic});
  EXPECT_EQ(h.host.presents, 0);
  h.pass();
  EXPECT_TRUE(screenIs(Screen::MainMenu));
  EXPECT_EQ(h.host.presents, 1);
  EXPECT_EQ(h.host.sleeps, 1);
}

// One event a pass; a quit at the head ends the pass before drawing; clicks, right clicks and
// double clicks leave the mouse position to the moves.
TEST_F(ProgramTest, EachPassTakesOneEventAndOnlyMovesSetTheMousePosition) {
  for (int i = 1; i <= 3; ++i) h.host.pushMove(i, 100 + i);
  h.pass();
  EXPECT_EQ(g_mouseX, 1);
  EXPECT_EQ(h.host.pendingEvents(), 2u);
  h.passes(2);
  EXPECT_EQ(g_mouseY, 103);
  h.host.push({.type = EventType::MouseMove, .lParam = 0xFFFF0010u});
  h.host.pushLeftDown(700, 300);
  h.host.push({.type = EventType::RightButtonDown, .lParam = packPosition(5, 6)});
  h.host.push({.type = EventType::LeftButtonDoubleClick, .lParam = packPosition(7, 8)});
  h.passes(4);
  EXPECT_EQ(g_mouseX, 16);
  EXPECT_EQ(g_mouseY, 65535);
  EXPECT_TRUE(screenIs(Screen::MainMenu));
  h.host.push({.type = EventType::Quit, .wParam = 7});
  h.host.pushMove(500, 500);
  int code = -1;
  EXPECT_FALSE(runPass(&code));
  EXPECT_EQ(code, 7);
  EXPECT_EQ(h.host.presents, 7);
  EXPECT_EQ(g_mouseX, 16);
}

// Enter and letters act only in a game, Esc only where there is a way back.
TEST_F(RestingMenuTest, KeysOutsideTheGameDoNothing) {
  const std::size_t sounds = h.host.sounds.size();
  for (std::uint32_t key : {kKeyEnter, kKeyA, kKeyA + 16, 64u, 91u, 32u}) h.key(key);
  ASSERT_TRUE(h.openIdleLobby());
  for (std::uint32_t key : {kKeyEnter, kKeyA, kKeyA + 25}) h.key(key);
  EXPECT_TRUE(screenIs(Screen::Lobby));
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kHover, kClick, kLobbyMusic}));
}

TEST_F(ProgramTest, ClosingTheWindowSavesTheFilesAndEndsWithZero) {
  h.passes(5);
  fs::remove(h.workDir / "mg.tol");
  h.host.pushClose();
  h.pass();
  EXPECT_EQ(h.runUntilQuit(3), 0);
  EXPECT_EQ(h.readWorkFile("mg.tol"), "0");
  EXPECT_EQ(h.host.sounds.back(), kStopAll);
}

Picture checker(int w, int h, std::uint32_t a, std::uint32_t b) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.at(x, y) = ((x + y) % 2) ? a : b;
  return p;
}

TEST(Drawing, CopiesAreClippedAndKeyedCopiesLeaveOutOnlyTheKey) {
  Picture target(10, 8, 0x111111);
  const Picture source = checker(4, 3, 0xAA0000, 0x00BB00);
  copyOpaque(target, source, 8, 6, 40, 40);  // larger block than the picture, past the edge
  EXPECT_EQ(target.at(9, 7), source.at(1, 1));
  EXPECT_EQ(target.at(7, 6), 0x111111u);
  copyOpaque(target, source, -2, -1);
  EXPECT_EQ(target.at(0, 0), source.at(2, 1));
  EXPECT_EQ(target.at(2, 0), 0x111111u);
  const Picture before = target;
  copyOpaque(target, Picture(), 0, 0, 5, 5);  // a picture that failed to load draws nothing
  copyOpaque(target, source, 10, 0);
  EXPECT_EQ(target.pixels, before.pixels);
  for (std::uint32_t key : {kWhite, kBlack}) {
    Picture keyed(3, 3, key);
    keyed.at(1, 1) = 0xFF0000;
    keyed.at(2, 2) = key ^ 1;  // one step off the key still shows
    Picture onto(6, 6, 0x123456);
    copyKeyed(onto, keyed, 2, 2, key);
    EXPECT_EQ(onto.at(3, 3), 0xFF0000u);
    EXPECT_EQ(onto.at(4, 4), key ^ 1);
    EXPECT_EQ(onto.at(3, 2), 0x123456u);
  }
  fillRect(target, 2, 3, 5, 7, kBlack);  // left and top inclusive, right and bottom exclusive
  EXPECT_EQ(target.at(4, 6), kBlack);
  EXPECT_EQ(target.at(5, 6), 0x111111u);
  EXPECT_EQ(target.at(4, 7), 0x111111u);
  const Picture big = stretched(checker(2, 2, 0xFF0000, 0x0000FF), 20, 20);
  EXPECT_EQ(big.at(9, 9), 0x0000FFu);
  EXPECT_EQ(big.at(10, 0), 0xFF0000u);
}

// "Ab中文" in GBK.
constexpr char kMixedText[] = "Ab\xD6\xD0\xCE\xC4";

TEST_F(ProgramTest, GbkTextLandsInItsCellsInTheTextColourAndTouchesNothingElse) {
  fillRect(g_backBuffer, 0, 0, 1024, 768, rgb(10, 60, 90));
  const Picture before = g_backBuffer;
  drawText(100, 200, kMixedText);
  // A and b take 8 pixels each, the two characters 16 each, all 16 high.
  const int cellStart[5] = {100, 108, 116, 132, 148};
  int inked[4] = {};
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) {
      if (g_backBuffer.at(x, y) == before.at(x, y)) continue;
      ASSERT_TRUE(x >= 100 && x < 148 && y >= 200 && y < 216) << x << "," << y;
      EXPECT_EQ(g_backBuffer.at(x, y), kTextColour);
      for (int c = 0; c < 4; ++c) inked[c] += x >= cellStart[c] && x < cellStart[c + 1];
    }
  for (int c = 0; c < 4; ++c) EXPECT_GT(inked[c], 8) << "character " << c << " left no ink";
  EXPECT_FALSE(allColour(kTextColour, 116, 200, 132, 216));
  drawText(1016, 760, kMixedText);  // clipped at the edges
  drawText(-12, -10, kMixedText);
  EXPECT_EQ(gbkPrefix("abcde\xD6\xD0\xCE\xC4", 7), "abcde\xD6\xD0");  // cut on a whole character
}

}  // namespace
}  // namespace tolvaro::testing
