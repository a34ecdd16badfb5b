#include "screens/MainMenu.h"

#include <algorithm>
#include <array>

#include "assets/Catalogue.h"
#include "assets/Sounds.h"
#include "base/Rect.h"
#include "frame/Frame.h"
#include "state/GameState.h"

namespace tolvaro {
namespace {

constexpr int kSlideStep = 30;
// An item below this x lets the next item start sliding in.
constexpr int kNextItemThreshold = 750;
// Hot zones: 681..942 in x; in y, from one below the item's top to its bottom row.
constexpr Rect itemHotZone(int item) {
  return {681, menuItemY(item) + 1, 942, menuItemY(item) + kMenuItemHeight - 1, Edges::Inclusive};
}
constexpr int kBugFrameWrap = 50;

// The item whose hot zone holds the last mouse position, or -1.
int hoveredItem() {
  for (int item = 0; item < kMenuItemCount; ++item) {
    if (itemHotZone(item).contains(g_mouseX, g_mouseY)) return item;
  }
  return -1;
}

void updateHover() {
  const int item = hoveredItem();
  if (item < 0) {
    for (int k = 0; k < kMenuItemCount; ++k) {
      g_menuHover[k] = 0;
      g_menuHoverSounded[k] = 0;
    }
    return;  // the marker stays beside the last item hovered
  }
  if (!g_menuHoverSounded[item]) {
    g_menuHoverSounded[item] = 1;
    playSound(kHoverWave, SoundMode::OneShot);
  }
  g_menuHover[item] = 1;
  g_menuMarkerX = kMenuMarkerX;
  g_menuMarkerY = menuItemY(item) - kMenuMarkerAboveItem;
}

// One slide-in step: the stored x steps past 680 to 664 once, and is drawn at 680 after that.
void slideItemIn(int item) {
  if (g_menuItemX[item] > kMenuItemRestX) {
    g_menuItemX[item] -= kSlideStep;
    drawMenuItem(item, g_menuItemX[item]);
  } else {
    drawMenuItem(item, kMenuItemRestX);
  }
}

void leaveMenu(std::uint32_t state, int item) {
  g_gameState = state;
  for (int k = 0; k < kMenuItemCount; ++k) g_menuItemX[k] = kMenuItemStartX;
  g_menuHover[item] = 0;
}

}  // namespace

void drawMenuItem(int item, int x) {
  copyOpaque(g_backBuffer, g_menuItemPictures[item][g_menuHover[item] ? 1 : 0], x, menuItemY(item),
             kMenuItemWidth, kMenuItemHeight);
}

void stepMenuBugAnimation() {
  if (g_menuBugFrame == kBugFrameWrap) g_menuBugFrame = 1;
  copyOpaque(g_backBuffer, g_menuBugFrames[g_menuBugFrame], kMenuBugX, kMenuBugY,
             kMenuBugFrameWidth, kMenuBugFrameHeight);
  ++g_menuBugFrame;
}

void mainMenuFrame() {
  updateHover();
  // At rest every item is copied where it stands after the background: its place need not get
  // the background back first.
  std::array<PixelRect, kMenuItemCount> items{};
  const bool resting = std::all_of(std::begin(g_menuItemX), std::end(g_menuItemX),
                                   [](std::int32_t x) { return x <= kMenuItemRestX; });
  for (int item = 0; resting && item < kMenuItemCount; ++item) {
    items[static_cast<std::size_t>(item)] =
        copiedArea(g_backBuffer, g_menuItemPictures[item][g_menuHover[item] ? 1 : 0],
                   kMenuItemRestX, menuItemY(item), kMenuItemWidth, kMenuItemHeight);
  }
  putBackground(g_menuBackground, 0, 0, kScreenWidth, kScreenHeight,
                resting ? std::span<const PixelRect>(items) : std::span<const PixelRect>());
  copyKeyed(g_backBuffer, g_menuMarkerPicture, g_menuMarkerX, g_menuMarkerY, kMenuMarkerWidth,
            kMenuMarkerHeight, kWhite);
  slideItemIn(0);
  for (int item = 1; item < kMenuItemCount; ++item) {
    if (g_menuItemX[item - 1] < kNextItemThreshold) slideItemIn(item);
  }
  stepMenuBugAnimation();
  presentAndSleep();
}

void mainMenuClick() {
  const int item = hoveredItem();
  if (item < 0) return;
  // The click sound holds the program for its length while the menu stays on the screen.
  playSound(kClickWave, SoundMode::Blocking);
  switch (item) {
    case 0:
      leaveMenu(STATE_LOBBY, item);
      break;
    case 1:
      leaveMenu(STATE_LOAD_GAME, item);
      break;
    case 2:
      leaveMenu(STATE_SETTINGS, item);
      break;
    case 3:
      leaveMenu(STATE_ABOUT, item);
      playSound(kAboutMusicWave, SoundMode::Loop);
      break;
    default:
      // The exit box slides the items out from where they stand.
      g_gameState = STATE_EXIT_CONFIRM;
      g_menuHover[item] = 0;
      break;
  }
}

void resetMainMenuState() {
  for (int k = 0; k < kMenuItemCount; ++k) {
    g_menuItemX[k] = kMenuItemStartX;
    g_menuHover[k] = 0;
    g_menuHoverSounded[k] = 0;
  }
  g_menuMarkerX = kMenuMarkerX;
  g_menuMarkerY = menuItemY(0) - kMenuMarkerAboveItem;
  g_menuBugFrame = 1;
}

}  // namespace tolvaro
