#include "screens/Lobby.h"

#include <algorithm>

#include "assets/Catalogue.h"
#include "assets/Sounds.h"
#include "base/Rect.h"
#include "frame/Frame.h"
#include "screens/InfoBoxes.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

constexpr int kSlideStep = 30;
// A button below this x lets the next one start sliding in.
constexpr int kNextButtonThreshold = 750;
// On the way out a button follows once the one below it is beyond this x.
constexpr int kButtonBelowGoneX = 1000;
// Hot bands: 724 < x < 964 beside each button's rows.
constexpr Rect buttonHotZone(int button) {
  return {724, kLobbyButtonY[button], 964, kLobbyButtonY[button] + kLobbyButtonHeight,
          Edges::Exclusive};
}
// The five button labels of the three themes share one block.
constexpr BitmapSize kLabelSize = commonThemeBitmapSize(
    [](const ThemeBitmaps& theme) -> const auto& { return theme.buttonLabels; });
constexpr int kLabelWidth = kLabelSize.width;
constexpr int kLabelHeight = kLabelSize.height;
// The block of the 528x305 titles of themes 1 and 2; theme 0's 504x287 title fits inside it and
// is copied whole.
constexpr int kTitleWidth = 528;
constexpr int kTitleHeight = 305;
// "祝君好运!" (good luck!)
constexpr char kGoodLuck[] = "\xD7\xA3\xBE\xFD\xBA\xC3\xD4\xCB!";

enum LobbyButton { kStartButton = 0, kSaveButton, kOptionsButton, kExitButton, kOtherButton };

int buttonUnderMouse() {
  for (int button = 0; button < kLobbyButtonCount; ++button) {
    if (buttonHotZone(button).contains(g_mouseX, g_mouseY)) return button;
  }
  return -1;
}

void drawBackground() {
  copyOpaque(g_backBuffer, g_themeBackgrounds[g_theme], 0, 0, kScreenWidth, kScreenHeight);
}

void drawPanel() {
  copyOpaque(g_backBuffer, g_themeFramePanels[g_theme], kLobbyPanelX, g_lobbyPanelY,
             kLobbyPanelWidth, kLobbyPanelHeight);
}

void drawButton(int button, int x) {
  const Picture& face = g_lobbyButtonPictures[(g_lobbyHover[button] ? 1 : 0) + 2 * g_theme];
  copyOpaque(g_backBuffer, face, x, kLobbyButtonY[button], kLobbyButtonWidth, kLobbyButtonHeight);
}

// The slide-out is over: everything is back off the screen for the next slide-in.
void finishSlideOut() {
  for (std::int32_t& x : g_lobbyButtonX) x = kLobbyButtonStartX;
  g_lobbyPanelY = kLobbyPanelStartY;
  if (g_themeChangeRequested) {
    g_themeChangeRequested = 0;
    g_theme = (g_theme + 1) % kThemeCount;
    g_gameState = STATE_LOBBY;
  } else if (g_newRecordPending) {
    g_newRecordPending = 0;
    g_gameState = STATE_PLAY;
    g_phase = PHASE_RECORDS;
  } else {
    playSound(kMenuMusicWave, SoundMode::Loop);
    g_gameState = STATE_MAIN_MENU;
  }
}

}  // namespace

