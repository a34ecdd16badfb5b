// The exit box over the sliding-out menu, its Yes and No buttons, and the shutdown slide that
// writes the record files and ends the program.
#include <gtest/gtest.h>

#include "assets/Catalogue.h"
#include "game/GameFlow.h"
#include "screen_checks.h"
#include "screens/About.h"
#include "screens/MainMenu.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

// Where the box stands (keyed, black left out), searched along its row; -1 when not drawn.
int boxX() {
  for (int x = 0; x < kScreenWidth; ++x) {
    if (keyedPictureAt(g_exitBoxPicture, x, 339, kBlack)) return x;
  }
  return -1;
}

bool noItemOnScreen() {
  return sameAsBackground(g_menuBackground, 680, 200, 1024, 571);
}
bool yesLit() {
  return pictureAt(g_exitYesPicture, 401, 390);
}
bool noLit() {
  return pictureAt(g_exitNoPicture, 482, 390);
}

class ExitConfirm : public RestingMenuTest {
 protected:
  // Esc on the menu at rest and the box's slide-in: the box at rest.
  void openBox() {
    h.key(kKeyEscape);
    h.passes(25);
  }
};

TEST_F(ExitConfirm, BoxSlidesInFromTheLeftShowsOnceAt400ThenRestsAt387) {
  h.key(kKeyEscape);
  std::vector<int> seen{boxX()};
  for (int frame = 2; frame <= 25; ++frame) {
    h.pass();
    seen.push_back(boxX());
  }
  for (int frame = 1; frame <= 25; ++frame) {
    EXPECT_EQ(seen[frame - 1], frame <= 20 ? 20 * frame : 387) << frame;
  }
  h.screenshot("exit_box");
}

TEST_F(ExitConfirm, ItemsLeaveBottomFirstAndAreAllGoneByFrame38) {
  h.key(kKeyEscape);
  EXPECT_EQ(menuItemX(4), 684);
  EXPECT_EQ(menuItemX(3), 680);
  h.passes(4);  // frame 5: item 4 at 764, item 3 still waits
  EXPECT_EQ(menuItemX(3), 680);
  h.pass();  // frame 6: item 3 starts from its stored 664
  EXPECT_EQ(menuItemX(3), 684);
  h.passes(11);  // frame 17: item 4 clipped at 1004
  EXPECT_EQ(menuItemX(4), 1004);
  h.pass();  // frame 18: item 4 at 1024, no longer drawn
  EXPECT_EQ(menuItemX(4), -1);
  EXPECT_TRUE(sameAsBackground(g_menuBackground, 680, 520, 1024, 571));
  h.passes(19);  // frame 37: item 0 is still just visible
  EXPECT_FALSE(noItemOnScreen());
  h.pass();
  EXPECT_TRUE(noItemOnScreen());
  h.passes(500);  // the box may stay open: nothing comes back
  EXPECT_TRUE(noItemOnScreen());
  EXPECT_EQ(boxX(), 387);
}

TEST_F(ExitConfirm, EscKeepsTheHoveredItemHighlightedButExitGameDoesNot) {
  h.move(800, 385);  // item 2
  h.key(kKeyEscape);
  h.passes(14);  // frame 15; item 2 started in frame 11
  EXPECT_EQ(menuItemX(2, true), 764);
  EXPECT_FALSE(keyedPictureAt(g_menuMarkerPicture, 565, 330, kWhite));  // no marker here

  resetProgramState();
  ASSERT_TRUE(h.startAtRestingMenu());
  h.clickAt(800, 545);  // Exit Game: its own item leaves with the normal picture
  EXPECT_EQ(menuItemX(4), 684);
}

TEST_F(ExitConfirm, ButtonsLightUpWithTheirSoundOncePerEntry) {
  openBox();
  const std::size_t start = h.host.sounds.size();
  h.move(440, 400);  // Yes
  EXPECT_TRUE(yesLit());
  h.move(450, 410);
  EXPECT_EQ(countSound(h.host, kHover, start), 1);
  h.move(500, 400);  // straight onto No
  EXPECT_TRUE(noLit());
  EXPECT_FALSE(yesLit());
  EXPECT_EQ(countSound(h.host, kHover, start), 2);
  h.screenshot("exit_box_no");
  h.move(480, 400);  // between the buttons: both flags cleared, no highlight
  EXPECT_FALSE(noLit());
  EXPECT_TRUE(keyedPictureAt(g_exitBoxPicture, 387, 339, kBlack));
  h.move(500, 400);
  EXPECT_EQ(countSound(h.host, kHover, start), 3);
}

