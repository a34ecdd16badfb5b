#include "screens/About.h"

#include <algorithm>

#include "assets/BitmapCatalogue.h"
#include "assets/Catalogue.h"
#include "assets/Sounds.h"
#include "frame/Frame.h"
#include "state/GameState.h"

namespace tolvaro {
namespace {

constexpr int kCurtainOpen = 0;
constexpr int kCurtainClosed = kScreenWidth;
constexpr int kCurtainWithdrawStep = 4;
constexpr int kCurtainReturnStep = 2;

// Sizes of the card pictures in showing order: title, maker logo, three staff cards, dedication.
constexpr BitmapSize kCardPictureSizes[kAboutCardCount] = {
    bitmapSize(kAboutCardBitmaps[0]), bitmapSize(kAboutCardBitmaps[1]),
    bitmapSize(kAboutCardBitmaps[2]), bitmapSize(kAboutCardBitmaps[3]),
    bitmapSize(kAboutCardBitmaps[4]), bitmapSize(kAboutCardBitmaps[5])};

// Centred on the screen with halves truncated, the block one pixel larger than the picture.
constexpr AboutCard cardFor(BitmapSize size) {
  return {size.width + 1, size.height + 1, kScreenWidth / 2 - size.width / 2,
          kScreenHeight / 2 - size.height / 2, 1};
}

void fillWithBlackBrush(int left, int top, int right, int bottom) {
  if (g_blackBrush.live) fillRect(g_backBuffer, left, top, right, bottom, g_blackBrush.colour);
}

// Every way out of the slideshow leaves it at the first card under a closed curtain.
void rewindSlideshow() {
  g_aboutStep = 0;
  g_aboutCurtain = kCurtainClosed;
  for (AboutCard& card : g_aboutCards) card.revealing = 1;
}

void returnToMainMenu() {
  rewindSlideshow();
  playSound(kMenuMusicWave, SoundMode::Loop);
  g_gameState = STATE_MAIN_MENU;
}

void moveCurtain(AboutCard& card) {
  if (card.revealing) {
    if (g_aboutCurtain != kCurtainOpen) {
      g_aboutCurtain -= kCurtainWithdrawStep;
    } else {
      card.revealing = 0;
    }
    return;
  }
  if (g_aboutCurtain != kCurtainClosed) {
    g_aboutCurtain += kCurtainReturnStep;
    return;
  }
  card.revealing = 1;
  if (g_aboutStep < kAboutCardCount - 1) {
    ++g_aboutStep;
  } else {
    returnToMainMenu();
  }
}

}  // namespace

void aboutFrame() {
  if (g_blackBrush.live) fillBackground(g_blackBrush.colour);
  // The card drawn in this frame is also the one the curtain covers, even when the curtain
  // hands over to the next card.
  AboutCard& card = g_aboutCards[g_aboutStep];
  const Picture& picture = g_aboutCardPictures[g_aboutStep];
  moveCurtain(card);
  // The part of the card the curtain covers at once is not copied first.
  const int covered = g_blackBrush.live ? std::clamp(g_aboutCurtain - card.x, 0, card.width) : 0;
  copyOpaqueFrom(g_backBuffer, picture, covered, 0, card.x + covered, card.y,
                 card.width - covered, card.height);
  fillWithBlackBrush(card.x, card.y, g_aboutCurtain, card.y + card.height);
  presentAndSleep();
}

void aboutEscape() {
  returnToMainMenu();
}

void deleteBlackBrush() {
  g_blackBrush.live = false;
}

void resetAboutState() {
  for (int step = 0; step < kAboutCardCount; ++step) {
    g_aboutCards[step] = cardFor(kCardPictureSizes[step]);
  }
  g_aboutStep = 0;
  g_aboutCurtain = kCurtainClosed;
  g_blackBrush = {kBlack, true};
}

}  // namespace tolvaro
