#include "screens/ExitConfirm.h"

#include <algorithm>

#include "assets/Catalogue.h"
#include "assets/Sounds.h"
#include "base/Rect.h"
#include "frame/Frame.h"
#include "records/RecordFiles.h"
#include "screens/About.h"
#include "screens/MainMenu.h"
#include "state/GameState.h"

namespace tolvaro {
namespace {

constexpr int kExitBoxStep = 20;
constexpr int kQuitStep = 30;
// Item k leaves only once the item below it stood beyond this x at the end of the last frame.
constexpr int kItemBelowGoneX = 750;
constexpr Rect kYesZone = {402, 391, 477, 415, Edges::Inclusive};
constexpr Rect kNoZone = {483, 391, 558, 415, Edges::Inclusive};

enum class ExitButton { None, Yes, No };

ExitButton buttonUnderMouse() {
  if (kYesZone.contains(g_mouseX, g_mouseY)) return ExitButton::Yes;
  if (kNoZone.contains(g_mouseX, g_mouseY)) return ExitButton::No;
  return ExitButton::None;
}

// Items 0..3 follow the item below them out; the test reads that item's x from the last frame,
// since it has not stepped yet in this one.
void slideItemsOut(int step) {
  for (int item = 0; item < kMenuItemCount - 1; ++item) {
    if (g_menuItemX[item + 1] <= kItemBelowGoneX) {
      drawMenuItem(item, kMenuItemRestX);
    } else {
      g_menuItemX[item] = std::min(g_menuItemX[item] + step, kMenuItemParkedX);
      drawMenuItem(item, g_menuItemX[item]);
    }
  }
  constexpr int kLast = kMenuItemCount - 1;
  if (g_menuItemX[kLast] < kMenuItemStartX) {
    g_menuItemX[kLast] += step;
    drawMenuItem(kLast, g_menuItemX[kLast]);
  }
}

void drawMenuBackground() {
  putBackground(g_menuBackground, 0, 0, kScreenWidth, kScreenHeight);
}

void drawExitBox() {
  int x = kExitBoxRestX;
  if (g_exitBoxX < kExitBoxRestX) {
    g_exitBoxX += kExitBoxStep;
    x = g_exitBoxX;
  }
  copyKeyed(g_backBuffer, g_exitBoxPicture, x, kExitBoxY, kExitBoxWidth, kExitBoxHeight, kBlack);
}

void highlightButton(std::int32_t& sounded, const Picture& picture, int x) {
  if (!sounded) {
    sounded = 1;
    playSound(kHoverWave, SoundMode::OneShot);
  }
  copyOpaque(g_backBuffer, picture, x, kExitHighlightY, kExitButtonWidth, kExitButtonHeight);
}

// Writes the records, silences the program and ends it the way the window's destruction does.
void shutDown() {
  saveRecordFiles();
  stopAllSound();
  deleteBlackBrush();
  g_platform->postQuit(0);
}

}  // namespace

void exitConfirmFrame() {
  drawMenuBackground();
  slideItemsOut(kExitBoxStep);
  stepMenuBugAnimation();
  drawExitBox();
  switch (buttonUnderMouse()) {
    case ExitButton::Yes:
      highlightButton(g_exitYesSounded, g_exitYesPicture, kExitYesHighlightX);
      break;
    case ExitButton::No:
      highlightButton(g_exitNoSounded, g_exitNoPicture, kExitNoHighlightX);
      break;
    case ExitButton::None:
      g_exitYesSounded = 0;
      g_exitNoSounded = 0;
      break;
  }
  presentAndSleep();
}

void exitConfirmClick() {
  switch (buttonUnderMouse()) {
    case ExitButton::Yes:
      g_gameState = STATE_QUIT;
      break;
    case ExitButton::No:
      for (int item = 0; item < kMenuItemCount; ++item) g_menuItemX[item] = kMenuItemStartX;
      g_exitBoxX = 0;
      g_gameState = STATE_MAIN_MENU;
      break;
    case ExitButton::None:
      g_exitYesSounded = 0;
      g_exitNoSounded = 0;
      break;
  }
}

void quitFrame() {
  drawMenuBackground();
  slideItemsOut(kQuitStep);
  stepMenuBugAnimation();
  presentBackBuffer();
  // The top item is the last to leave; once it is past the right edge the program ends.
  if (g_menuItemX[0] > kMenuItemStartX) shutDown();
  sleepOnly();
}

void resetExitConfirmState() {
  g_exitBoxX = 0;
  g_exitYesSounded = 0;
  g_exitNoSounded = 0;
}

}  // namespace tolvaro
