#include "screens/RecordsScreen.h"

#include <string>

#include "assets/BitmapCatalogue.h"
#include "assets/Catalogue.h"
#include "assets/Layout.h"
#include "frame/Frame.h"
#include "records/RecordTable.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

// The board is centred on the screen; everything else sits at offsets from its corner.
constexpr int kBoardWidth = bitmapSize(kRecordsBoardBitmap).width;
constexpr int kBoardHeight = bitmapSize(kRecordsBoardBitmap).height;
constexpr int kBoardX = kRecordsBoardX;
constexpr int kBoardY = kRecordsBoardY;
constexpr int kNameColumnX = kBoardX + kRecordsNameColumn;
constexpr int kUseTimeColumnX = kBoardX + kRecordsTimeColumn;
constexpr int kScoreColumnX = kBoardX + kRecordsScoreColumn;
constexpr int rowTextY(int row) {
  return kBoardY + kRecordsRowTop[row];
}
constexpr int kMarkerX = kBoardX + kRecordsMarkerX;
constexpr int kMarkerWidth = bitmapSize(kRecordsMarkerBitmap).width;
constexpr int kMarkerHeight = bitmapSize(kRecordsMarkerBitmap).height;
// Button hot zones, every bound inclusive.
constexpr int kButtonTop = kBoardY + 364;
constexpr int kButtonBottom = kBoardY + 386;
constexpr int kConfirmLeft = kBoardX + 146;
constexpr int kConfirmRight = kBoardX + 247;
constexpr int kClearLeft = kBoardX + 306;
constexpr int kClearRight = kBoardX + 410;

static_assert(kBoardX == 227 && kBoardY == 184 && kButtonTop == 548 && kButtonBottom == 570);

}  // namespace

void recordsFrame() {
  copyOpaque(g_backBuffer, g_themeBackgrounds[g_theme], 0, 0, kScreenWidth, kScreenHeight);
  copyOpaque(g_backBuffer, g_recordsBoardPicture, kBoardX, kBoardY, kBoardWidth, kBoardHeight);
  for (int i = 0; i < kRecordRows; ++i) {
    const RecordEntry& entry = g_records[i];
    drawText(kNameColumnX, rowTextY(i), nameOf(entry));
    drawText(kUseTimeColumnX, rowTextY(i), std::to_string(entry.useTime));
    drawText(kScoreColumnX, rowTextY(i), std::to_string(entry.score));
  }
  if (g_newRecordSlot >= 1 && g_newRecordSlot <= kRecordRows) {
    copyKeyed(g_backBuffer, g_recordsMarkerPicture, kMarkerX,
              rowTextY(g_newRecordSlot - 1) - kRecordsMarkerAboveText, kMarkerWidth, kMarkerHeight,
              kBlack);
  }
  presentAndSleep();
}

void recordsClick() {
  if (g_mouseY < kButtonTop || g_mouseY > kButtonBottom) return;
  if (g_mouseX >= kConfirmLeft && g_mouseX <= kConfirmRight) {
    g_gameState = STATE_LOBBY;
    g_phase = PHASE_PANEL;
  } else if (g_mouseX >= kClearLeft && g_mouseX <= kClearRight) {
    clearRecords();
  }
}

}  // namespace tolvaro
