#include "assets/Catalogue.h"

#include <array>

#include "base/Bmp.h"
#include "frame/Frame.h"
#include "frame/WorkingFiles.h"

namespace tolvaro {
namespace {

// The handle each resource bitmap is loaded into; the order of loading is the catalogue's.
struct BitmapSlot {
  int id;
  Picture* slot;
};

constexpr auto kSlots = std::to_array<BitmapSlot>({
    // Menu and exit box.
    {kMenuBackgroundBitmap, &g_menuBackground},
    {kMenuItemBitmaps[0][0], &g_menuItemPictures[0][0]},
    {kMenuItemBitmaps[0][1], &g_menuItemPictures[0][1]},
    {kMenuItemBitmaps[1][0], &g_menuItemPictures[1][0]},
    {kMenuItemBitmaps[1][1], &g_menuItemPictures[1][1]},
    {kMenuItemBitmaps[2][0], &g_menuItemPictures[2][0]},
    {kMenuItemBitmaps[2][1], &g_menuItemPictures[2][1]},
    {kMenuItemBitmaps[3][0], &g_menuItemPictures[3][0]},
    {kMenuItemBitmaps[3][1], &g_menuItemPictures[3][1]},
    {kMenuItemBitmaps[4][0], &g_menuItemPictures[4][0]},
    {kMenuItemBitmaps[4][1], &g_menuItemPictures[4][1]},
    {kMenuMarkerBitmap, &g_menuMarkerPicture},
    {kExitBoxBitmap, &g_exitBoxPicture},
    {kExitYesBitmap, &g_exitYesPicture},
    {kExitNoBitmap, &g_exitNoPicture},
    // Themes 0, 1, 2.
    {kThemeBitmaps[0].background, &g_themeBackgrounds[0]},
    {kThemeBitmaps[1].background, &g_themeBackgrounds[1]},
    {kThemeBitmaps[2].background, &g_themeBackgrounds[2]},
    {kThemeBitmaps[0].framePanel, &g_themeFramePanels[0]},
    {kThemeBitmaps[1].framePanel, &g_themeFramePanels[1]},
    {kThemeBitmaps[2].framePanel, &g_themeFramePanels[2]},
    {kThemeBitmaps[0].title, &g_themeTitlePictures[0]},
    {kThemeBitmaps[1].title, &g_themeTitlePictures[1]},
    {kThemeBitmaps[2].title, &g_themeTitlePictures[2]},
    {kThemeBitmaps[0].button, &g_lobbyButtonPictures[0]},
    {kThemeBitmaps[0].buttonHovered, &g_lobbyButtonPictures[1]},
    {kThemeBitmaps[1].button, &g_lobbyButtonPictures[2]},
    {kThemeBitmaps[1].buttonHovered, &g_lobbyButtonPictures[3]},
    {kThemeBitmaps[2].button, &g_lobbyButtonPictures[4]},
    {kThemeBitmaps[2].buttonHovered, &g_lobbyButtonPictures[5]},
    {kThemeBitmaps[0].infoBox, &g_themeInfoBoxes[0]},
    {kThemeBitmaps[1].infoBox, &g_themeInfoBoxes[1]},
    {kThemeBitmaps[2].infoBox, &g_themeInfoBoxes[2]},
    {kThemeBitmaps[0].buttonLabels[0], &g_themeButtonLabels[0][0]},
    {kThemeBitmaps[1].buttonLabels[0], &g_themeButtonLabels[0][1]},
    {kThemeBitmaps[2].buttonLabels[0], &g_themeButtonLabels[0][2]},
    {kThemeBitmaps[0].buttonLabels[1], &g_themeButtonLabels[1][0]},
    {kThemeBitmaps[1].buttonLabels[1], &g_themeButtonLabels[1][1]},
    {kThemeBitmaps[2].buttonLabels[1], &g_themeButtonLabels[1][2]},
    {kThemeBitmaps[0].buttonLabels[2], &g_themeButtonLabels[2][0]},
    {kThemeBitmaps[1].buttonLabels[2], &g_themeButtonLabels[2][1]},
    {kThemeBitmaps[2].buttonLabels[2], &g_themeButtonLabels[2][2]},
    {kThemeBitmaps[0].buttonLabels[3], &g_themeButtonLabels[3][0]},
    {kThemeBitmaps[1].buttonLabels[3], &g_themeButtonLabels[3][1]},
    {kThemeBitmaps[2].buttonLabels[3], &g_themeButtonLabels[3][2]},
    {kThemeBitmaps[0].buttonLabels[4], &g_themeButtonLabels[4][0]},
    {kThemeBitmaps[1].buttonLabels[4], &g_themeButtonLabels[4][1]},
    {kThemeBitmaps[2].buttonLabels[4], &g_themeButtonLabels[4][2]},
    {kThemeBitmaps[0].infoLabels[0], &g_themeInfoLabels[0][0]},
    {kThemeBitmaps[1].infoLabels[0], &g_themeInfoLabels[0][1]},
    {kThemeBitmaps[2].infoLabels[0], &g_themeInfoLabels[0][2]},
    {kThemeBitmaps[0].infoLabels[1], &g_themeInfoLabels[1][0]},
    {kThemeBitmaps[1].infoLabels[1], &g_themeInfoLabels[1][1]},
    {kThemeBitmaps[2].infoLabels[1], &g_themeInfoLabels[1][2]},
    {kThemeBitmaps[0].infoLabels[2], &g_themeInfoLabels[2][0]},
    {kThemeBitmaps[1].infoLabels[2], &g_themeInfoLabels[2][1]},
    {kThemeBitmaps[2].infoLabels[2], &g_themeInfoLabels[2][2]},
    // Letter game.
    {kShotBitmap, &g_shotBitmap},
    {kLevelCaptionBitmap, &g_levelCaptionPicture},
    {kLevelDigitBitmaps[0], &g_levelDigitPictures[1]},
    {kLevelDigitBitmaps[1], &g_levelDigitPictures[2]},
    {kLevelDigitBitmaps[2], &g_levelDigitPictures[3]},
    {kLevelDigitBitmaps[3], &g_levelDigitPictures[4]},
    {kLevelDigitBitmaps[4], &g_levelDigitPictures[5]},
    {kCongratsBitmap, &g_congratsPicture},
    // Load-game list.
    {kSlotPanelBitmap, &g_slotPanelPicture},
    {kSlotRowBitmap, &g_slotRowPicture},
    {kSlotBackBitmap, &g_slotBackPicture},
    // About slideshow, in showing order.
    {kAboutCardBitmaps[0], &g_aboutCardPictures[0]},
    {kAboutCardBitmaps[1], &g_aboutCardPictures[1]},
    {kAboutCardBitmaps[2], &g_aboutCardPictures[2]},
    {kAboutCardBitmaps[3], &g_aboutCardPictures[3]},
    {kAboutCardBitmaps[4], &g_aboutCardPictures[4]},
    {kAboutCardBitmaps[5], &g_aboutCardPictures[5]},
    // Records screen and name-entry dialog.
    {kRecordsBoardBitmap, &g_recordsBoardPicture},
    {kRecordsMarkerBitmap, &g_recordsMarkerPicture},
    {kDialogConfirmHoveredBitmap, &g_dialogButtonPictures[0]},
    {kDialogClearHoveredBitmap, &g_dialogButtonPictures[1]},
    {kDialogClearBitmap, &g_dialogButtonPictures[2]},
    {kDialogConfirmBitmap, &g_dialogButtonPictures[3]},
});

constexpr Picture* slotOf(int id) {
  for (const BitmapSlot& s : kSlots) {
    if (s.id == id) return s.slot;
  }
  return nullptr;
}

// Every loaded bitmap has a handle; the two the program never loads have none. (That each
// handle is its own is checked by the tests: addresses of globals are no constants everywhere.)
constexpr bool slotsMatchTheCatalogue() {
  for (const BitmapSlot& s : kSlots) {
    if (bitmapIndex(s.id) >= kLoadedBitmapCount) return false;
    int sameId = 0;
    for (const BitmapSlot& other : kSlots) sameId += other.id == s.id;
    if (sameId != 1) return false;
  }
  return kSlots.size() == kLoadedBitmapCount;
}
static_assert(slotsMatchTheCatalogue());

// The backgrounds are drawn over the whole screen.
static_assert(commonBitmapSize({kMenuBackgroundBitmap, kThemeBitmaps[0].background,
                                kThemeBitmaps[1].background, kThemeBitmaps[2].background}) ==
              BitmapSize{kScreenWidth, kScreenHeight});

// The handles in load order.
constexpr auto kLoadSlots = [] {
  std::array<Picture*, kLoadedBitmapCount> slots{};
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i] = slotOf(kBitmapCatalogue[i].id);
  return slots;
}();

constexpr std::size_t kFirstBeforeRecords = bitmapIndex(143);
constexpr std::size_t kFirstAfterRecords = bitmapIndex(243);
constexpr std::size_t kShotEntry = bitmapIndex(174);  // loaded after the letter tiles
static_assert(kFirstBeforeRecords == 1 && kFirstAfterRecords < kShotEntry &&
              kShotEntry + 1 == kLoadedBitmapCount);

void loadEntry(std::size_t i) {
  *kLoadSlots[i] = loadResourceBitmap(kBitmapCatalogue[i].id);
}

void loadRange(std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end; ++i) loadEntry(i);
}

}  // namespace

