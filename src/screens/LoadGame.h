// The load-game list and the settings notice, both drawn over the menu's last frame.
#pragma once

#include "assets/BitmapCatalogue.h"
#include "assets/Layout.h"

namespace tolvaro {

// The slot panel, its rows and its Back button are placed by the layout.
inline constexpr int g_slotRowWidth = bitmapSize(kSlotRowBitmap).width;
inline constexpr int g_slotRowHeight = bitmapSize(kSlotRowBitmap).height;
inline constexpr int g_slotBackWidth = bitmapSize(kSlotBackBitmap).width;
inline constexpr int g_slotBackHeight = bitmapSize(kSlotBackBitmap).height;

// The settings notice: "正在建设中。。请按 Esc 回到主菜单" (under construction; press Esc to return
// to the main menu).
inline constexpr char kSettingsNotice[] =
    "\xD5\xFD\xD4\xDA\xBD\xA8\xC9\xE8\xD6\xD0\xA1\xA3\xA1\xA3\xC7\xEB\xB0\xB4 Esc "
    "\xBB\xD8\xB5\xBD\xD6\xF7\xB2\xCB\xB5\xA5";

void loadGameFrame();
void loadGameClick();
void settingsFrame();

}  // namespace tolvaro
