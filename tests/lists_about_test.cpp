// The load-game list and the settings notice over the frozen menu, and the about slideshow with
// its curtain.
#include <gtest/gtest.h>

#include "assets/Catalogue.h"
#include "screen_checks.h"
#include "screens/LoadGame.h"
#include "support/Harness.h"

namespace tolvaro::testing {
namespace {

constexpr SoundCall kClick{199, SoundMode::Blocking};
constexpr SoundCall kMenuMusic{201, SoundMode::Loop};
constexpr SoundCall kAboutMusic{223, SoundMode::Loop};
constexpr int kEsc = 27;
constexpr int kRowY[6] = {240, 290, 343, 396, 449, 499};

class MenuScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.start());
    h.passes(48);
  }
  // Hovers a menu item, keeps a copy of that frame and clicks the item.
  void open(int itemY) {
    h.move(800, itemY);
    menuFrame = g_backDC;
    sounds = h.host.sounds.size();
    h.click();
  }
  // The back buffer equals the menu's last frame in the rectangle.
  bool menuFrameShows(int left, int top, int right, int bottom) {
    return sameAsBackground(menuFrame, left, top, right, bottom);
  }
  Harness h;
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
      ASSERT_EQ(g_backDC.at(360 + x, 182 + y), menuFrame.at(360 + x, 182 + y));
      ++throughKey;
    }
  }
  EXPECT_GT(throughKey, 0);
  EXPECT_EQ(highlight(), -1);
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick}));
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
    h.move(x, y);
    h.click();
    EXPECT_EQ(g_gameState, STATE_LOAD_GAME) << x << "," << y;
  }
  h.move(500, 560);
  h.click();
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_TRUE(pictureAt(g_menuItemPictures[0][0], 994, 200));  // the menu slides in again

  h.passes(47);
  open(305);
  h.key(kEsc);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick}));
}

TEST_F(SettingsNotice, TextStandsAt300By400OverTheFrozenMenuUntilEsc) {
  open(385);
  ASSERT_EQ(g_gameState, STATE_SETTINGS);
  h.host.pushKey(13);
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
  h.key(kEsc);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick}));
}

struct CardPlace {
  int x, y, width, height;  // the picture's size
};
constexpr CardPlace kCards[6] = {{262, 259, 500, 250}, {112, 84, 800, 600},  {312, 259, 400, 250},
                                 {312, 259, 400, 250}, {312, 259, 400, 250}, {212, 259, 600, 250}};

// The card is shown from column `from` (screen x) rightwards and hidden by black left of it;
// outside the card all is black.
bool cardShownFrom(int card, int from) {
  const CardPlace& c = kCards[card];
  const Picture& picture = g_aboutCardPictures[card];
  if (picture.empty()) return false;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const bool onCard = x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height;
      const std::uint32_t expected = onCard && x >= from ? picture.at(x - c.x, y - c.y) : kBlack;
      if (g_backDC.at(x, y) != expected) return false;
    }
  }
  return true;
}

TEST_F(AboutSlideshow, SixCardsOf770FramesEachThenTheMenuWithItsMusic) {
  open(465);  // frame 1
  ASSERT_EQ(g_gameState, STATE_ABOUT);
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick, kAboutMusic}));
  EXPECT_TRUE(allColour(kBlack, 0, 0, 1024, 768));
  int frame = 1;
  auto runTo = [&](int target) {
    h.passes(target - frame);
    frame = target;
  };
  for (int card = 0; card < 6; ++card) {
    SCOPED_TRACE(card);
    const int start = 770 * card;  // the card's first frame is start + 1
    const CardPlace& c = kCards[card];
    // Withdrawing at 4 a frame: after n frames the curtain stands at 1024 - 4n.
    const int halfway = (1024 - (c.x + c.width / 2)) / 4;
    runTo(start + halfway);
    EXPECT_TRUE(cardShownFrom(card, 1024 - 4 * halfway));
    runTo(start + 257);  // the turning frame: the whole card
    EXPECT_TRUE(cardShownFrom(card, 0));
    if (card == 1) h.screenshot("about_maker_card");
    // Returning at 2 a frame from 0.
    const int covering = 257 + (c.x + c.width / 3) / 2;
    runTo(start + covering);
    EXPECT_TRUE(cardShownFrom(card, 2 * (covering - 257)));
    if (card == 0) h.screenshot("about_title_covering");
    runTo(start + 770);
    EXPECT_TRUE(allColour(kBlack, 0, 0, 1024, 768));
    EXPECT_EQ(g_gameState, card < 5 ? STATE_ABOUT : STATE_MAIN_MENU);
  }
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick, kAboutMusic, kMenuMusic}));
  h.pass();
  EXPECT_TRUE(pictureAt(g_menuItemPictures[0][0], 994, 200));
}

TEST_F(AboutSlideshow, EscAtAnyPointReturnsAndTheNextVisitStartsFromTheTitleCard) {
  open(465);
  h.passes(770 * 3 + 400);  // card 3 while the curtain covers it again
  h.key(kEsc);
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick, kAboutMusic, kMenuMusic}));
  h.passes(47);
  open(465);
  EXPECT_TRUE(allColour(kBlack, 0, 0, 1024, 768));
  h.passes(256);
  EXPECT_TRUE(cardShownFrom(0, 0));
  h.key(kEsc);  // in the very turning frame
  EXPECT_EQ(g_gameState, STATE_MAIN_MENU);
}

std::uint64_t frameHash() {
  std::uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < kScreenHeight; y += 3) {
    for (int x = 0; x < kScreenWidth; x += 3) hash = (hash ^ g_backDC.at(x, y)) * 1099511628211ull;
  }
  return hash;
}

TEST_F(AboutSlideshow, TwoRunsInARowShowTheSameFramesAndClicksChangeNothing) {
  std::vector<std::uint64_t> runs[2];
  for (int run = 0; run < 2; ++run) {
    open(465);
    runs[run].push_back(frameHash());
    for (int frame = 2; frame <= 4620; ++frame) {
      if (run == 1 && frame % 500 == 0) h.host.pushLeftDown();
      h.pass();
      runs[run].push_back(frameHash());
    }
    ASSERT_EQ(g_gameState, STATE_MAIN_MENU);
    h.passes(47);
  }
  EXPECT_EQ(runs[0], runs[1]);
}

}  // namespace
}  // namespace tolvaro::testing
