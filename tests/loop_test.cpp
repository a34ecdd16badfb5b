// The main loop and the routing of input: what one pass does, how the program starts and ends,
// and which keys and clicks reach which screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Program.h"
#include "assets/Catalogue.h"
#include "support/Harness.h"

namespace tolvaro {
namespace {

using testing::Harness;

constexpr int kEnter = 13;
constexpr int kEsc = 27;

TEST(StartUp, FailingClassOrWindowEndsWithZeroAndNoWindow) {
  Harness noClass;
  noClass.host.failRegisterClass = true;
  EXPECT_EQ(runProgram(noClass.host), 0);
  EXPECT_FALSE(noClass.host.windowCreated);
  EXPECT_TRUE(noClass.host.resourceRequests.empty());

  Harness noWindow;
  noWindow.host.failCreateWindow = true;
  EXPECT_EQ(runProgram(noWindow.host), 0);
  EXPECT_TRUE(noWindow.host.resourceRequests.empty());
  EXPECT_EQ(noWindow.host.presents, 0);
}

TEST(StartUp, OpensTheWindowWithCursorAndStartsMenuMusicBeforeTheFirstFrame) {
  Harness h;
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.host.windowTitle, "Tolvaro");
  EXPECT_EQ(h.host.windowWidth, 1024);
  EXPECT_EQ(h.host.windowHeight, 768);
  EXPECT_EQ(h.host.cursorFile, "mouse6.ani");
  ASSERT_EQ(h.host.sounds.size(), 1u);
  EXPECT_EQ(h.host.sounds[0], (SoundCall{201, SoundMode::Loop}));
  EXPECT_EQ(h.host.presents, 0);
  h.pass();
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(h.host.presents, 1);
  EXPECT_EQ(h.host.sleeps, 1);
}

TEST(StartUp, SeedsTheRandomGeneratorFromTheHostClock) {
  std::srand(4242);
  const int expectedFirst = std::rand();
  Harness h;
  h.host.clockSeconds = 4242;
  ASSERT_TRUE(h.start());
  EXPECT_EQ(std::rand(), expectedFirst);
}

TEST(MainLoop, TakesOneEventPerPass) {
  Harness h;
  ASSERT_TRUE(h.start());
  for (int i = 1; i <= 10; ++i) h.host.pushMove(i, 100 + i);
  for (int pass = 1; pass <= 9; ++pass) {
    h.pass();
    EXPECT_EQ(g_mouseX, pass);
  }
  EXPECT_EQ(h.host.presents, 9);
  EXPECT_EQ(h.host.pendingEvents(), 1u);
  h.pass();
  EXPECT_EQ(g_mouseX, 10);
  EXPECT_EQ(g_mouseY, 110);
  EXPECT_EQ(h.host.presents, 10);
}

TEST(MainLoop, QuitAtTheHeadEndsBeforeDrawingWithItsCode) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.passes(3);
  h.host.push({EventType::Quit, 7, 0});
  h.host.pushMove(500, 500);
  int code = -1;
  EXPECT_FALSE(runPass(&code));
  EXPECT_EQ(code, 7);
  EXPECT_EQ(h.host.presents, 3);
  EXPECT_EQ(h.host.sleeps, 3);
  EXPECT_EQ(g_mouseX, 0);
}

TEST(MainLoop, StatesBeyondTheTableOnlySleepAndStillTakeInput) {
  Harness h;
  ASSERT_TRUE(h.start());
  for (auto [state, phase] : {std::pair{9u, 0u}, {0xFFFFFFFFu, 0u}, {1u, 4u}, {1u, 0x80000000u}}) {
    g_gameState = state;
    g_phase = phase;
    const int presents = h.host.presents;
    const int sleeps = h.host.sleeps;
    const std::int64_t ms = h.host.virtualMs;
    h.move(33, 44);
    h.passes(4);
    EXPECT_EQ(h.host.presents, presents) << state << "/" << phase;
    EXPECT_EQ(h.host.sleeps, sleeps + 5);
    EXPECT_EQ(h.host.virtualMs, ms + 50);
    EXPECT_EQ(g_mouseX, 33);
    EXPECT_EQ(g_gameState, state);
    g_mouseX = 0;
  }
}

TEST(MainLoop, EveryScreenPresentsExactlyOncePerFrame) {
  for (std::uint32_t state = 0; state <= 8; ++state) {
    for (std::uint32_t phase = 0; phase <= (state == STATE_PLAY ? 3u : 0u); ++phase) {
      Harness h;
      ASSERT_TRUE(h.start());
      g_gameState = state;
      g_phase = phase;
      h.pass();
      EXPECT_EQ(h.host.presents, 1) << "state " << state << " phase " << phase;
    }
  }
}

