// The main menu as the player sees and hears it: the slide-in, hover highlights with their
// sound, the marker, the bug animation and the clicks that leave the menu.
#include <gtest/gtest.h>

#include "assets/Catalogue.h"
#include "screen_checks.h"
#include "screens/MainMenu.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

const Picture& item(int k, bool hovered = false) {
  return g_menuItemPictures[k][hovered ? 1 : 0];
}

// The marker, its white left out, beside the item whose top is at y + 30.
bool markerAt(int y) {
  return keyedPictureAt(g_menuMarkerPicture, 565, y, kWhite);
}

class MainMenu : public ProgramTest {
 protected:
  void settle() { h.passes(48); }
};

TEST_F(MainMenu, MusicPlaysBeforeTheFirstFrameAndTheColumnSettlesAfter48Frames) {
  ASSERT_EQ(h.host.sounds, std::vector<SoundCall>{kMenuMusic});
  EXPECT_EQ(h.host.presents, 0);

  std::vector<int> positions[5];
  for (int frame = 1; frame <= 60; ++frame) {
    h.pass();
    for (int k = 0; k < 5; ++k) positions[k].push_back(menuItemX(k));
    if (frame == 1) {
      // The marker stands beside item 0 from the first frame.
      EXPECT_TRUE(markerAt(170));
      EXPECT_EQ(g_backBuffer.at(565, 170), g_menuBackground.at(565, 170));  // a white corner
    }
    if (frame == 10) h.screenshot("menu_sliding");
  }
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    // Not drawn until frame 1 + 9k, then from 994 in steps of 30 to 664 for one frame, then 680.
    const int first = 9 * k;
    for (int f = 0; f < first; ++f) EXPECT_EQ(positions[k][f], -1) << "frame " << f + 1;
    for (int step = 0; step < 12; ++step) {
      EXPECT_EQ(positions[k][first + step], 994 - 30 * step) << "frame " << first + step + 1;
    }
    EXPECT_EQ(std::count(positions[k].begin(), positions[k].end(), 664), 1);
    for (int f = first + 12; f < 60; ++f) EXPECT_EQ(positions[k][f], 680) << "frame " << f + 1;
  }
  EXPECT_EQ(positions[4][47], 664);  // frame 48
  EXPECT_EQ(positions[4][48], 680);  // frame 49: the column stands still from here
  EXPECT_EQ(h.host.presents, 60);
  EXPECT_EQ(h.host.sounds.size(), 1u);  // the mouse at (0, 0) hovers nothing
}

TEST_F(MainMenu, HoverPlaysItsSoundOncePerEntryAndMovesTheMarker) {
  settle();
  h.move(700, 380);  // item 2
  EXPECT_EQ(countSound(h.host, kHover), 1);
  EXPECT_TRUE(pictureAt(item(2, true), 680, 360));
  EXPECT_TRUE(markerAt(330));
  h.move(900, 400);  // still item 2
  h.passes(5);
  EXPECT_EQ(countSound(h.host, kHover), 1);
  h.screenshot("menu_hover");

  h.move(700, 331);  // the gap between items 1 and 2 clears every highlight, the marker stays
  EXPECT_TRUE(pictureAt(item(2), 680, 360));
  EXPECT_TRUE(markerAt(330));
  h.move(700, 361);
  EXPECT_EQ(countSound(h.host, kHover), 2);
  EXPECT_TRUE(pictureAt(item(2, true), 680, 360));
}

TEST_F(MainMenu, HotZonesLeaveOutTheLeftColumnAndTopRow) {
  settle();
  struct Probe {
    int x, y, hovered;  // hovered item or -1
  };
  const Probe probes[] = {{680, 220, -1}, {681, 220, 0}, {942, 220, 0}, {943, 220, -1},
                          {800, 200, -1}, {800, 201, 0}, {800, 250, 0}, {800, 251, -1},
                          {800, 521, 4},  {800, 570, 4}, {800, 571, -1}};
  for (const Probe& probe : probes) {
    SCOPED_TRACE(::testing::Message() << probe.x << "," << probe.y);
    h.move(probe.x, probe.y);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(menuItemX(k, true) == 680, k == probe.hovered) << k;
  }
}

