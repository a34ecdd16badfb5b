// The exit box over the sliding-out menu, and the shutdown slide that ends the program.
#pragma once

#include <cstdint>

#include "assets/BitmapCatalogue.h"
#include "assets/Layout.h"

namespace tolvaro {

constexpr int kExitBoxWidth = bitmapSize(kExitBoxBitmap).width;
constexpr int kExitBoxHeight = bitmapSize(kExitBoxBitmap).height;
// The yes and no highlights share one block.
constexpr BitmapSize kExitButtonSize = commonBitmapSize({kExitYesBitmap, kExitNoBitmap});
constexpr int kExitButtonWidth = kExitButtonSize.width;
constexpr int kExitButtonHeight = kExitButtonSize.height;
// Menu items that have left the screen stop here instead of growing without end while the
// box stays open; anything at or beyond the right edge draws nothing.
constexpr int kMenuItemParkedX = 2048;

// The box's state; resetExitConfirmState() gives the start values.
inline std::int32_t g_exitBoxX = 0;  // x during the slide-in; rests at 387 once it reaches 400
inline std::int32_t g_exitYesSounded = 0;
inline std::int32_t g_exitNoSounded = 0;

void exitConfirmFrame();
void exitConfirmClick();
void quitFrame();
void resetExitConfirmState();

}  // namespace tolvaro
