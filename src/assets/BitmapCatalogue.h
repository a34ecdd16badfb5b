// Every resource bitmap of the program with its size, depth and colour key, in the order
// start-up loads them. The game loads and draws by it and the art generator paints to it, so it
// includes nothing of either.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <iterator>

namespace tolvaro {

// The colour a picture is copied transparently around, if any.
enum class ColourKey : std::uint8_t { None, White, Black };

struct BitmapEntry {
  int id;
  int width;
  int height;
  int depth;  // 24, or 8 with a 256-entry palette
  ColourKey key = ColourKey::None;
};

struct BitmapSize {
  int width;
  int height;
  friend constexpr bool operator==(const BitmapSize&, const BitmapSize&) = default;
};

// The bitmaps by their part in the program.
constexpr int kMenuBackgroundBitmap = 143;
// The menu's items top to bottom: the normal picture, then the hovered one.
constexpr int kMenuItemBitmaps[5][2] = {{148, 153}, {150, 149}, {147, 146}, {145, 144}, {152, 151}};
constexpr int kMenuMarkerBitmap = 154;
constexpr int kExitBoxBitmap = 238;
constexpr int kExitYesBitmap = 239;
constexpr int kExitNoBitmap = 240;
constexpr int kSlotPanelBitmap = 176;
constexpr int kSlotRowBitmap = 177;
constexpr int kSlotBackBitmap = 195;

// One lobby theme's pictures.
struct ThemeBitmaps {
  int background;
  int framePanel;
  int title;
  int button;
  int buttonHovered;
  int infoBox;
  int buttonLabels[5];  // top to bottom
  int infoLabels[3];    // level, score, the line below
};
constexpr ThemeBitmaps kThemeBitmaps[3] = {
    {157, 158, 180, 155, 165, 163, {164, 159, 170, 166, 169}, {161, 160, 162}},
    {194, 182, 183, 181, 193, 192, {188, 187, 191, 190, 189}, {185, 184, 186}},
    {220, 207, 208, 206, 218, 217, {213, 212, 216, 215, 214}, {210, 209, 211}},
};
constexpr int kSpareTitleBitmap = 175;  // a title picture no theme uses

constexpr int kShotBitmap = 174;
constexpr int kLevelCaptionBitmap = 234;
constexpr int kLevelDigitBitmaps[5] = {229, 230, 232, 233, 231};  // levels 1 to 5
constexpr int kCongratsBitmap = 235;

// In showing order: title card first.
constexpr int kAboutCardBitmaps[6] = {224, 171, 226, 225, 228, 227};

constexpr int kRecordsBoardBitmap = 243;
constexpr int kRecordsMarkerBitmap = 244;
constexpr int kNameDialogBitmap = 242;
constexpr int kDialogConfirmBitmap = 248;
constexpr int kDialogClearBitmap = 247;
constexpr int kDialogConfirmHoveredBitmap = 245;
constexpr int kDialogClearHoveredBitmap = 246;

inline constexpr auto kBitmapCatalogue = std::to_array<BitmapEntry>({
    // At the window's creation: the load-game list's panel.
    {kSlotPanelBitmap, 305, 405, 8, ColourKey::Black},
    // Before the record files: the menu.
    {kMenuBackgroundBitmap, 1024, 768, 24},
    {kMenuItemBitmaps[0][0], 263, 51, 24},
    {kMenuItemBitmaps[0][1], 263, 51, 24},
    {kMenuItemBitmaps[2][0], 263, 51, 24},
    {kMenuItemBitmaps[2][1], 263, 51, 24},
    {kMenuItemBitmaps[3][0], 263, 51, 24},
    {kMenuItemBitmaps[3][1], 263, 51, 24},
    {kMenuItemBitmaps[1][0], 263, 51, 24},
    {kMenuItemBitmaps[1][1], 263, 51, 24},
    {kMenuItemBitmaps[4][0], 263, 51, 24},
    {kMenuItemBitmaps[4][1], 263, 51, 24},
    {kMenuMarkerBitmap, 110, 110, 24, ColourKey::White},
    // Theme 0.
    {kThemeBitmaps[0].title, 504, 287, 24},
    {kThemeBitmaps[0].background, 1024, 768, 24},
    {kThemeBitmaps[0].framePanel, 606, 676, 24},
    {kThemeBitmaps[0].buttonLabels[1], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].infoLabels[1], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].infoLabels[0], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].buttonLabels[0], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].infoLabels[2], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].infoBox, 270, 63, 24},
    {kThemeBitmaps[0].buttonLabels[3], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].buttonLabels[4], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].buttonLabels[2], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[0].button, 240, 50, 24},
    {kThemeBitmaps[0].buttonHovered, 240, 50, 24},
    // Theme 1.
    {kThemeBitmaps[1].title, 528, 305, 8},
    {kThemeBitmaps[1].background, 1024, 768, 24},
    {kThemeBitmaps[1].framePanel, 606, 676, 8},
    {kThemeBitmaps[1].buttonLabels[1], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[1].buttonLabels[0], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[1].buttonLabels[3], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[1].buttonLabels[4], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[1].buttonLabels[2], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[1].button, 240, 50, 8},
    {kThemeBitmaps[1].buttonHovered, 240, 50, 8},
    {kThemeBitmaps[1].infoBox, 270, 64, 8},
    {kThemeBitmaps[1].infoLabels[1], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[1].infoLabels[0], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[1].infoLabels[2], 75, 36, 24, ColourKey::Black},
    // Theme 2.
    {kThemeBitmaps[2].title, 528, 305, 8},
    {kThemeBitmaps[2].background, 1024, 768, 8},
    {kThemeBitmaps[2].framePanel, 606, 676, 8},
    {kThemeBitmaps[2].buttonLabels[1], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[2].buttonLabels[0], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[2].buttonLabels[3], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[2].buttonLabels[4], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[2].buttonLabels[2], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[2].button, 240, 50, 8},
    {kThemeBitmaps[2].buttonHovered, 240, 50, 8},
    {kThemeBitmaps[2].infoBox, 270, 64, 8},
    {kThemeBitmaps[2].infoLabels[1], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[2].infoLabels[0], 75, 36, 24, ColourKey::Black},
    {kThemeBitmaps[2].infoLabels[2], 75, 36, 24, ColourKey::Black},
    // Letter game: caption, congratulations, the digits of levels 1 to 5.
    {kLevelCaptionBitmap, 341, 67, 8},
    {kCongratsBitmap, 400, 200, 8},
    {kLevelDigitBitmaps[0], 86, 86, 8},
    {kLevelDigitBitmaps[1], 86, 86, 8},
    {kLevelDigitBitmaps[2], 86, 86, 8},
    {kLevelDigitBitmaps[3], 86, 86, 8},
    {kLevelDigitBitmaps[4], 86, 86, 8},
    // Load-game list.
    {kSlotRowBitmap, 241, 28, 8},
    {kSlotBackBitmap, 83, 25, 8},
    // About cards, loaded in this order but shown title card first.
    {kAboutCardBitmaps[1], 800, 600, 8},
    {kAboutCardBitmaps[0], 500, 250, 8},
    {kAboutCardBitmaps[2], 400, 250, 8},
    {kAboutCardBitmaps[3], 400, 250, 8},
    {kAboutCardBitmaps[4], 400, 250, 8},
    {kAboutCardBitmaps[5], 600, 250, 8},
    // Exit box.
    {kExitBoxBitmap, 250, 90, 24, ColourKey::Black},
    {kExitYesBitmap, 77, 26, 24},
    {kExitNoBitmap, 77, 26, 24},
    // After the record files: records board, its marker, the name dialog's buttons, the shot.
    {kRecordsBoardBitmap, 570, 400, 24},
    {kRecordsMarkerBitmap, 22, 22, 24, ColourKey::Black},
    {kDialogConfirmHoveredBitmap, 93, 29, 24},
    {kDialogClearHoveredBitmap, 93, 29, 24},
    {kDialogConfirmBitmap, 93, 29, 24},
    {kDialogClearBitmap, 93, 29, 24},
    {kShotBitmap, 15, 15, 24},
    // In the module but never loaded by the program's own code: the name dialog's face, which
    // the dialog shows itself, and a title picture no theme uses.
    {kNameDialogBitmap, 320, 160, 24},
    {kSpareTitleBitmap, 528, 305, 24},
});

