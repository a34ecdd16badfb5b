// The game lobby: its slide-in, the idle panel with hover bands, labels and info boxes, the
// slide-out with its three endings, and the colour themes.
#include "screens/Lobby.h"

#include <gtest/gtest.h>

#include "assets/Catalogue.h"
#include "screen_checks.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

constexpr int kButtonY[5] = {98, 166, 236, 310, 382};

const Picture& buttonFace(bool hovered, int theme = 0) {
  return g_lobbyButtonPictures[(hovered ? 1 : 0) + 2 * theme];
}

// Leftmost x where button k's face (whole, or clipped by the right edge) stands; -1 if none.
int buttonX(int k, bool hovered = false, int theme = 0) {
  return leftmostX(buttonFace(hovered, theme), kButtonY[k], 600);
}

// In the idle lobby the label covers part of the button: compare the face around it.
bool idleButtonFace(int k, bool hovered, int theme = 0) {
  return pictureAtExcept(buttonFace(hovered, theme), 724, kButtonY[k], 80, 7, 155, 43);
}

using Lobby = RestingMenuTest;

TEST_F(Lobby, SlideInTakes48FramesWithThePanelAt44OnceAndButtons2To5At694Once) {
  const std::size_t sounds = h.host.sounds.size();
  ASSERT_TRUE(h.openLobby());
  std::vector<int> panelAt44, seen[5];
  for (int frame = 1; frame <= 48; ++frame) {
    if (frame > 1) h.pass();
    ASSERT_EQ(g_gameState, frame < 48 ? STATE_LOBBY : STATE_PLAY) << frame;
    EXPECT_TRUE(sameAsBackground(g_themeBackgrounds[0], 0, 0, 60, 768)) << frame;
    if (pictureAt(g_themeFramePanels[0], 60, 44)) panelAt44.push_back(frame);
    if (frame == 1) {
      EXPECT_TRUE(pictureAt(g_themeFramePanels[0], 60, -646));
    }
    if (frame >= 25) {
      EXPECT_TRUE(pictureAt(g_themeFramePanels[0], 60, 40)) << frame;
    }
    for (int k = 0; k < 5; ++k) seen[k].push_back(buttonX(k));
  }
  EXPECT_EQ(panelAt44, std::vector<int>{24});
  // Button 1 moves in frames 1 to 10 and stops at 724.
  for (int f = 1; f <= 10; ++f) EXPECT_EQ(seen[0][f - 1], 1024 - 30 * f) << f;
  const int firstFrame[5] = {1, 10, 19, 28, 37};
  for (int k = 1; k < 5; ++k) {
    SCOPED_TRACE(k);
    for (int f = 1; f < firstFrame[k]; ++f) EXPECT_EQ(seen[k][f - 1], -1) << f;
    EXPECT_EQ(seen[k][firstFrame[k] - 1], 994);
    EXPECT_EQ(std::count(seen[k].begin(), seen[k].end(), 694), 1);
    EXPECT_EQ(seen[k][firstFrame[k] + 9], 694);
  }
  for (int k = 0; k < 5; ++k) EXPECT_EQ(seen[k][47], 724) << k;
  // The click, then the lobby music only once the last button is in.
  EXPECT_EQ(soundsSince(h.host, sounds + 1), (std::vector<SoundCall>{kClick, kLobbyMusic}));
  h.screenshot("lobby_slide_in_done");
}

TEST_F(Lobby, InputDuringTheSlidesIsDropped) {
  ASSERT_TRUE(h.openLobby());
  h.clickAt(800, 330);  // button 4's band
  h.key(kKeyEscape);
  h.key(kKeyEnter);
  h.passes(42);
  EXPECT_EQ(g_gameState, STATE_LOBBY);
  h.pass();  // frame 48
  EXPECT_TRUE(screenIs(STATE_PLAY, PHASE_PANEL));

  h.key(kKeyEscape);  // slide-out frame 1
  h.click();
  h.key(kKeyEscape);
  h.passes(46);
  EXPECT_EQ(g_gameState, STATE_LOBBY_LEAVE);
  h.pass();  // frame 50
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
}

