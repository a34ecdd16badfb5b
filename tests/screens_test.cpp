// The screens around the game as the player sees and hears them: the slides of the main menu,
// the lobby and the exit box frame by frame, the hot zones and their exact bounds, the clicks
// and keys that move between screens, the load-game list, the settings notice and the about
// slideshow.
#include <gtest/gtest.h>

#include <functional>

#include "assets/Catalogue.h"
#include "screen_checks.h"
#include "support/Harness.h"
#include "support/Sounds.h"

namespace tolvaro::testing {
namespace {

constexpr int kButtonY[5] = {98, 166, 236, 310, 382};

const Picture& buttonFace(bool hovered) {
  return g_lobbyButtonPictures[hovered ? 1 : 0];
}
// Leftmost x where lobby button k's face (whole, or clipped by the right edge) stands.
int buttonX(int k) {
  return leftmostX(buttonFace(false), kButtonY[k], 600);
}
// In the idle lobby the label covers the middle of the button: compare the face left of it.
bool idleButtonFace(int k, bool hovered) {
  return pictureAt(buttonFace(hovered), 724, kButtonY[k], 80, buttonFace(hovered).height);
}
// Where the exit box stands (keyed, black left out); -1 when not drawn.
int exitBoxX() {
  for (int x = 0; x < kScreenWidth; ++x) {
    if (keyedPictureAt(g_exitBoxPicture, x, 339, kBlack)) return x;
  }
  return -1;
}
int lobbyPanelY() {
  for (int y = -676; y <= 100; ++y) {
    if (pictureAt(g_themeFramePanels[0], 60, y)) return y;
  }
  return -1;
}
// Beyond 1004 too little shows for the search: -1.
int onScreen(int x) {
  return x > 1004 ? -1 : x;
}

// One thing that moves in a slide, where it shows, and where it should in frame f (from 1).
struct Track {
  std::string what;
  std::function<int()> shown;
  std::function<int(int)> expected;
};
struct Slide {
  const char* name;
  std::function<void(Harness&)> setUp, open;  // open draws frame 1
  int frames;
  std::function<Screen(int)> screenIn;
  std::vector<SoundCall> sounds;  // from the open to the last frame
  std::vector<Track> tracks;
};

std::vector<Track> menuItemsIn() {
  std::vector<Track> tracks;
  for (int k = 0; k < 5; ++k) {
    // Not drawn until frame 1 + 9k, then from 994 in steps of 30 to 664 for one frame, then 680.
    tracks.push_back({"item " + std::to_string(k), [k] { return menuItemX(k); }, [k](int f) {
                        const int d = f - 1 - 9 * k;
                        return d < 0 ? -1 : d <= 11 ? 994 - 30 * d : 680;
                      }});
  }
  return tracks;
}
std::vector<Track> lobbyIn() {
  std::vector<Track> tracks = {{"panel", lobbyPanelY, [](int f) {
                                  return f <= 24 ? -676 + 30 * f : 40;  // at 44 once
                                }}};
  for (int k = 0; k < 5; ++k) {
    // Buttons 2 to 5 step once past their place to 694.
    tracks.push_back({"button " + std::to_string(k), [k] { return buttonX(k); }, [k](int f) {
                        const int d = f - 1 - 9 * k;
                        return d < 0 ? -1 : d <= (k == 0 ? 9 : 10) ? 994 - 30 * d : 724;
                      }});
  }
  return tracks;
}
std::vector<Track> exitBoxIn() {
  std::vector<Track> tracks = {
      {"box", exitBoxX, [](int f) { return f <= 20 ? 20 * f : 387; }}};
  for (int k = 0; k < 5; ++k) {
    // Bottom first; each item follows once the one below it stood beyond 750.
    tracks.push_back({"item " + std::to_string(k), [k] { return menuItemX(k); }, [k](int f) {
                        const int moved = f - 5 * (4 - k);
                        return moved < 1 ? 680 : onScreen(664 + 20 * moved);
                      }});
  }
  return tracks;
}
std::vector<Track> lobbyOut() {
  std::vector<Track> tracks;
  for (int k = 0; k < 5; ++k) {
    // Bottom first, each once the one below is beyond 1000; buttons 2 to 5 from 694.
    tracks.push_back({"button " + std::to_string(k), [k] { return buttonX(k); }, [k](int f) {
                        const int moved = f - 10 * (4 - k);
                        if (moved < 1) return 724;
                        return onScreen((k == 0 ? 724 : 694) + 30 * moved);
                      }});
  }
  return tracks;
}

const Slide kSlides[] = {
    {"MenuIn", [](Harness& h) { ASSERT_TRUE(h.start()); }, [](Harness& h) { h.pass(); }, 60,
     [](int) { return Screen::MainMenu; }, {}, menuItemsIn()},
    {"LobbyIn", [](Harness& h) { ASSERT_TRUE(h.startAtRestingMenu()); },
     [](Harness& h) { h.openLobby(); }, 48,
     [](int f) { return f < 48 ? Screen::LobbyArriving : Screen::Lobby; },
     {kHover, kClick, kLobbyMusic}, lobbyIn()},
    {"ExitBoxIn", [](Harness& h) { ASSERT_TRUE(h.startAtRestingMenu()); },
     [](Harness& h) { h.key(kKeyEscape); }, 40, [](int) { return Screen::ExitBox; }, {},
     exitBoxIn()},
    {"LobbyOut",
     [](Harness& h) {
       ASSERT_TRUE(h.startAtRestingMenu());
       ASSERT_TRUE(h.openIdleLobby());
       h.move(10, 10);
     },
     [](Harness& h) { h.key(kKeyEscape); }, 50,
     [](int f) { return f < 50 ? Screen::LobbyLeaving : Screen::MainMenu; }, {kMenuMusic},
     lobbyOut()},
};

void PrintTo(const Slide& slide, std::ostream* out) {
  *out << slide.name;
}
class Slides : public ::testing::TestWithParam<Slide> {};

TEST_P(Slides, EveryFrameShowsEachPartWhereItsStepsPutIt) {
  const Slide& slide = GetParam();
  Harness h;
  ASSERT_NO_FATAL_FAILURE(slide.setUp(h));
  const std::size_t sounds = h.host.sounds.size();
  int wrong = 0;
  for (int frame = 1; frame <= slide.frames; ++frame) {
    frame == 1 ? slide.open(h) : h.pass();
    EXPECT_TRUE(screenIs(slide.screenIn(frame))) << "frame " << frame;
    for (const Track& track : slide.tracks) {
      const int shown = track.shown(), expected = track.expected(frame);
      if (shown != expected && wrong++ < 10) {
        ADD_FAILURE() << track.what << " at " << shown << " instead of " << expected
                      << " in frame " << frame;
      }
    }
  }
  EXPECT_EQ(soundsSince(h.host, sounds), slide.sounds);
}

INSTANTIATE_TEST_SUITE_P(, Slides, ::testing::ValuesIn(kSlides),
                         [](const auto& info) { return std::string(info.param.name); });

// Which of a screen's zones shows lit, -1 for none.
struct Zones {
  const char* name;
  std::function<void(Harness&)> open;
  std::function<int()> lit;
  std::vector<std::array<int, 3>> probes;  // x, y, the zone lit there
};

int litMenuItem() {
  for (int k = 0; k < 5; ++k) {
    if (menuItemX(k, true) == 680) return k;
  }
  return -1;
}
int litLobbyButton() {
  for (int k = 0; k < 5; ++k) {
    if (idleButtonFace(k, true)) return k;
  }
  return -1;
}
int litExitButton() {
  const bool yes = pictureAt(g_exitYesPicture, 401, 390), no = pictureAt(g_exitNoPicture, 482, 390);
  return yes && no ? 99 : yes ? 0 : no ? 1 : -1;
}
constexpr int kRowY[6] = {240, 290, 343, 396, 449, 499};
// 0..5 for a row of the load-game list, 6 for its Back button.
int litSlot() {
  int found = -1;
  for (int row = 0; row < 6; ++row) {
    if (pictureAt(g_slotRowPicture, 390, kRowY[row])) found = found < 0 ? row : 99;
  }
  if (pictureAt(g_slotBackPicture, 474, 549)) found = found < 0 ? 6 : 99;
  return found;
}

const Zones kZones[] = {
    {"MainMenu", [](Harness& h) { ASSERT_TRUE(h.startAtRestingMenu()); }, litMenuItem,
     {{680, 220, -1}, {681, 220, 0}, {942, 220, 0}, {943, 220, -1}, {800, 200, -1}, {800, 201, 0},
      {800, 250, 0}, {800, 251, -1}, {800, 521, 4}, {800, 570, 4}, {800, 571, -1}}},
    {"Lobby",
     [](Harness& h) {
       ASSERT_TRUE(h.startAtRestingMenu());
       ASSERT_TRUE(h.openIdleLobby());
     },
     litLobbyButton,
     {{800, 98, -1}, {800, 99, 0}, {800, 147, 0}, {800, 148, -1}, {724, 120, -1}, {725, 120, 0},
      {963, 120, 0}, {964, 120, -1}, {800, 167, 1}, {800, 150, -1}, {800, 431, 4}, {800, 432, -1}}},
    {"ExitBox",
     [](Harness& h) {
       ASSERT_TRUE(h.startAtRestingMenu());
       h.key(kKeyEscape);
       h.passes(25);
     },
     litExitButton,
     {{402, 391, 0}, {401, 400, -1}, {477, 415, 0}, {478, 400, -1}, {483, 400, 1}, {558, 391, 1},
      {558, 415, 1}, {559, 400, -1}, {500, 390, -1}, {500, 416, -1}}},
    {"LoadGame",
     [](Harness& h) {
       ASSERT_TRUE(h.startAtRestingMenu());
       h.clickAt(800, 305);
     },
     litSlot,
     {{391, 241, 0}, {390, 241, -1}, {391, 240, -1}, {630, 267, 0}, {631, 250, -1},
      {500, 268, -1}, {500, 291, 1}, {500, 344, 2}, {500, 397, 3}, {500, 450, 4},
      {500, 526, 5}, {500, 527, -1}, {475, 550, 6}, {556, 573, 6},
      {474, 560, -1}, {520, 549, -1}, {557, 560, -1}, {520, 574, -1}}},
};

void PrintTo(const Zones& zones, std::ostream* out) {
  *out << zones.name;
}
class HotZones : public ::testing::TestWithParam<Zones> {};

TEST_P(HotZones, LightExactlyWithinTheirBounds) {
  Harness h;
  ASSERT_NO_FATAL_FAILURE(GetParam().open(h));
  const Screen screen = autoplay::screen();
  for (const auto& [x, y, lit] : GetParam().probes) {
    h.move(x, y);
    EXPECT_EQ(GetParam().lit(), lit) << "at " << x << "," << y;
    if (lit < 0) h.click();  // a click off every zone changes nothing
    ASSERT_TRUE(screenIs(screen));
  }
}

INSTANTIATE_TEST_SUITE_P(, HotZones, ::testing::ValuesIn(kZones),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RestingMenuTest, MenuHoverSoundsOncePerEntryAndClicksLeaveWithTheBlockingClick) {
  h.move(700, 380);  // item 2
  h.move(900, 400);
  EXPECT_TRUE(keyedPictureAt(g_menuMarkerPicture, 565, 330, kWhite));
  h.move(700, 331);  // the gap: every highlight off, the marker stays
  EXPECT_TRUE(keyedPictureAt(g_menuMarkerPicture, 565, 330, kWhite));
  h.move(700, 361);
  EXPECT_EQ(countSound(h.host, kHover), 2);
  const Screen leadsTo[] = {Screen::LobbyArriving, Screen::LoadGame, Screen::Settings,
                            Screen::About, Screen::ExitBox};
  for (int item = 0; item < 5; ++item) {
    Harness each;
    ASSERT_TRUE(each.start());
    each.passes(3);  // the zones act while the items still slide in
    const std::size_t before = each.host.sounds.size();
    each.host.pushMove(800, 225 + 80 * item);
    each.host.pushLeftDown(10, 10);  // the click's own position is not used
    each.passes(2);
    std::vector<SoundCall> sounds = {kHover, kClick};
    if (item == 3) sounds.push_back(kAboutMusic);
    EXPECT_EQ(soundsSince(each.host, before), sounds) << item;
    EXPECT_TRUE(screenIs(leadsTo[item])) << item;
  }
}

TEST_F(RestingMenuTest, LobbyDropsInputWhileSlidingAndItsStartButtonOpensTheFirstLevel) {
  ASSERT_TRUE(h.openLobby());
  h.clickAt(800, 330);
  h.key(kKeyEscape);
  h.passes(45);
  ASSERT_TRUE(screenIs(Screen::Lobby));
  h.pass();
  EXPECT_TRUE(pictureAt(g_themeTitlePictures[0], 99, 147));
  for (int k = 0; k < 5; ++k) {
    EXPECT_TRUE(keyedPictureAt(g_themeButtonLabels[k][0], 804, kButtonY[k] + 7, kBlack)) << k;
  }
  // Level 1 and score 0, then the good-luck line: four wide characters and "!".
  EXPECT_GT(countColour(kTextColour, 811, 515, 819, 531), 0);
  EXPECT_EQ(countColour(kTextColour, 819, 515, 900, 531), 0);
  EXPECT_GT(countColour(kTextColour, 867, 665, 883, 681), 0);
  const std::size_t sounds = h.host.sounds.size();
  for (int y : {190, 260, 98}) h.clickAt(800, y);  // save, options, the start band's edge
  EXPECT_TRUE(screenIs(Screen::Lobby));
  EXPECT_EQ(h.host.sounds.size(), sounds);
  h.pressStart();
  EXPECT_TRUE(screenIs(Screen::LevelIntro));
  EXPECT_EQ(h.host.sounds[sounds], kClick);
}

TEST_F(RestingMenuTest, ExitBoxButtonsSoundOncePerEntryAndNoBringsTheMenuBack) {
  h.key(kKeyEscape);
  h.passes(25);
  const std::size_t start = h.host.sounds.size();
  h.move(440, 400);
  h.move(450, 410);
  h.move(500, 400);  // straight onto No
  EXPECT_EQ(litExitButton(), 1);
  h.move(480, 400);  // between them: both flags cleared
  h.move(500, 400);
  EXPECT_EQ(countSound(h.host, kHover, start), 3);
  h.click();
  EXPECT_TRUE(screenIs(Screen::MainMenu));
  EXPECT_EQ(menuItemX(0), 994);
  EXPECT_EQ(h.host.sounds.size(), start + 3) << "no sound for the click, no music";
}

// From the menu at rest the shutdown runs at the end of the 25th frame of the slide.
TEST_F(RestingMenuTest, YesSlidesTheMenuOutThenWritesTheFilesAndQuitsWithZero) {
  h.move(440, 400);   // where Yes will be
  h.key(kKeyEscape);  // one frame of the box
  h.click();          // frame 1 of the shutdown slide: the box is gone at once
  EXPECT_TRUE(screenIs(Screen::Quitting));
  EXPECT_EQ(exitBoxX(), -1);
  EXPECT_EQ(menuItemX(4), 714);
  h.key(kKeyEscape);  // keys and clicks change nothing now
  h.click();
  h.passes(21);  // frame 24: item 0 at the right edge, not yet beyond it
  EXPECT_FALSE(h.workFileExists("mg.tol.tmp"));
  const std::string before = h.readWorkFile("lhb.lhb");
  EXPECT_TRUE(before.empty());
  const std::size_t sounds = h.host.sounds.size();
  h.pass();  // frame 25: presented, then the files, the sound stop and the quit
  EXPECT_EQ(h.readWorkFile("lhb.lhb").size(), 6 * 14u);
  EXPECT_EQ(h.readWorkFile("mg.tol"), "0");
  EXPECT_EQ(soundsSince(h.host, sounds), std::vector<SoundCall>{kStopAll});
  EXPECT_EQ(h.runUntilQuit(1), 0);
}

TEST_F(RestingMenuTest, LoadGameAndSettingsStandOverTheFrozenMenuUntilBackOrEsc) {
  h.move(800, 305);
  const Picture menu = g_backBuffer;
  const std::size_t sounds = h.host.sounds.size();
  h.click();
  h.passes(5);
  // The panel keyed over the frozen menu, which shows around it and through its black.
  Picture expected = menu;
  copyKeyed(expected, g_slotPanelPicture, 360, 182, kBlack);
  EXPECT_TRUE(sameAsBackground(expected, 0, 0, 1024, 768));
  EXPECT_FALSE(sameAsBackground(menu, 360, 182, 665, 587));
  for (int frame = 1; frame <= 100; ++frame) {  // the menu's bug stands still behind the list
    h.pass();
    ASSERT_TRUE(sameAsBackground(menu, 0, 0, 360, 768)) << frame;
  }
  h.clickAt(500, 560);  // Back
  EXPECT_TRUE(screenIs(Screen::MainMenu));
  h.passes(47);
  h.clickAt(800, 385);
  ASSERT_TRUE(screenIs(Screen::Settings));
  h.host.pushKey(kKeyEnter);
  h.host.pushLeftDown();
  h.passes(4);
  // The notice, from (300, 400) in one line of 16 pixels, over the frozen menu.
  EXPECT_GT(countColour(kTextColour, 300, 400, 316, 416), 0);
  EXPECT_EQ(countColour(kTextColour, 0, 0, 1024, 400), 0);
  EXPECT_EQ(countColour(kTextColour, 564, 400, 1024, 416), 0);
  h.key(kKeyEscape);
  EXPECT_TRUE(screenIs(Screen::MainMenu));
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick, kHover, kClick}));
}

