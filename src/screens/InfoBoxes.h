// The three info boxes at the right of the lobby and the game screens, with their labels in the
// current theme; the screen that shows them draws the texts in them.
#pragma once

namespace tolvaro {

constexpr int kInfoTextX = 811;
// The text lines of the three boxes: the level, the score, and the line below them.
constexpr int kInfoTextY[3] = {515, 590, 665};

void drawInfoBoxes();
// The level and the score in the first two boxes.
void drawLevelAndScore();

}  // namespace tolvaro