TEST_F(Lobby, IdlePanelShowsTitleLabelsInfoBoxesAndTexts) {
  ASSERT_TRUE(h.openIdleLobby());
  EXPECT_TRUE(pictureAt(g_themeTitlePictures[0], 99, 147));
  // The panel around the title is the slide-in's last frame, never redrawn.
  EXPECT_TRUE(pictureAt(g_themeFramePanels[0], 60, 40, 39, 676));
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    EXPECT_TRUE(idleButtonFace(k, false));
    EXPECT_TRUE(keyedPictureAt(g_themeButtonLabels[k][0], 804, kButtonY[k] + 7, kBlack));
  }
  const int boxY[3] = {490, 565, 640};
  for (int box = 0; box < 3; ++box) {
    SCOPED_TRACE(box);
    EXPECT_TRUE(keyedPictureAt(g_themeInfoLabels[box][0], 726, boxY[box] + 13, kBlack));
    // The box itself, left of the label.
    EXPECT_TRUE(pictureAt(g_themeInfoBoxes[0], 711, boxY[box], 15, 63));
  }
  // Level 1 and score 0 as one digit each, then the good-luck line of four characters and "!".
  struct Ink {
    int left, top, right, bottom;
    bool inked;
  };
  const Ink inks[] = {{811, 515, 819, 531, true}, {819, 515, 900, 531, false},
                      {811, 590, 819, 606, true}, {811, 665, 827, 681, true},
                      {867, 665, 883, 681, true}, {883, 665, 980, 681, false}};
  for (const Ink& i : inks) {
    EXPECT_EQ(countColour(kTextColour, i.left, i.top, i.right, i.bottom) > 0, i.inked)
        << i.left << "," << i.top;
  }
  h.screenshot("lobby_idle_theme0");
}

TEST_F(Lobby, HoverBandsHaveExclusiveBoundsAndClearOnlyOffEveryBand) {
  ASSERT_TRUE(h.openIdleLobby());
  struct Probe {
    int x, y, hovered;
  };
  const Probe probes[] = {{800, 98, -1},  {800, 99, 0},   {800, 147, 0}, {800, 148, -1},
                          {724, 120, -1}, {725, 120, 0},  {963, 120, 0}, {964, 120, -1},
                          {800, 167, 1},  {800, 150, -1}, {800, 431, 4}, {800, 432, -1}};
  for (const Probe& p : probes) {
    SCOPED_TRACE(::testing::Message() << p.x << "," << p.y);
    h.move(p.x, p.y);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(idleButtonFace(k, true), k == p.hovered) << k;
  }
  h.move(800, 250);  // button 3
  h.move(800, 330);  // straight into button 4: both stay lit
  EXPECT_TRUE(idleButtonFace(2, true));
  EXPECT_TRUE(idleButtonFace(3, true));
  h.screenshot("lobby_idle_hover");
  h.move(800, 300);  // the gap
  EXPECT_TRUE(idleButtonFace(2, false));
  EXPECT_TRUE(idleButtonFace(3, false));
}

TEST_F(Lobby, SaveAndOptionsDoNothingAndStartOpensTheLevelIntroWithTheClick) {
  ASSERT_TRUE(h.openIdleLobby());
  const std::size_t sounds = h.host.sounds.size();
  for (int y : {190, 260, 98}) {  // save, options, and the start band's edge
    h.clickAt(800, y);
    EXPECT_EQ(g_gameState, STATE_PLAY) << y;
    EXPECT_EQ(g_phase, PHASE_PANEL) << y;
  }
  EXPECT_EQ(h.host.sounds.size(), sounds);
  h.pressStart();
  EXPECT_EQ(g_phase, PHASE_LEVEL_INTRO);
  ASSERT_GT(h.host.sounds.size(), sounds);  // the level intro's own jingle may follow
  EXPECT_EQ(h.host.sounds[sounds], kClick);
}

