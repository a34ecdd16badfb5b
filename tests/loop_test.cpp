// The main loop and the routing of input: what one pass does, how the program starts and ends,
// and which keys and clicks reach which screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "assets/Catalogue.h"
#include "game/LetterBugs.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

Event keyDown(std::uint32_t code) {
  return {.type = EventType::KeyDown, .wParam = code};
}

TEST(StartUp, FailingClassOrWindowEndsWithExitCodeOneAndNoWindow) {
  for (bool failClass : {true, false}) {
    SCOPED_TRACE(failClass ? "no window class" : "no window");
    Harness h;
    (failClass ? h.host.failRegisterClass : h.host.failCreateWindow) = true;
    EXPECT_EQ(runProgram(h.host), 1);
    EXPECT_FALSE(h.host.windowCreated);
    EXPECT_TRUE(h.host.resourceRequests.empty());
    EXPECT_EQ(h.host.presents, 0);
  }
}

TEST(StartUp, OpensTheWindowWithCursorAndStartsMenuMusicBeforeTheFirstFrame) {
  Harness h;
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.host.windowTitle, "Tolvaro");
  EXPECT_EQ(h.host.windowWidth, 1024);
  EXPECT_EQ(h.host.windowHeight, 768);
  EXPECT_EQ(h.host.cursorFile, "mouse6.ani");
  EXPECT_EQ(h.host.sounds, std::vector<SoundCall>{kMenuMusic});
  EXPECT_EQ(h.host.presents, 0);
  h.pass();
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(h.host.presents, 1);
  EXPECT_EQ(h.host.sleeps, 1);
}

TEST(StartUp, SeedsTheRandomGeneratorFromTheHostClock) {
  Harness h;
  h.host.clockSeconds = 4242;
  ASSERT_TRUE(h.start());
  // The C runtime's generator (state * 214013 + 2531011, bits 16 to 30) from seed 4242.
  for (int expected : {13891, 22171, 8669}) EXPECT_EQ(g_random.next(), expected);
}

TEST(StartUp, GivesHostsTheGlyphSetLoadedFromTheProgramsResource) {
  Harness h;
  resetProgramState();  // an earlier program in this process may have left its glyphs
  ASSERT_FALSE(programGlyphs().loaded());
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(programGlyphs().loaded());
  std::ifstream in(generatedDir() / "glyphs" / "gbk16.bin", std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  GlyphSet fromFile;
  ASSERT_TRUE(fromFile.load(file));
  // 张三 in GBK, as the Windows name box draws it.
  const std::string name = "\xd5\xc5\xc8\xfd";
  Picture shown(32, 16, kWhite), expected(32, 16, kWhite);
  EXPECT_EQ(programGlyphs().draw(shown, 0, 0, name, kBlack), 32);
  fromFile.draw(expected, 0, 0, name, kBlack);
  EXPECT_EQ(shown.pixels, expected.pixels);
  EXPECT_NE(std::count(shown.pixels.begin(), shown.pixels.end(), kBlack), 0);
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
  h.host.push({.type = EventType::Quit, .wParam = 7});
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
    SCOPED_TRACE(::testing::Message() << state << "/" << phase);
    g_gameState = state;
    g_phase = phase;
    const int presents = h.host.presents;
    const int sleeps = h.host.sleeps;
    const std::int64_t ms = h.host.virtualMs;
    h.move(33, 44);
    h.passes(4);
    EXPECT_EQ(h.host.presents, presents);
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
      SCOPED_TRACE(::testing::Message() << "state " << state << " phase " << phase);
      Harness h;
      ASSERT_TRUE(h.start());
      g_gameState = state;
      g_phase = phase;
      h.pass();
      EXPECT_EQ(h.host.presents, 1);
    }
  }
}

using Input = ProgramTest;

