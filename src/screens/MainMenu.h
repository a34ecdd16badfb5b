// The main menu: five items slide in, a marker and highlights follow the mouse, a bug crawls.
#pragma once

#include <cstdint>

#include "assets/BitmapCatalogue.h"
#include "assets/Layout.h"

namespace tolvaro {

constexpr int kMenuItemStartX = 1024;  // off the right edge
// The ten item pictures, normal and hovered, share one block.
constexpr BitmapSize kMenuItemSize = commonBitmapSize(
    {kMenuItemBitmaps[3][1], kMenuItemBitmaps[3][0], kMenuItemBitmaps[2][1], kMenuItemBitmaps[2][0],
     kMenuItemBitmaps[0][0], kMenuItemBitmaps[1][1], kMenuItemBitmaps[1][0], kMenuItemBitmaps[4][1],
     kMenuItemBitmaps[4][0], kMenuItemBitmaps[0][1]});
constexpr int kMenuItemWidth = kMenuItemSize.width;
constexpr int kMenuItemHeight = kMenuItemSize.height;
constexpr int kMenuMarkerWidth = bitmapSize(kMenuMarkerBitmap).width;
constexpr int kMenuMarkerHeight = bitmapSize(kMenuMarkerBitmap).height;

// The menu's state; resetMainMenuState() gives the start values.
// x of each item during a slide; 664 is the stored value of an item at rest (drawn at 680).
inline std::int32_t g_menuItemX[kMenuItemCount] = {};
// The item is drawn with its highlighted picture.
inline std::int32_t g_menuHover[kMenuItemCount] = {};
// The hover sound has played for the item since the pointer was last outside all items.
inline std::int32_t g_menuHoverSounded[kMenuItemCount] = {};
inline std::int32_t g_menuMarkerX = 0;
inline std::int32_t g_menuMarkerY = 0;
// Number (1..50) of the next frame of the bug animation; 50 wraps to 1 before drawing.
inline std::int32_t g_menuBugFrame = 0;

void mainMenuFrame();
void mainMenuClick();
void resetMainMenuState();

// Shared with the exit box and the shutdown slide.
void drawMenuItem(int item, int x);
void stepMenuBugAnimation();

}  // namespace tolvaro