TEST(Input, MousePositionComesFromMovesOnly) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.host.push({EventType::MouseMove, 0, 0xFFFF0010u});
  h.pass();
  EXPECT_EQ(g_mouseX, 16);
  EXPECT_EQ(g_mouseY, 65535);
  h.host.pushLeftDown(700, 300);
  h.host.push({EventType::RightButtonDown, 0, packPosition(5, 6)});
  h.host.push({EventType::LeftButtonDoubleClick, 0, packPosition(7, 8)});
  h.passes(3);
  EXPECT_EQ(g_mouseX, 16);
  EXPECT_EQ(g_mouseY, 65535);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
}

TEST(Input, OnlyTimerZeroCountsSeconds) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.host.pushTimer(0);
  h.host.pushTimer(1);
  h.host.pushTimer(0);
  h.host.pushTimer(7);
  h.passes(4);
  EXPECT_EQ(g_elapsedSeconds, 2);
}

TEST(Input, EscapeLeavesTheSimpleScreens) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.key(kEsc);
  EXPECT_EQ(g_gameState, STATE_EXIT_CONFIRM);

  struct Case {
    std::uint32_t state, phase, expectedState;
  };
  for (Case c :
       {Case{STATE_LOAD_GAME, 0, STATE_MAIN_MENU}, Case{STATE_SETTINGS, 0, STATE_MAIN_MENU},
        Case{STATE_PLAY, PHASE_PANEL, STATE_LOBBY_LEAVE},
        Case{STATE_PLAY, PHASE_RECORDS, STATE_PLAY}, Case{STATE_QUIT, 0, STATE_QUIT},
        Case{STATE_LOBBY, 0, STATE_LOBBY}, Case{STATE_LOBBY_LEAVE, 0, STATE_LOBBY_LEAVE},
        Case{STATE_EXIT_CONFIRM, 0, STATE_EXIT_CONFIRM}}) {
    Harness each;
    ASSERT_TRUE(each.start());
    g_gameState = c.state;
    g_phase = c.phase;
    windowProc({EventType::KeyDown, kEsc, 0});
    EXPECT_EQ(g_gameState, c.expectedState) << "from state " << c.state;
    EXPECT_EQ(g_phase, c.phase) << "from state " << c.state;
  }
}

TEST(Input, EnterActsOnlyInTheLevelAnnouncement) {
  Harness h;
  ASSERT_TRUE(h.start());
  for (std::uint32_t state = 0; state <= 8; ++state) {
    for (std::uint32_t phase : {PHASE_PANEL, PHASE_PLAYING, PHASE_RECORDS}) {
      g_gameState = state;
      g_phase = phase;
      const std::size_t sounds = h.host.sounds.size();
      windowProc({EventType::KeyDown, kEnter, 0});
      EXPECT_EQ(g_gameState, state);
      EXPECT_EQ(g_phase, phase);
      EXPECT_EQ(h.host.sounds.size(), sounds);
    }
  }
  g_gameState = STATE_PLAY;
  g_phase = PHASE_LEVEL_INTRO;
  windowProc({EventType::KeyDown, kEnter, 0});
  EXPECT_EQ(g_phase, PHASE_PLAYING);
  EXPECT_EQ(h.host.sounds.back(), (SoundCall{198, SoundMode::Loop}));
}

TEST(Input, LettersFollowThePhaseAloneAndRepeatsEachCount) {
  Harness h;
  ASSERT_TRUE(h.start());
  for (std::uint32_t phase : {PHASE_PANEL, PHASE_LEVEL_INTRO, PHASE_RECORDS}) {
    g_gameState = STATE_PLAY;
    g_phase = phase;
    windowProc({EventType::KeyDown, 'Q', 0});
  }
  g_gameState = STATE_MAIN_MENU;
  g_phase = PHASE_PANEL;
  windowProc({EventType::KeyDown, 'Q', 0});
  EXPECT_EQ(h.host.sounds.size(), 1u);  // the menu music only

  // During the lobby's slide-out after an abandoned game the phase still reads "playing".
  g_gameState = STATE_LOBBY_LEAVE;
  g_phase = PHASE_PLAYING;
  for (int repeat = 0; repeat < 3; ++repeat) windowProc({EventType::KeyDown, 'Q', 0});
  ASSERT_EQ(h.host.sounds.size(), 4u);
  EXPECT_EQ(h.host.sounds[3], (SoundCall{205, SoundMode::OneShot}));
  // Keys outside A to Z do nothing even then.
  for (std::uint32_t code : {64u, 91u, 97u, 32u}) windowProc({EventType::KeyDown, code, 0});
  EXPECT_EQ(h.host.sounds.size(), 4u);
}

TEST(Input, ClosingTheWindowSavesTheFilesAndEndsWithZero) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.passes(5);
  std::filesystem::remove(h.workDir / "mg.tol");
  std::filesystem::remove(h.workDir / "lhb.lhb");
  h.host.pushClose();
  h.pass();
  EXPECT_EQ(h.runUntilQuit(3), 0);
  EXPECT_EQ(h.readWorkFile("mg.tol"), "0");
  EXPECT_TRUE(std::filesystem::exists(h.workDir / "lhb.lhb"));
  EXPECT_EQ(h.host.sounds.back().mode, SoundMode::Stop);
}

}  // namespace
}  // namespace tolvaro
