#include "assets/Catalogue.h"

#include <array>

#include "app/Program.h"
#include "assets/Bmp.h"

namespace tolvaro {
namespace {

// Load order within each step follows this table.
constexpr auto kBitmaps = std::to_array<BitmapResource>({
    // At the window's creation.
    {176, 305, 405, 8, &g_slotPanelPicture},
    // Before the record files.
    {143, 1024, 768, 24, &g_menuBackground},
    {148, 263, 51, 24, &g_menuItemPictures[0][0]},
    {153, 263, 51, 24, &g_menuItemPictures[0][1]},
    {147, 263, 51, 24, &g_menuItemPictures[2][0]},
    {146, 263, 51, 24, &g_menuItemPictures[2][1]},
    {145, 263, 51, 24, &g_menuItemPictures[3][0]},
    {144, 263, 51, 24, &g_menuItemPictures[3][1]},
    {150, 263, 51, 24, &g_menuItemPictures[1][0]},
    {149, 263, 51, 24, &g_menuItemPictures[1][1]},
    {152, 263, 51, 24, &g_menuItemPictures[4][0]},
    {151, 263, 51, 24, &g_menuItemPictures[4][1]},
    {154, 110, 110, 24, &g_menuMarkerPicture},
    // Theme 0.
    {180, 504, 287, 24, &g_themeTitlePictures[0]},
    {157, 1024, 768, 24, &g_themeBackgrounds[0]},
    {158, 606, 676, 24, &g_themeFramePanels[0]},
    {159, 75, 36, 24, &g_themeButtonLabels[1][0]},
    {160, 75, 36, 24, &g_themeInfoLabels[1][0]},
    {161, 75, 36, 24, &g_themeInfoLabels[0][0]},
    {164, 75, 36, 24, &g_themeButtonLabels[0][0]},
    {162, 75, 36, 24, &g_themeInfoLabels[2][0]},
    {163, 270, 63, 24, &g_themeInfoBoxes[0]},
    {166, 75, 36, 24, &g_themeButtonLabels[3][0]},
    {169, 75, 36, 24, &g_themeButtonLabels[4][0]},
    {170, 75, 36, 24, &g_themeButtonLabels[2][0]},
    {155, 240, 50, 24, &g_lobbyButtonPictures[0]},
    {165, 240, 50, 24, &g_lobbyButtonPictures[1]},
    // Theme 1.
    {183, 528, 305, 8, &g_themeTitlePictures[1]},
    {194, 1024, 768, 24, &g_themeBackgrounds[1]},
    {182, 606, 676, 8, &g_themeFramePanels[1]},
    {187, 75, 36, 24, &g_themeButtonLabels[1][1]},
    {188, 75, 36, 24, &g_themeButtonLabels[0][1]},
    {190, 75, 36, 24, &g_themeButtonLabels[3][1]},
    {189, 75, 36, 24, &g_themeButtonLabels[4][1]},
    {191, 75, 36, 24, &g_themeButtonLabels[2][1]},
    {181, 240, 50, 8, &g_lobbyButtonPictures[2]},
    {193, 240, 50, 8, &g_lobbyButtonPictures[3]},
    {192, 270, 64, 8, &g_themeInfoBoxes[1]},
    {184, 75, 36, 24, &g_themeInfoLabels[1][1]},
    {185, 75, 36, 24, &g_themeInfoLabels[0][1]},
    {186, 75, 36, 24, &g_themeInfoLabels[2][1]},
    // Theme 2.
    {208, 528, 305, 8, &g_themeTitlePictures[2]},
    {220, 1024, 768, 8, &g_themeBackgrounds[2]},
    {207, 606, 676, 8, &g_themeFramePanels[2]},
    {212, 75, 36, 24, &g_themeButtonLabels[1][2]},
    {213, 75, 36, 24, &g_themeButtonLabels[0][2]},
    {215, 75, 36, 24, &g_themeButtonLabels[3][2]},
    {214, 75, 36, 24, &g_themeButtonLabels[4][2]},
    {216, 75, 36, 24, &g_themeButtonLabels[2][2]},
    {206, 240, 50, 8, &g_lobbyButtonPictures[4]},
    {218, 240, 50, 8, &g_lobbyButtonPictures[5]},
    {217, 270, 64, 8, &g_themeInfoBoxes[2]},
    {209, 75, 36, 24, &g_themeInfoLabels[1][2]},
    {210, 75, 36, 24, &g_themeInfoLabels[0][2]},
    {211, 75, 36, 24, &g_themeInfoLabels[2][2]},
    // Letter game.
    {234, 341, 67, 8, &g_levelCaptionPicture},
    {235, 400, 200, 8, &g_congratsPicture},
    {229, 86, 86, 8, &g_levelDigitPictures[1]},
    {230, 86, 86, 8, &g_levelDigitPictures[2]},
    {232, 86, 86, 8, &g_levelDigitPictures[3]},
    {233, 86, 86, 8, &g_levelDigitPictures[4]},
    {231, 86, 86, 8, &g_levelDigitPictures[5]},
    // Load-game list.
    {177, 241, 28, 8, &g_slotRowPicture},
    {195, 83, 25, 8, &g_slotBackPicture},
    // About cards, loaded in this order but shown title card first.
    {171, 800, 600, 8, &g_aboutCardPictures[1]},
    {224, 500, 250, 8, &g_aboutCardPictures[0]},
    {226, 400, 250, 8, &g_aboutCardPictures[2]},
    {225, 400, 250, 8, &g_aboutCardPictures[3]},
    {228, 400, 250, 8, &g_aboutCardPictures[4]},
    {227, 600, 250, 8, &g_aboutCardPictures[5]},
    // Exit box.
    {238, 250, 90, 24, &g_exitBoxPicture},
    {239, 77, 26, 24, &g_exitYesPicture},
    {240, 77, 26, 24, &g_exitNoPicture},
    // After the record files.
    {243, 570, 400, 24, &g_recordsBoardPicture},
    {244, 22, 22, 24, &g_recordsMarkerPicture},
    {245, 93, 29, 24, &g_dialogButtonPictures[0]},
    {246, 93, 29, 24, &g_dialogButtonPictures[1]},
    {248, 93, 29, 24, &g_dialogButtonPictures[3]},
    {247, 93, 29, 24, &g_dialogButtonPictures[2]},
    {174, 15, 15, 24, &g_shotBitmap},
    // In the module but not loaded by the program's own code.
    {242, 320, 160, 24, nullptr},
    {175, 528, 305, 24, nullptr},
});

constexpr std::size_t indexOf(int id) {
  for (std::size_t i = 0; i < kBitmaps.size(); ++i) {
    if (kBitmaps[i].id == id) return i;
  }
  return kBitmaps.size();
}

constexpr std::size_t kFirstBeforeRecords = indexOf(143);
constexpr std::size_t kFirstAfterRecords = indexOf(243);
constexpr std::size_t kShotEntry = indexOf(174);  // loaded after the letter tiles
static_assert(kFirstBeforeRecords == 1 && kFirstAfterRecords < kShotEntry &&
              kShotEntry + 1 == indexOf(242));

void loadRange(std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end; ++i) *kBitmaps[i].slot = loadResourceBitmap(kBitmaps[i].id);
}

}  // namespace

std::span<const BitmapResource> bitmapResources() {
  return kBitmaps;
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
  *kBitmaps[kFirstBeforeRecords].slot = loadResourceBitmap(kBitmaps[kFirstBeforeRecords].id);
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
  for (const auto& entry : kBitmaps) {
    if (entry.slot) entry.slot->clear();
  }
  for (auto& frame : g_menuBugFrames) frame.clear();
  for (auto& tile : g_letterTiles) tile.clear();
}

}  // namespace tolvaro
