// The game lobby in its three colour themes: slide-in, idle panel, slide-out.
#pragma once

#include <cstdint>

namespace tolvaro {

constexpr int kThemeCount = 3;
constexpr int kLobbyButtonCount = 5;
constexpr int kLobbyPanelX = 60;
constexpr int kLobbyPanelStartY = -676;  // wholly above the screen
constexpr int kLobbyPanelRestY = 40;
constexpr int kLobbyPanelWidth = 606;
constexpr int kLobbyPanelHeight = 676;
constexpr int kLobbyButtonStartX = 1024;
constexpr int kLobbyButtonRestX = 724;
constexpr int kLobbyButtonWidth = 240;
constexpr int kLobbyButtonHeight = 50;
constexpr int kLobbyButtonY[kLobbyButtonCount] = {98, 166, 236, 310, 382};
constexpr int kLobbyLabelOffsetX = 80;
constexpr int kLobbyLabelOffsetY = 7;
constexpr int kLobbyTitleX = 99;
constexpr int kLobbyTitleY = 147;
// Buttons that have left the screen stop here instead of growing without end; anything at or
// beyond the right edge draws nothing.
constexpr int kLobbyButtonParkedX = 2048;

// Colour theme 0 blue, 1 violet, 2 turquoise; selects a set of pictures from the theme table.
inline std::int32_t g_theme = 0;
// Set by the record table when a finished game entered it: the running slide-out ends at the
// records screen.
inline std::int32_t g_newRecordPending = 0;

// The lobby's state; resetLobbyState() gives the start values.
inline std::int32_t g_lobbyPanelY = 0;  // top of the frame panel, at x 60
inline std::int32_t g_lobbyButtonX[kLobbyButtonCount] = {};
inline std::int32_t g_lobbyHover[kLobbyButtonCount] = {};
// The running slide-out ends in a new slide-in with the next theme.
inline std::int32_t g_themeChangeRequested = 0;

void lobbySlideInFrame();
void lobbyIdleFrame();
void lobbyIdleClick();
void lobbySlideOutFrame();
void resetLobbyState();

// The three info boxes at the right of the screen with their labels, in the current theme
// (the texts in them are drawn by the screen that shows them).
void drawInfoBoxes();
constexpr int kInfoTextX = 811;

}  // namespace tolvaro
