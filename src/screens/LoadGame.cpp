#include "screens/LoadGame.h"

#include "assets/Catalogue.h"
#include "base/Rect.h"
#include "frame/Frame.h"
#include "state/GameState.h"

namespace tolvaro {
namespace {

enum class SlotTarget { None, Row, Back };

struct SlotHit {
  SlotTarget target = SlotTarget::None;
  int row = -1;
};

constexpr Rect rowZone(int row) {
  return openBlock(g_slotRowX, g_slotRowY[row], g_slotRowWidth, g_slotRowHeight);
}
constexpr Rect kBackZone = openBlock(g_slotBackX, g_slotBackY, g_slotBackWidth, g_slotBackHeight);

// Rows are tested top to bottom, the Back button only when no row holds the mouse, and nothing
// at all outside the rows' x range.
SlotHit slotUnderMouse() {
  if (!rowZone(0).containsX(g_mouseX)) return {};
  for (int row = 0; row < 6; ++row) {
    if (rowZone(row).containsY(g_mouseY)) return {SlotTarget::Row, row};
  }
  if (kBackZone.contains(g_mouseX, g_mouseY)) return {SlotTarget::Back, -1};
  return {};
}

}  // namespace

void loadGameFrame() {
  // No background: the menu's last frame shows around the panel.
  copyKeyed(g_backBuffer, g_slotPanelPicture, g_slotPanelX, g_slotPanelY, g_slotPanelWidth,
            g_slotPanelHeight, kBlack);
  const SlotHit hit = slotUnderMouse();
  if (hit.target == SlotTarget::Row) {
    copyOpaque(g_backBuffer, g_slotRowPicture, g_slotRowX, g_slotRowY[hit.row], g_slotRowWidth,
               g_slotRowHeight);
  } else if (hit.target == SlotTarget::Back) {
    copyOpaque(g_backBuffer, g_slotBackPicture, g_slotBackX, g_slotBackY, g_slotBackWidth,
               g_slotBackHeight);
  }
  presentAndSleep();
}

void loadGameClick() {
  // There are no saved games: a row does nothing.
  if (slotUnderMouse().target == SlotTarget::Back) g_gameState = STATE_MAIN_MENU;
}

void settingsFrame() {
  drawTextPresentAndSleep(kSettingsNoticeX, kSettingsNoticeY,
                          {kSettingsNotice, sizeof(kSettingsNotice) - 1});
}

}  // namespace tolvaro