TEST_F(Input, MousePositionComesFromMovesOnly) {
  h.host.push({.type = EventType::MouseMove, .lParam = 0xFFFF0010u});
  h.pass();
  EXPECT_EQ(g_mouseX, 16);
  EXPECT_EQ(g_mouseY, 65535);
  h.host.pushLeftDown(700, 300);
  h.host.push({.type = EventType::RightButtonDown, .lParam = packPosition(5, 6)});
  h.host.push({.type = EventType::LeftButtonDoubleClick, .lParam = packPosition(7, 8)});
  h.passes(3);
  EXPECT_EQ(g_mouseX, 16);
  EXPECT_EQ(g_mouseY, 65535);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
}

TEST_F(Input, OnlyTimerZeroCountsSeconds) {
  for (int id : {0, 1, 0, 7}) h.host.pushTimer(id);
  h.passes(4);
  EXPECT_EQ(g_elapsedSeconds, 2);
}

TEST_F(Input, EscapeLeavesTheSimpleScreens) {
  h.key(kKeyEscape);
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
    SCOPED_TRACE(::testing::Message() << "from state " << c.state);
    Harness each;
    ASSERT_TRUE(each.start());
    g_gameState = c.state;
    g_phase = c.phase;
    windowProc(keyDown(kKeyEscape));
    EXPECT_EQ(g_gameState, c.expectedState);
    EXPECT_EQ(g_phase, c.phase);
  }
}

TEST_F(Input, EnterActsOnlyInTheLevelAnnouncement) {
  for (std::uint32_t state = 0; state <= 8; ++state) {
    for (std::uint32_t phase : {PHASE_PANEL, PHASE_PLAYING, PHASE_RECORDS}) {
      g_gameState = state;
      g_phase = phase;
      const std::size_t sounds = h.host.sounds.size();
      windowProc(keyDown(kKeyEnter));
      EXPECT_EQ(g_gameState, state);
      EXPECT_EQ(g_phase, phase);
      EXPECT_EQ(h.host.sounds.size(), sounds);
    }
  }
  g_gameState = STATE_PLAY;
  g_phase = PHASE_LEVEL_INTRO;
  windowProc(keyDown(kKeyEnter));
  EXPECT_EQ(g_phase, PHASE_PLAYING);
  EXPECT_EQ(h.host.sounds.back(), kPlayMusic);
}

TEST_F(Input, LettersFollowThePhaseAloneAndRepeatsEachCount) {
  for (std::uint32_t phase : {PHASE_PANEL, PHASE_LEVEL_INTRO, PHASE_RECORDS}) {
    g_gameState = STATE_PLAY;
    g_phase = phase;
    windowProc(keyDown('Q'));
  }
  g_gameState = STATE_MAIN_MENU;
  g_phase = PHASE_PANEL;
  windowProc(keyDown('Q'));
  EXPECT_EQ(h.host.sounds.size(), 1u);  // the menu music only

  // During the lobby's slide-out after an abandoned game the phase still reads "playing".
  g_gameState = STATE_LOBBY_LEAVE;
  g_phase = PHASE_PLAYING;
  for (int repeat = 0; repeat < 3; ++repeat) windowProc(keyDown('Q'));
  ASSERT_EQ(h.host.sounds.size(), 4u);
  EXPECT_EQ(h.host.sounds[3], kMiss);
  // Keys outside A to Z do nothing even then.
  for (std::uint32_t code : {64u, 91u, 97u, 32u}) windowProc(keyDown(code));
  EXPECT_EQ(h.host.sounds.size(), 4u);
}

TEST_F(Input, ClosingTheWindowSavesTheFilesAndEndsWithZero) {
  h.passes(5);
  std::filesystem::remove(h.workDir / "mg.tol");
  std::filesystem::remove(h.workDir / "lhb.lhb");
  h.host.pushClose();
  h.pass();
  EXPECT_EQ(h.runUntilQuit(3), 0);
  EXPECT_EQ(h.readWorkFile("mg.tol"), "0");
  EXPECT_TRUE(h.workFileExists("lhb.lhb"));
  EXPECT_EQ(h.host.sounds.back().mode, SoundMode::Stop);
}

}  // namespace
}  // namespace tolvaro::testing
