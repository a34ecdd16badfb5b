#include "screens/InfoBoxes.h"

#include "assets/BitmapCatalogue.h"
#include "assets/Catalogue.h"
#include "assets/Layout.h"
#include "frame/Frame.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

constexpr int kBoxWidth = kInfoBoxShownSize.width;
constexpr int kBoxHeight = kInfoBoxShownSize.height;
// The three info labels of the three themes share one block.
constexpr BitmapSize kLabelSize = commonThemeBitmapSize(
    [](const ThemeBitmaps& theme) -> const auto& { return theme.infoLabels; });
constexpr int kLabelWidth = kLabelSize.width;
constexpr int kLabelHeight = kLabelSize.height;

}  // namespace

void drawInfoBoxes() {
  const int theme = g_theme;
  for (int box = 0; box < 3; ++box) {
    copyOpaque(g_backBuffer, g_themeInfoBoxes[theme], kInfoBoxX, kInfoBoxY[box], kBoxWidth,
               kBoxHeight);
  }
  for (int box = 0; box < 3; ++box) {
    copyKeyed(g_backBuffer, g_themeInfoLabels[box][theme], kInfoBoxX + kInfoLabelOffsetX,
              kInfoBoxY[box] + kInfoLabelOffsetY, kLabelWidth, kLabelHeight, kBlack);
  }
}

void drawLevelAndScore() {
  drawNumber(kInfoTextX, kInfoTextY[0], g_level);
  drawNumber(kInfoTextX, kInfoTextY[1], g_score);
}

}  // namespace tolvaro
