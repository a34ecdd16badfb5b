// The three info boxes at the right of the lobby and the game screens, with their labels in the
// current theme; the screen that shows them draws the texts in them.
#pragma once

#include "assets/Layout.h"

namespace tolvaro {

void drawInfoBoxes();
// The level and the score in the first two boxes.
void drawLevelAndScore();

}  // namespace tolvaro