Picture* bitmapSlot(int id) {
  return slotOf(id);
}

std::string menuBugFramePath(int number) {
  return "03_16\\chongzi" + std::to_string(number) + ".bmp";
}
std::string letterTilePath(int code) {
  return "charImg\\" + std::to_string(code) + ".bmp";
}

Picture loadResourceBitmap(int id) {
  const auto bytes = g_platform->loadResource(ResourceType::Bitmap, id);
  return decodeBitmap(bytes);
}

Picture loadBitmapFile(const std::string& path, int width, int height) {
  const auto bytes = readWorkingFile(path);
  return stretched(decodeBitmap(bytes), width, height);
}

void loadPicturesAtWindowCreation() {
  loadRange(0, kFirstBeforeRecords);
}

void loadPicturesBeforeRecords() {
  loadEntry(kFirstBeforeRecords);
  for (int n = 1; n <= kMenuBugFrameCount; ++n) {
    g_menuBugFrames[n] =
        loadBitmapFile(menuBugFramePath(n), kMenuBugFrameWidth, kMenuBugFrameHeight);
  }
  loadRange(kFirstBeforeRecords + 1, kFirstAfterRecords);
}

void loadPicturesAfterRecords() {
  loadRange(kFirstAfterRecords, kShotEntry);
  for (int letter = 0; letter < 26; ++letter) {
    g_letterTiles[letter] =
        loadBitmapFile(letterTilePath('A' + letter), kLetterTileSize, kLetterTileSize);
  }
  loadRange(kShotEntry, kShotEntry + 1);
}

void resetCatalogue() {
  for (const BitmapSlot& s : kSlots) s.slot->clear();
  for (auto& frame : g_menuBugFrames) frame.clear();
  for (auto& tile : g_letterTiles) tile.clear();
}

}  // namespace tolvaro