TEST_F(Lobby, EscSlidesOutIn50FramesToTheMenuWithItsMusic) {
  ASSERT_TRUE(h.openIdleLobby());
  h.move(10, 10);
  const std::size_t sounds = h.host.sounds.size();
  h.key(kKeyEscape);  // frame 1
  EXPECT_TRUE(pictureAt(g_themeFramePanels[0], 60, 10));
  EXPECT_EQ(buttonX(4), 724);  // stored at 694
  EXPECT_EQ(buttonX(0), 724);  // no label any more
  EXPECT_FALSE(pictureAt(g_themeTitlePictures[0], 99, 147));
  h.passes(9);  // frame 10
  EXPECT_EQ(buttonX(4), 994);
  EXPECT_EQ(buttonX(3), 724);
  h.pass();  // frame 11
  EXPECT_EQ(buttonX(4), -1);
  EXPECT_EQ(buttonX(3), 724);
  h.passes(30);  // frame 41
  EXPECT_EQ(buttonX(0), 754);
  EXPECT_TRUE(sameAsBackground(g_themeBackgrounds[0], 0, 0, 1024, 30));  // the panel is gone
  h.passes(8);                                                           // frame 49
  EXPECT_EQ(g_gameState, STATE_LOBBY_LEAVE);
  EXPECT_TRUE(soundsSince(h.host, sounds).empty());
  h.pass();  // frame 50
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(soundsSince(h.host, sounds), std::vector<SoundCall>{kMenuMusic});
  h.pass();
  EXPECT_TRUE(pictureAt(g_menuItemPictures[0][0], 994, 200));  // the menu slides in again
}

TEST_F(Lobby, ExitButtonLeavesHoveredAndComesBackHoveredUntilTheFirstIdleFrame) {
  ASSERT_TRUE(h.openIdleLobby());
  h.clickAt(800, 330);  // slide-out frame 1
  ASSERT_EQ(g_gameState, STATE_LOBBY_LEAVE);
  h.passes(10);  // frame 11: button 4 starts out with its hovered face
  EXPECT_EQ(buttonX(3, true), 724);
  h.passes(39);
  ASSERT_EQ(g_gameState, STATE_MAIN_MENU);
  h.passes(48);
  ASSERT_TRUE(h.openLobby());  // the pointer now sits in the gap above button 3
  h.passes(27);                // frame 28: button 4 enters, still lit
  EXPECT_EQ(buttonX(3, true), 994);
  h.passes(20);  // frame 48, then the first idle frame clears the flags
  h.pass();
  EXPECT_TRUE(idleButtonFace(3, false));
}

TEST_F(Lobby, ThreePressesOfButtonFiveCycleTheThemesBackToZero) {
  ASSERT_TRUE(h.openIdleLobby());
  const std::size_t sounds = h.host.sounds.size();
  h.move(800, 400);
  for (int press = 1; press <= 3; ++press) {
    SCOPED_TRACE(press);
    const int theme = press % 3;
    h.click();
    h.passes(49);
    ASSERT_EQ(g_gameState, STATE_LOBBY);
    h.pass();  // the new slide-in, drawn in the new theme
    EXPECT_TRUE(sameAsBackground(g_themeBackgrounds[theme], 0, 0, 60, 768));
    EXPECT_TRUE(pictureAt(g_themeFramePanels[theme], 60, -646));
    h.passes(47);
    ASSERT_EQ(g_gameState, STATE_PLAY);
    h.pass();
    EXPECT_TRUE(pictureAt(g_themeTitlePictures[theme], 99, 147));
    EXPECT_TRUE(keyedPictureAt(g_themeButtonLabels[0][theme], 804, 105, kBlack));
    EXPECT_TRUE(idleButtonFace(4, true, theme));
    if (theme != 0) h.screenshot("lobby_idle_theme" + std::to_string(theme));
  }
  // The lobby music restarts after each slide-in; the menu music never comes.
  EXPECT_EQ(soundsSince(h.host, sounds),
            (std::vector<SoundCall>{kLobbyMusic, kLobbyMusic, kLobbyMusic}));
}

TEST_F(Lobby, APendingNewRecordEndsTheSlideOutAtTheRecordsScreen) {
  ASSERT_TRUE(h.openIdleLobby());
  const std::size_t sounds = h.host.sounds.size();
  g_newRecordPending = 1;  // what the record table sets after a game entered it
  h.key(kKeyEscape);
  h.passes(49);
  EXPECT_TRUE(screenIs(STATE_PLAY, PHASE_RECORDS));
  EXPECT_EQ(g_newRecordPending, 0);
  EXPECT_TRUE(soundsSince(h.host, sounds).empty());
}

}  // namespace
}  // namespace tolvaro::testing
