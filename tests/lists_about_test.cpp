// The load-game list and the settings notice over the frozen menu, and the about slideshow with
// its curtain.
#include <gtest/gtest.h>

#include "assets/Catalogue.h"
#include "screen_checks.h"
#include "screens/LoadGame.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

constexpr int kRowY[6] = {240, 290, 343, 396, 449, 499};

class MenuScreen : public RestingMenuTest {
 protected:
  // Hovers a menu item, keeps a copy of that frame and clicks the item.
  void open(int itemY) {
    h.move(800, itemY);
    menuFrame = g_backBuffer;
    sounds = h.host.sounds.size();
    h.click();
  }
  // The back buffer equals the menu's last frame in the rectangle.
  bool menuFrameShows(int left, int top, int right, int bottom) {
    return sameAsBackground(menuFrame, left, top, right, bottom);
  }
  Picture menuFrame;
  std::size_t sounds = 0;
};

using LoadGameList = MenuScreen;
using SettingsNotice = MenuScreen;
using AboutSlideshow = MenuScreen;

// Which highlight is on the panel: 0..5 for a row, 6 for Back, -1 for none.
int highlight() {
  int found = -1;
  for (int row = 0; row < 6; ++row) {
    if (pictureAt(g_slotRowPicture, 390, kRowY[row])) found = found < 0 ? row : 99;
  }
  if (pictureAt(g_slotBackPicture, 474, 549)) found = found < 0 ? 6 : 99;
  return found;
}

TEST_F(LoadGameList, PanelIsDrawnKeyedOverTheFrozenMenu) {
  open(305);
  ASSERT_EQ(g_gameState, STATE_LOAD_GAME);
  h.passes(5);
  EXPECT_TRUE(keyedPictureAt(g_slotPanelPicture, 360, 182, kBlack));
  // Around the panel, and through its black, the menu's last frame stands still.
  EXPECT_TRUE(menuFrameShows(0, 0, 1024, 182));
  EXPECT_TRUE(menuFrameShows(0, 0, 360, 768));  // the bug animation included
  EXPECT_TRUE(menuFrameShows(665, 0, 1024, 768));
  int throughKey = 0;
  for (int y = 0; y < 405; ++y) {
    for (int x = 0; x < 305; ++x) {
      if (g_slotPanelPicture.at(x, y) != kBlack) continue;
      ASSERT_EQ(g_backBuffer.at(360 + x, 182 + y), menuFrame.at(360 + x, 182 + y));
      ++throughKey;
    }
  }
  EXPECT_GT(throughKey, 0);
  EXPECT_EQ(highlight(), -1);
  EXPECT_EQ(soundsSince(h.host, sounds), std::vector<SoundCall>{kClick});
  h.screenshot("load_game");
}

TEST_F(LoadGameList, HighlightsFollowTheMouseWithExclusiveBounds) {
  open(305);
  struct Probe {
    int x, y, lit;
  };
  const Probe probes[] = {{391, 241, 0},  {390, 241, -1}, {391, 240, -1}, {630, 267, 0},
                          {631, 250, -1}, {500, 268, -1}, {500, 275, -1}, {500, 291, 1},
                          {500, 344, 2},  {500, 397, 3},  {500, 450, 4},  {500, 526, 5},
                          {500, 527, -1}, {475, 550, 6},  {556, 573, 6},  {474, 560, -1},
                          {520, 549, -1}, {557, 560, -1}, {520, 574, -1}, {600, 560, -1}};
  for (const Probe& p : probes) {
    SCOPED_TRACE(::testing::Message() << p.x << "," << p.y);
    h.move(p.x, p.y);
    EXPECT_EQ(highlight(), p.lit);
    if (p.lit == 1) h.screenshot("load_game_row");
  }
}

TEST_F(LoadGameList, OnlyBackOrEscLeaveAndNeitherPlaysASound) {
  open(305);
  for (auto [x, y] : {std::pair{500, 300}, {474, 560}, {520, 549}, {700, 560}}) {
    h.clickAt(x, y);
    EXPECT_EQ(g_gameState, STATE_LOAD_GAME) << x << "," << y;
  }
  h.clickAt(500, 560);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_TRUE(pictureAt(g_menuItemPictures[0][0], 994, 200));  // the menu slides in again

  h.passes(47);
  open(305);
  h.key(kKeyEscape);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(soundsSince(h.host, sounds), std::vector<SoundCall>{kClick});
}

TEST_F(SettingsNotice, TextStandsAt300By400OverTheFrozenMenuUntilEsc) {
  open(385);
  ASSERT_EQ(g_gameState, STATE_SETTINGS);
  h.host.pushKey(kKeyEnter);
  h.host.pushKey('A');
  h.host.pushLeftDown();
  h.passes(6);
  EXPECT_EQ(g_gameState, STATE_SETTINGS);
  // Nine wide characters, " Esc ", five wide characters: 264 pixels from x 300, 16 high.
  EXPECT_GT(countColour(kTextColour, 300, 400, 316, 416), 0);
  EXPECT_GT(countColour(kTextColour, 444, 400, 484, 416), 0);  // "Esc"
  EXPECT_GT(countColour(kTextColour, 548, 400, 564, 416), 0);
  EXPECT_EQ(countColour(kTextColour, 0, 0, 1024, 400), 0);
  EXPECT_EQ(countColour(kTextColour, 564, 400, 1024, 416), 0);
  EXPECT_TRUE(menuFrameShows(0, 0, 1024, 400));
  EXPECT_TRUE(menuFrameShows(0, 416, 1024, 768));
  h.screenshot("settings");
  h.key(kKeyEscape);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(soundsSince(h.host, sounds), std::vector<SoundCall>{kClick});
}