// The entries before this index are the ones the program loads.
inline constexpr std::size_t kLoadedBitmapCount = kBitmapCatalogue.size() - 2;

// The entry's index, or the catalogue's size for an id it does not hold.
constexpr std::size_t bitmapIndex(int id) {
  for (std::size_t i = 0; i < kBitmapCatalogue.size(); ++i) {
    if (kBitmapCatalogue[i].id == id) return i;
  }
  return kBitmapCatalogue.size();
}

// An id the catalogue does not hold is out of range: a compile error in a constant expression.
constexpr const BitmapEntry& bitmapEntry(int id) {
  return kBitmapCatalogue.at(bitmapIndex(id));
}

constexpr BitmapSize bitmapSize(int id) {
  const BitmapEntry& entry = bitmapEntry(id);
  return {entry.width, entry.height};
}

// Not constexpr, so that reaching it in a constant expression fails to compile.
inline void bitmapSizesDiffer() {
  std::abort();
}

// The one size of pictures that are drawn through one block.
constexpr BitmapSize commonBitmapSize(std::initializer_list<int> ids) {
  const BitmapSize size = bitmapSize(*ids.begin());
  for (int id : ids) {
    if (bitmapSize(id) != size) bitmapSizesDiffer();
  }
  return size;
}

// The one size of the pictures that `idsOf(theme)` lists, in every theme: the themes' versions of
// a picture share one block.
template <class IdsOf>
constexpr BitmapSize commonThemeBitmapSize(IdsOf idsOf) {
  const BitmapSize size = bitmapSize(*std::begin(idsOf(kThemeBitmaps[0])));
  for (const ThemeBitmaps& theme : kThemeBitmaps) {
    for (int id : idsOf(theme)) {
      if (bitmapSize(id) != size) bitmapSizesDiffer();
    }
  }
  return size;
}

// Bitmap files of the working directory, stretched to these sizes when loaded.
constexpr int kMenuBugFrameCount = 49;
constexpr int kMenuBugFrameWidth = 204;
constexpr int kMenuBugFrameHeight = 51;
constexpr int kLetterTileSize = 20;

}  // namespace tolvaro