struct CardPlace {
  int x, y, width, height;
};
constexpr CardPlace kCards[6] = {{262, 259, 500, 250}, {112, 84, 800, 600},  {312, 259, 400, 250},
                                 {312, 259, 400, 250}, {312, 259, 400, 250}, {212, 259, 600, 250}};

// The card shows from screen column `from` rightwards, black left of it and all around it;
// rows firstRow, firstRow + rowStep, ... are checked.
bool cardShownFrom(int card, int from, int rowStep = 1, int firstRow = 0) {
  const CardPlace& c = kCards[card];
  const Picture& picture = g_aboutCardPictures[card];
  if (picture.empty()) return false;
  const int shownLeft = std::clamp(from, c.x, c.x + c.width);
  for (int y = firstRow; y < kScreenHeight; y += rowStep) {
    const bool onCard = y >= c.y && y < c.y + c.height;
    const int left = onCard ? shownLeft : kScreenWidth, right = onCard ? c.x + c.width : left;
    if (!allColour(kBlack, 0, y, left, y + 1) ||
        !rowShown(picture, y - c.y, left - c.x, right - c.x, c.x, y) ||
        !allColour(kBlack, right, y, kScreenWidth, y + 1)) {
      return false;
    }
  }
  return true;
}

// The curtain in frame n (1 to 770) of a card: withdrawing 4 a frame, open in frame 257, then
// returning 2 a frame until it covers the card again. Clicks change nothing.
TEST_F(RestingMenuTest, AboutShowsSixCardsOf770FramesBehindTheCurtainThenTheMenu) {
  h.move(800, 465);
  const std::size_t sounds = h.host.sounds.size();
  h.click();
  int wrongFrames = 0, firstWrong = 0;
  for (int frame = 1; frame <= 4620; ++frame) {
    if (frame > 1) {
      if (frame % 500 == 0) h.host.pushLeftDown();
      h.pass();
    }
    const int card = (frame - 1) / 770, n = frame - 770 * card;
    const int curtain = n <= 256 ? 1024 - 4 * n : std::min(2 * (n - 257), 1024);
    // A third of the rows each frame; all of them where the curtain turns and in the last frame.
    const bool whole = n == 257 || n == 770;
    const Screen screen = frame < 4620 ? Screen::About : Screen::MainMenu;
    if (!cardShownFrom(card, curtain, whole ? 1 : 3, whole ? 0 : frame % 3) ||
        autoplay::screen() != screen) {
      if (wrongFrames++ == 0) firstWrong = frame;
    }
  }
  EXPECT_EQ(wrongFrames, 0) << "the first in frame " << firstWrong;
  EXPECT_EQ(soundsSince(h.host, sounds), (std::vector<SoundCall>{kClick, kAboutMusic, kMenuMusic}));
}

}  // namespace
}  // namespace tolvaro::testing
