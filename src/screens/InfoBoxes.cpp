#include "app/Program.h"
#include "assets/Catalogue.h"
#include "screens/Lobby.h"

namespace tolvaro {
namespace {

constexpr int kBoxX = 711;
constexpr int kBoxY[3] = {490, 565, 640};
constexpr int kBoxWidth = 270;
constexpr int kBoxHeight = 63;
constexpr int kLabelX = 726;
constexpr int kLabelY[3] = {503, 578, 653};
constexpr int kLabelWidth = 75;
constexpr int kLabelHeight = 36;

}  // namespace

void drawInfoBoxes() {
  const int theme = g_theme;
  for (int box = 0; box < 3; ++box) {
    copyOpaque(g_backDC, g_themeInfoBoxes[theme], kBoxX, kBoxY[box], kBoxWidth, kBoxHeight);
  }
  for (int box = 0; box < 3; ++box) {
    copyKeyed(g_backDC, g_themeInfoLabels[box][theme], kLabelX, kLabelY[box], kLabelWidth,
              kLabelHeight, kBlack);
  }
}

}  // namespace tolvaro
