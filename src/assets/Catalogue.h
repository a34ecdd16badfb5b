// Every picture the program draws, in the handle or handle group that holds it, and the loading
// of them in their fixed order.
#pragma once

#include <string>

#include "assets/BitmapCatalogue.h"
#include "base/Picture.h"

namespace tolvaro {

// Main menu, exit confirmation and shutdown.
inline Picture g_menuBackground;          // 143
inline Picture g_menuItemPictures[5][2];  // [item][0 normal, 1 hovered]
inline Picture g_menuMarkerPicture;       // 154, keyed white
inline Picture g_exitBoxPicture;          // 238, keyed black
inline Picture g_exitYesPicture;          // 239
inline Picture g_exitNoPicture;           // 240
inline Picture g_menuBugFrames[50];       // 1..49 from "03_16\chongzi%d.bmp"

// Theme table, indexed by theme 0..2.
inline Picture g_themeBackgrounds[3];
inline Picture g_themeFramePanels[3];
inline Picture g_themeTitlePictures[3];
inline Picture g_lobbyButtonPictures[6];  // hover + 2 x theme
inline Picture g_themeInfoBoxes[3];
inline Picture g_themeButtonLabels[5][3];  // [button 0..4][theme], keyed black
inline Picture g_themeInfoLabels[3][3];    // [info box 0..2][theme], keyed black

// Letter game.
inline Picture g_shotBitmap;             // 174
inline Picture g_levelCaptionPicture;    // 234
inline Picture g_levelDigitPictures[6];  // [level 1..5]
inline Picture g_congratsPicture;        // 235
inline Picture g_letterTiles[26];        // from "charImg\%d.bmp", 65..90

// Load-game list.
inline Picture g_slotPanelPicture;  // 176, keyed black
inline Picture g_slotRowPicture;    // 177
inline Picture g_slotBackPicture;   // 195

// About slideshow, in showing order.
inline Picture g_aboutCardPictures[6];

// Records screen and name-entry dialog.
inline Picture g_recordsBoardPicture;      // 243
inline Picture g_recordsMarkerPicture;     // 244, keyed black
inline Picture g_dialogButtonPictures[4];  // 245, 246, 247, 248

constexpr int kDialogFaceBitmap = 242;
constexpr int kIconResource = 141;
constexpr int kGlyphResource = 1;

// The handle a resource bitmap of kBitmapCatalogue is loaded into; null for the two the
// program never loads itself.
Picture* bitmapSlot(int id);

// Bitmap files of the working directory; their sizes are in assets/BitmapCatalogue.h.
std::string menuBugFramePath(int number);  // "03_16\chongzi<number>.bmp"
std::string letterTilePath(int code);      // "charImg\<code>.bmp"
inline const char* const kCursorFile = "mouse6.ani";

// A resource bitmap, decoded; empty when missing or malformed.
Picture loadResourceBitmap(int id);
// A bitmap file of the working directory, stretched to the given size; empty when missing.
Picture loadBitmapFile(const std::string& path, int width, int height);

// Loading in the start-up order, in three steps around the window's creation and the reading
// of the record files.
void loadPicturesAtWindowCreation();  // 176
void loadPicturesBeforeRecords();     // 143, bug frames, menu, themes, game, lists, about, exit
void loadPicturesAfterRecords();      // records, dialog buttons, letter tiles, shot

void resetCatalogue();

}  // namespace tolvaro
