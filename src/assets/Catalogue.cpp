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
    {143, &g_menuBackground},
    {148, &g_menuItemPictures[0][0]},
    {153, &g_menuItemPictures[0][1]},
    {150, &g_menuItemPictures[1][0]},
    {149, &g_menuItemPictures[1][1]},
    {147, &g_menuItemPictures[2][0]},
    {146, &g_menuItemPictures[2][1]},
    {145, &g_menuItemPictures[3][0]},
    {144, &g_menuItemPictures[3][1]},
    {152, &g_menuItemPictures[4][0]},
    {151, &g_menuItemPictures[4][1]},
    {154, &g_menuMarkerPicture},
    {238, &g_exitBoxPicture},
    {239, &g_exitYesPicture},
    {240, &g_exitNoPicture},
    // Themes 0, 1, 2.
    {157, &g_themeBackgrounds[0]},
    {194, &g_themeBackgrounds[1]},
    {220, &g_themeBackgrounds[2]},
    {158, &g_themeFramePanels[0]},
    {182, &g_themeFramePanels[1]},
    {207, &g_themeFramePanels[2]},
    {180, &g_themeTitlePictures[0]},
    {183, &g_themeTitlePictures[1]},
    {208, &g_themeTitlePictures[2]},
    {155, &g_lobbyButtonPictures[0]},
    {165, &g_lobbyButtonPictures[1]},
    {181, &g_lobbyButtonPictures[2]},
    {193, &g_lobbyButtonPictures[3]},
    {206, &g_lobbyButtonPictures[4]},
    {218, &g_lobbyButtonPictures[5]},
    {163, &g_themeInfoBoxes[0]},
    {192, &g_themeInfoBoxes[1]},
    {217, &g_themeInfoBoxes[2]},
    {164, &g_themeButtonLabels[0][0]},
    {188, &g_themeButtonLabels[0][1]},
    {213, &g_themeButtonLabels[0][2]},
    {159, &g_themeButtonLabels[1][0]},
    {187, &g_themeButtonLabels[1][1]},
    {212, &g_themeButtonLabels[1][2]},
    {170, &g_themeButtonLabels[2][0]},
    {191, &g_themeButtonLabels[2][1]},
    {216, &g_themeButtonLabels[2][2]},
    {166, &g_themeButtonLabels[3][0]},
    {190, &g_themeButtonLabels[3][1]},
    {215, &g_themeButtonLabels[3][2]},
    {169, &g_themeButtonLabels[4][0]},
    {189, &g_themeButtonLabels[4][1]},
    {214, &g_themeButtonLabels[4][2]},
    {161, &g_themeInfoLabels[0][0]},
    {185, &g_themeInfoLabels[0][1]},
    {210, &g_themeInfoLabels[0][2]},
    {160, &g_themeInfoLabels[1][0]},
    {184, &g_themeInfoLabels[1][1]},
    {209, &g_themeInfoLabels[1][2]},
    {162, &g_themeInfoLabels[2][0]},
    {186, &g_themeInfoLabels[2][1]},
    {211, &g_themeInfoLabels[2][2]},
    // Letter game.
    {174, &g_shotBitmap},
    {234, &g_levelCaptionPicture},
    {229, &g_levelDigitPictures[1]},
    {230, &g_levelDigitPictures[2]},
    {232, &g_levelDigitPictures[3]},
    {233, &g_levelDigitPictures[4]},
    {231, &g_levelDigitPictures[5]},
    {235, &g_congratsPicture},
    // Load-game list.
    {176, &g_slotPanelPicture},
    {177, &g_slotRowPicture},
    {195, &g_slotBackPicture},
    // About slideshow, in showing order.
    {224, &g_aboutCardPictures[0]},
    {171, &g_aboutCardPictures[1]},
    {226, &g_aboutCardPictures[2]},
    {225, &g_aboutCardPictures[3]},
    {228, &g_aboutCardPictures[4]},
    {227, &g_aboutCardPictures[5]},
    // Records screen and name-entry dialog.
    {243, &g_recordsBoardPicture},
    {244, &g_recordsMarkerPicture},
    {245, &g_dialogButtonPictures[0]},
    {246, &g_dialogButtonPictures[1]},
    {247, &g_dialogButtonPictures[2]},
    {248, &g_dialogButtonPictures[3]},
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
static_assert(commonBitmapSize({143, 157, 194, 220}) == BitmapSize{kScreenWidth, kScreenHeight});

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