void lobbySlideInFrame() {
  drawBackground();
  if (g_lobbyPanelY < kLobbyPanelRestY) {
    g_lobbyPanelY += kSlideStep;
  } else {
    g_lobbyPanelY = kLobbyPanelRestY;
  }
  drawPanel();

  if (g_lobbyButtonX[0] > kLobbyButtonRestX) {
    g_lobbyButtonX[0] -= kSlideStep;
    drawButton(0, g_lobbyButtonX[0]);
  } else {
    drawButton(0, kLobbyButtonRestX);
  }
  // Buttons 2 to 5 test "724 or more", so each steps once past its place to 694 and is drawn
  // at 724 from then on while its stored x stays 694.
  for (int button = 1; button < kLobbyButtonCount; ++button) {
    if (g_lobbyButtonX[button - 1] >= kNextButtonThreshold) break;
    if (g_lobbyButtonX[button] >= kLobbyButtonRestX) {
      g_lobbyButtonX[button] -= kSlideStep;
      drawButton(button, g_lobbyButtonX[button]);
    } else {
      drawButton(button, kLobbyButtonRestX);
      if (button == kLobbyButtonCount - 1) {
        playSound(kLobbyMusicWave, SoundMode::Loop);
        g_gameState = STATE_PLAY;
      }
    }
  }
  presentAndSleep();
}

void lobbyIdleFrame() {
  const int hovered = buttonUnderMouse();
  if (hovered < 0) {
    std::fill(std::begin(g_lobbyHover), std::end(g_lobbyHover), 0);
  } else {
    g_lobbyHover[hovered] = 1;  // the others keep their flags until the mouse is over no band
  }
  // The background and the panel stay as the last frame left them.
  copyOpaque(g_backBuffer, g_themeTitlePictures[g_theme], kLobbyTitleX, kLobbyTitleY, kTitleWidth,
             kTitleHeight);
  for (int button = 0; button < kLobbyButtonCount; ++button) {
    drawButton(button, kLobbyButtonRestX);
  }
  for (int button = 0; button < kLobbyButtonCount; ++button) {
    copyKeyed(g_backBuffer, g_themeButtonLabels[button][g_theme],
              kLobbyButtonRestX + kLobbyLabelOffsetX, kLobbyButtonY[button] + kLobbyLabelOffsetY,
              kLabelWidth, kLabelHeight, kBlack);
  }
  drawInfoBoxes();
  drawLevelAndScore();
  drawText(kInfoTextX, kInfoTextY[2], {kGoodLuck, sizeof(kGoodLuck) - 1});
  presentAndSleep();
}

void lobbyIdleClick() {
  switch (buttonUnderMouse()) {
    case kStartButton:
      g_phase = PHASE_LEVEL_INTRO;
      playSound(kClickWave, SoundMode::Blocking);
      break;
    case kExitButton:
      g_gameState = STATE_LOBBY_LEAVE;
      break;
    case kOtherButton:
      g_themeChangeRequested = 1;
      g_gameState = STATE_LOBBY_LEAVE;
      break;
    default:
      break;  // save and options are not built; outside the bands nothing happens
  }
}

void lobbySlideOutFrame() {
  drawBackground();
  if (g_lobbyPanelY > kLobbyPanelStartY) g_lobbyPanelY -= kSlideStep;
  drawPanel();

  constexpr int kLast = kLobbyButtonCount - 1;
  if (g_lobbyButtonX[kLast] < kLobbyButtonStartX) {
    g_lobbyButtonX[kLast] += kSlideStep;
    drawButton(kLast, g_lobbyButtonX[kLast]);
  }
  for (int button = kLast - 1; button >= 0; --button) {
    if (g_lobbyButtonX[button + 1] > kButtonBelowGoneX) {
      g_lobbyButtonX[button] = std::min(g_lobbyButtonX[button] + kSlideStep, kLobbyButtonParkedX);
      drawButton(button, g_lobbyButtonX[button]);
    } else {
      drawButton(button, kLobbyButtonRestX);
    }
  }
  presentBackBuffer();
  if (g_lobbyButtonX[0] >= kLobbyButtonStartX) finishSlideOut();
  sleepOnly();
}

void resetLobbyState() {
  g_lobbyPanelY = kLobbyPanelStartY;
  std::fill(std::begin(g_lobbyButtonX), std::end(g_lobbyButtonX), kLobbyButtonStartX);
  std::fill(std::begin(g_lobbyHover), std::end(g_lobbyHover), 0);
  g_themeChangeRequested = 0;
}

}  // namespace tolvaro
