#include "screens/RecordsScreen.h"

#include <string>

#include "assets/BitmapCatalogue.h"
#include "assets/Catalogue.h"
#include "assets/Layout.h"
#include "base/Rect.h"
#include "frame/Frame.h"
#include "records/RecordFiles.h"
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
constexpr Rect kConfirmZone = {kBoardX + 146, kBoardY + 364, kBoardX + 247, kBoardY + 386,
                               Edges::Inclusive};
constexpr Rect kClearZone = {kBoardX + 306, kBoardY + 364, kBoardX + 410, kBoardY + 386,
                             Edges::Inclusive};

static_assert(kBoardX == 227 && kBoardY == 184 && kConfirmZone.top == 548 &&
              kConfirmZone.bottom == 570);

}  // namespace

void recordsFrame() {
  const PixelRect board =
      copiedArea(g_backBuffer, g_recordsBoardPicture, kBoardX, kBoardY, kBoardWidth, kBoardHeight);
  putBackground(g_themeBackgrounds[g_theme], 0, 0, kScreenWidth, kScreenHeight, {&board, 1});
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
  if (kConfirmZone.contains(g_mouseX, g_mouseY)) {
    g_gameState = STATE_LOBBY;
    g_phase = PHASE_PANEL;
  } else if (kClearZone.contains(g_mouseX, g_mouseY)) {
    clearRecords();
    saveRecordFiles();
  }
}

}  // namespace tolvaro