TEST_F(ExitConfirm, ButtonZonesAreInclusive) {
  openBox();
  struct Probe {
    int x, y;
    bool yes, no;
  };
  const Probe probes[] = {
      {402, 391, true, false},  {401, 400, false, false}, {477, 415, true, false},
      {478, 400, false, false}, {483, 400, false, true},  {558, 391, false, true},
      {559, 400, false, false}, {500, 390, false, false}, {500, 416, false, false}};
  for (const Probe& p : probes) {
    SCOPED_TRACE(::testing::Message() << p.x << "," << p.y);
    h.move(p.x, p.y);
    EXPECT_EQ(yesLit(), p.yes);
    EXPECT_EQ(noLit(), p.no);
    if (!p.yes && !p.no) h.click();  // a click off both buttons keeps the box
  }
  EXPECT_EQ(g_gameState, STATE_EXIT_CONFIRM);
  EXPECT_EQ(boxX(), 387);
}

TEST_F(ExitConfirm, NoBringsTheMenuBackAndTheNextBoxSlidesInAgainSilentlyOverNo) {
  openBox();
  h.move(500, 400);
  const std::size_t afterNoHover = h.host.sounds.size();
  h.click();
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(menuItemX(0), 994);                   // the items slide in again from the right edge
  EXPECT_EQ(h.host.sounds.size(), afterNoHover);  // no sound for the click, no music
  h.passes(47);
  h.key(kKeyEscape);  // the pointer still rests where No will be
  EXPECT_EQ(boxX(), 20);
  h.passes(20);
  EXPECT_TRUE(noLit());
  EXPECT_EQ(h.host.sounds.size(), afterNoHover);  // its flag stayed set
}

// From the menu at rest the shutdown runs at the end of the 25th frame of the slide.
TEST_F(ExitConfirm, YesSlidesTheMenuOutWritesBothFilesInFrame25AndQuitsWithZero) {
  h.move(440, 400);   // where Yes will be
  h.key(kKeyEscape);  // one frame of the box: only item 4 has moved
  h.click();          // frame 1 of the shutdown slide: the box is gone at once
  ASSERT_EQ(g_gameState, STATE_QUIT);
  EXPECT_EQ(boxX(), -1);
  EXPECT_FALSE(yesLit());
  EXPECT_TRUE(sameAsBackground(g_menuBackground, 397, 339, 637, 429));  // right of the bug
  EXPECT_EQ(menuItemX(4), 714);
  g_bestScore = 777;  // as a game would have left it: the file must come to hold it
  h.key(kKeyEscape);  // frame 2: keys and clicks change nothing now
  h.click();          // frame 3
  h.passes(20);       // frame 23: item 0 still shows its left part
  EXPECT_EQ(menuItemX(0), 994);
  h.pass();  // frame 24: item 0 at the right edge, not yet beyond it
  EXPECT_EQ(g_gameState, STATE_QUIT);
  EXPECT_TRUE(noItemOnScreen());
  EXPECT_NE(h.readWorkFile("mg.tol"), "777");
  const std::size_t sounds = h.host.sounds.size();
  const int presents = h.host.presents;
  h.pass();  // frame 25: presented, then the files, the sound stop and the quit
  EXPECT_EQ(h.host.presents, presents + 1);
  EXPECT_EQ(h.readWorkFile("mg.tol"), "777");
  EXPECT_TRUE(h.workFileExists("lhb.lhb"));
  EXPECT_EQ(soundsSince(h.host, sounds), std::vector<SoundCall>{kStopAll});
  EXPECT_FALSE(g_blackBrush.live);
  EXPECT_TRUE(noItemOnScreen());
  EXPECT_EQ(h.runUntilQuit(1), 0);  // the next pass takes the quit and ends with code 0
}

TEST_F(ExitConfirm, WithTheItemsAlreadyGoneTheFilesAreWrittenInTheFirstQuitFrame) {
  h.key(kKeyEscape);
  h.passes(40);
  h.move(440, 400);
  g_bestScore = 42;
  h.click();
  EXPECT_EQ(h.readWorkFile("mg.tol"), "42");
  EXPECT_TRUE(h.workFileExists("lhb.lhb"));
  EXPECT_EQ(h.runUntilQuit(1), 0);
}

}  // namespace
}  // namespace tolvaro::testing