struct CardPlace {
  int x, y, width, height;  // the picture's size
};
constexpr CardPlace kCards[6] = {{262, 259, 500, 250}, {112, 84, 800, 600},  {312, 259, 400, 250},
                                 {312, 259, 400, 250}, {312, 259, 400, 250}, {212, 259, 600, 250}};

bool blackRun(int y, int from, int to) {
  static const std::vector<std::uint32_t> black(kScreenWidth, kBlack);
  return from >= to ||
         std::equal(black.begin(), black.begin() + (to - from), g_backBuffer.ptr(from, y));
}

// The card is shown from column `from` (screen x) rightwards and hidden by black left of it;
// outside the card all is black. Checks the rows firstRow, firstRow + rowStep, ...
bool cardShownFrom(int card, int from, int rowStep = 1, int firstRow = 0) {
  const CardPlace& c = kCards[card];
  const Picture& picture = g_aboutCardPictures[card];
  if (picture.empty()) return false;
  const int shownLeft = std::clamp(from, c.x, c.x + c.width);
  for (int y = firstRow; y < kScreenHeight; y += rowStep) {
    const bool onCard = y >= c.y && y < c.y + c.height;
    const int left = onCard ? shownLeft : kScreenWidth, right = onCard ? c.x + c.width : left;
    if (!blackRun(y, 0, left) || !rowShown(picture, y - c.y, left - c.x, right - c.x, c.x, y) ||
        !blackRun(y, right, kScreenWidth)) {
      return false;
    }
  }
  return true;
}

// Where the curtain stands in frame n (1 to 770) of a card: withdrawing at 4 a frame, after n
// frames at 1024 - 4n, open in the turning frame 257, then returning at 2 a frame until it
// covers the card again.
int curtainInFrame(int n) {
  return n <= 256 ? 1024 - 4 * n : std::min(2 * (n - 257), 1024);
}

// Both visits, the second one clicked every 500 frames, are checked frame by frame against the
// curtain's rule: they show the same frames, so the clicks change nothing.
TEST_F(AboutSlideshow, TwoVisitsShowSixCardsOf770FramesEachThenTheMenuAndClicksChangeNothing) {
  for (int visit = 0; visit < 2; ++visit) {
    SCOPED_TRACE(visit == 0 ? "first visit" : "second visit, with clicks");
    open(465);  // frame 1
    ASSERT_EQ(g_gameState, STATE_ABOUT);
    EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick, kAboutMusic}));
    EXPECT_TRUE(allColour(kBlack, 0, 0, 1024, 768));
    int wrongFrames = 0, firstWrong = 0;
    for (int frame = 1; frame <= 4620; ++frame) {
      if (frame > 1) {
        if (visit == 1 && frame % 500 == 0) h.host.pushLeftDown();
        h.pass();
      }
      const int card = (frame - 1) / 770, n = frame - 770 * card;
      const CardPlace& c = kCards[card];
      // A third of the rows in each frame, so each row every third frame; the whole screen
      // when the curtain reaches the card's middle, when it opens, when it covers a third of
      // the card again, and in the black last frame.
      const bool whole = n == (1024 - (c.x + c.width / 2)) / 4 || n == 257 ||
                         n == 257 + (c.x + c.width / 3) / 2 || n == 770;
      const std::uint32_t state = frame < 4620 ? STATE_ABOUT : STATE_MAIN_MENU;
      if (!cardShownFrom(card, curtainInFrame(n), whole ? 1 : 3, whole ? 0 : frame % 3) ||
          g_gameState != state) {
        if (wrongFrames++ == 0) firstWrong = frame;
      }
      if (visit == 0 && card == 1 && n == 257) h.screenshot("about_maker_card");
      if (visit == 0 && card == 0 && n == 471) h.screenshot("about_title_covering");
    }
    EXPECT_EQ(wrongFrames, 0) << "the first in frame " << firstWrong;
    EXPECT_TRUE(allColour(kBlack, 0, 0, 1024, 768));
    EXPECT_EQ(soundsSince(h.host, sounds),
              (std::vector<SoundCall>{kClick, kAboutMusic, kMenuMusic}));
    h.pass();
    EXPECT_TRUE(pictureAt(g_menuItemPictures[0][0], 994, 200));
    h.passes(46);
  }
}

TEST_F(AboutSlideshow, EscAtAnyPointReturnsAndTheNextVisitStartsFromTheTitleCard) {
  open(465);
  h.passes(770 * 3 + 400);  // card 3 while the curtain covers it again
  h.key(kKeyEscape);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick, kAboutMusic, kMenuMusic}));
  h.passes(47);
  open(465);
  EXPECT_TRUE(allColour(kBlack, 0, 0, 1024, 768));
  h.passes(256);
  EXPECT_TRUE(cardShownFrom(0, 0));
  h.key(kKeyEscape);  // in the very turning frame
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
}

}  // namespace
}  // namespace tolvaro::testing