TEST_F(MainMenu, JumpingStraightFromItemToItemKeepsBothHighlighted) {
  settle();
  h.move(800, 300);
  h.move(800, 460);
  EXPECT_EQ(countSound(h.host, kHover), 2);
  EXPECT_TRUE(pictureAt(item(1, true), 680, 280));
  EXPECT_TRUE(pictureAt(item(3, true), 680, 440));
  EXPECT_TRUE(markerAt(410));
  h.move(100, 100);
  EXPECT_TRUE(pictureAt(item(1), 680, 280));
  EXPECT_TRUE(pictureAt(item(3), 680, 440));
}

TEST_F(MainMenu, BugAnimationShowsFrames1To49InALoop) {
  for (int frame = 1; frame <= 100; ++frame) {
    h.pass();
    const int shown = (frame - 1) % 49 + 1;
    ASSERT_TRUE(pictureAt(g_menuBugFrames[shown], 192, 360)) << "frame " << frame;
    if (shown != 2) {
      ASSERT_FALSE(pictureAt(g_menuBugFrames[2], 192, 360)) << "frame " << frame;
    }
  }
}

TEST_F(MainMenu, ClicksPlayTheBlockingClickThenLeave) {
  struct Case {
    int y;
    std::uint32_t state;
    std::vector<SoundCall> sounds;
  };
  const Case cases[] = {{225, STATE_LOBBY, {kHover, kClick}},
                        {305, STATE_LOAD_GAME, {kHover, kClick}},
                        {385, STATE_SETTINGS, {kHover, kClick}},
                        {465, STATE_ABOUT, {kHover, kClick, kAboutMusic}},
                        {545, STATE_EXIT_CONFIRM, {kHover, kClick}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.y);
    resetProgramState();
    ASSERT_TRUE(h.start());
    h.passes(3);  // the zones act while the items are still sliding in, or not drawn yet
    const std::size_t before = h.host.sounds.size();
    h.host.pushMove(800, c.y);
    h.host.pushLeftDown(10, 10);  // the click's own position is not used
    h.passes(2);
    EXPECT_EQ(soundsSince(h.host, before), c.sounds);
    EXPECT_EQ(g_gameState, c.state);
  }
}

TEST_F(MainMenu, ClickOutsideTheZonesOrBeforeAnyMoveDoesNothing) {
  settle();
  h.click();            // the mouse has not moved: (0, 0)
  h.clickAt(800, 265);  // gap between items 0 and 1
  h.clickAt(950, 225);  // right of the column
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(h.host.sounds, std::vector<SoundCall>{kMenuMusic});
}

TEST_F(MainMenu, ReturningWithThePointerOnTheClickedItemHighlightsItSilently) {
  settle();
  h.clickAt(800, 305);  // load game
  ASSERT_EQ(g_gameState, STATE_LOAD_GAME);
  const std::size_t before = h.host.sounds.size();
  h.key(kKeyEscape);  // back to the menu: the items slide in again and no music starts
  EXPECT_TRUE(soundsSince(h.host, before).empty());
  h.passes(9);
  EXPECT_EQ(menuItemX(1, true), 994);
  EXPECT_TRUE(soundsSince(h.host, before).empty());
}

TEST_F(MainMenu, ExitGameWhileSlidingInTakesTheItemsOutFromWhereTheyStand) {
  h.passes(20);
  h.clickAt(800, 545);  // frame 21: item 1 reaches 664, item 2 is at 934
  ASSERT_EQ(g_gameState, STATE_EXIT_CONFIRM);
  // Item 0 waits for item 1 to pass 750; items 3 and 4 had not appeared, and do not.
  const int expected[5] = {680, 684, 954, -1, -1};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(menuItemX(k), expected[k]) << k;
}

}  // namespace
}  // namespace tolvaro::testing
