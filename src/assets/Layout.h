// Where the screens put their pictures on the 1024x768 back buffer. The game draws by these
// places, and the art generator paints every picture to fit what lies around it there, so like
// the bitmap catalogue it includes nothing of either.
#pragma once

#include "assets/BitmapCatalogue.h"

namespace tolvaro {

// Main menu: five items in a column, the marker left of the hovered one, the crawling bug.
constexpr int kMenuItemCount = 5;
constexpr int kMenuItemRestX = 680;
constexpr int kMenuItemTopY = 200;
constexpr int kMenuItemSpacing = 80;
constexpr int menuItemY(int item) {
  return kMenuItemTopY + kMenuItemSpacing * item;
}
constexpr int kMenuMarkerX = 565;
constexpr int kMenuMarkerAboveItem = 30;
constexpr int kMenuBugX = 192;
constexpr int kMenuBugY = 360;

// The exit box over the menu, and its yes and no highlights.
constexpr int kExitBoxRestX = 387;
constexpr int kExitBoxY = 339;
constexpr int kExitYesHighlightX = 401;
constexpr int kExitNoHighlightX = 482;
constexpr int kExitHighlightY = 390;

// The load-game list is centred on the screen; its rows and Back button sit at fixed offsets.
inline constexpr int g_slotPanelWidth = bitmapSize(kSlotPanelBitmap).width;
inline constexpr int g_slotPanelHeight = bitmapSize(kSlotPanelBitmap).height;
inline constexpr int g_slotPanelX = 512 - g_slotPanelWidth / 2;
inline constexpr int g_slotPanelY = 384 - g_slotPanelHeight / 2;
inline constexpr int g_slotRowX = g_slotPanelX + 30;
inline constexpr int g_slotRowY[6] = {g_slotPanelY + 58,  g_slotPanelY + 108, g_slotPanelY + 161,
                                      g_slotPanelY + 214, g_slotPanelY + 267, g_slotPanelY + 317};
inline constexpr int g_slotBackX = g_slotPanelX + 114;
inline constexpr int g_slotBackY = g_slotPanelY + 367;
// The settings notice, a line of text over the menu's last frame.
constexpr int kSettingsNoticeX = 300;
constexpr int kSettingsNoticeY = 400;

// The lobby: the frame panel (the playfield), the title picture in it, five buttons at the right
// with their labels, and the three info boxes below them.
constexpr int kLobbyButtonCount = 5;
constexpr int kLobbyPanelX = 60;
constexpr int kLobbyPanelRestY = 40;
constexpr int kLobbyButtonRestX = 724;
constexpr int kLobbyButtonY[kLobbyButtonCount] = {98, 166, 236, 310, 382};
constexpr int kLobbyLabelOffsetX = 80;  // of a button's label, from the button's corner
constexpr int kLobbyLabelOffsetY = 7;
constexpr int kLobbyTitleX = 99;
constexpr int kLobbyTitleY = 147;
constexpr int kInfoBoxX = 711;
// The box shown is theme 0's; the taller boxes of themes 1 and 2 lose their bottom row.
constexpr BitmapSize kInfoBoxShownSize = bitmapSize(kThemeBitmaps[0].infoBox);
constexpr int kInfoBoxY[3] = {490, 565, 640};
constexpr int kInfoLabelOffsetX = 15;  // of a box's label, from the box's corner
constexpr int kInfoLabelOffsetY = 13;
constexpr int kInfoTextX = 811;
// The text lines of the three boxes: the level, the score, and the line below them.
constexpr int kInfoTextY[3] = {515, 590, 665};

// The records board is centred on the screen; its six rows of text and the new row's marker sit
// at these offsets from its corner.
constexpr int kRecordsBoardX = 512 - bitmapSize(kRecordsBoardBitmap).width / 2;
constexpr int kRecordsBoardY = 384 - bitmapSize(kRecordsBoardBitmap).height / 2;
constexpr int kRecordsRowTop[6] = {66, 118, 171, 227, 277, 328};
constexpr int kRecordsNameColumn = 134;
constexpr int kRecordsTimeColumn = 302;
constexpr int kRecordsScoreColumn = 477;
constexpr int kRecordsMarkerX = 528;
constexpr int kRecordsMarkerAboveText = 6;  // the marker's top above its row's text top

// The name-entry dialog's two buttons, in its client pixels; a hovered button is drawn lifted.
constexpr int kConfirmButtonX = 63;
constexpr int kClearButtonX = 164;
constexpr int kDialogButtonY = 111;
constexpr int kDialogButtonHoverLift = 2;

}  // namespace tolvaro
