#include "screens/RecordsScreen.h"

#include <string>

#include "assets/BitmapCatalogue.h"
#include "assets/Catalogue.h"
#include "base/Rect.h"
#include "frame/Frame.h"
#include "records/RecordTable.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

// The board is centred on the screen; everything else sits at offsets from its corner.
constexpr int kBoardWidth = bitmapSize(243).width;
constexpr int kBoardHeight = bitmapSize(243).height;
constexpr int kBoardX = kScreenWidth / 2 - kBoardWidth / 2;
constexpr int kBoardY = kScreenHeight / 2 - kBoardHeight / 2;
constexpr int kNameColumnX = kBoardX + 134;
constexpr int kUseTimeColumnX = kBoardX + 302;
constexpr int kScoreColumnX = kBoardX + 477;
constexpr int kRowTextY[kRecordRows] = {kBoardY + 66,  kBoardY + 118, kBoardY + 171,
                                        kBoardY + 227, kBoardY + 277, kBoardY + 328};
constexpr int kMarkerX = kBoardX + 528;
constexpr int kMarkerAboveText = 6;
constexpr int kMarkerWidth = bitmapSize(244).width;
constexpr int kMarkerHeight = bitmapSize(244).height;
constexpr Rect kConfirmZone = {kBoardX + 146, kBoardY + 364, kBoardX + 247, kBoardY + 386,
                               Edges::Inclusive};
constexpr Rect kClearZone = {kBoardX + 306, kBoardY + 364, kBoardX + 410, kBoardY + 386,
                             Edges::Inclusive};

static_assert(kBoardX == 227 && kBoardY == 184 && kConfirmZone.top == 548 &&
              kConfirmZone.bottom == 570);

}  // namespace

void recordsFrame() {
  copyOpaque(g_backBuffer, g_themeBackgrounds[g_theme], 0, 0, kScreenWidth, kScreenHeight);
  copyOpaque(g_backBuffer, g_recordsBoardPicture, kBoardX, kBoardY, kBoardWidth, kBoardHeight);
  for (int i = 0; i < kRecordRows; ++i) {
    const RecordEntry& entry = g_records[i];
    drawText(kNameColumnX, kRowTextY[i], nameOf(entry));
    drawText(kUseTimeColumnX, kRowTextY[i], std::to_string(entry.useTime));
    drawText(kScoreColumnX, kRowTextY[i], std::to_string(entry.score));
  }
  if (g_newRecordSlot >= 1 && g_newRecordSlot <= kRecordRows) {
    copyKeyed(g_backBuffer, g_recordsMarkerPicture, kMarkerX,
              kRowTextY[g_newRecordSlot - 1] - kMarkerAboveText, kMarkerWidth, kMarkerHeight,
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
  }
}

}  // namespace tolvaro
