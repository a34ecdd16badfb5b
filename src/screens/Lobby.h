// The game lobby in its three colour themes: slide-in, idle panel, slide-out.
#pragma once

#include <array>
#include <cstdint>

#include "assets/BitmapCatalogue.h"
#include "assets/Layout.h"

namespace tolvaro {

constexpr int kLobbyPanelStartY = -676;  // wholly above the screen
// The three themes' frame panels share one block.
constexpr BitmapSize kLobbyPanelSize =
    commonThemeBitmapSize([](const ThemeBitmaps& theme) { return std::array{theme.framePanel}; });
constexpr int kLobbyPanelWidth = kLobbyPanelSize.width;
constexpr int kLobbyPanelHeight = kLobbyPanelSize.height;
constexpr int kLobbyButtonStartX = 1024;
// Normal and hovered buttons of the three themes share one block.
constexpr BitmapSize kLobbyButtonSize = commonThemeBitmapSize(
    [](const ThemeBitmaps& theme) { return std::array{theme.button, theme.buttonHovered}; });
constexpr int kLobbyButtonWidth = kLobbyButtonSize.width;
constexpr int kLobbyButtonHeight = kLobbyButtonSize.height;
// Buttons that have left the screen stop here instead of growing without end; anything at or
// beyond the right edge draws nothing.
constexpr int kLobbyButtonParkedX = 2048;

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

}  // namespace tolvaro
