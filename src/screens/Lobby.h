// The game lobby in its three colour themes: slide-in, idle panel, slide-out.
#pragma once

#include <cstdint>

namespace tolvaro {

// Colour theme 0 blue, 1 violet, 2 turquoise; selects a set of pictures from the theme table.
inline std::int32_t g_theme = 0;
// Set by the record table when a finished game entered it: the running slide-out ends at the
// records screen.
inline std::int32_t g_newRecordPending = 0;

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
