#include "records/RecordTable.h"

#include <string>

#include "app/Program.h"
#include "assets/Catalogue.h"
#include "screens/Lobby.h"

namespace tolvaro {
namespace {

// The board is centred on the screen; everything else sits at offsets from its corner.
constexpr int kBoardWidth = 570;
constexpr int kBoardHeight = 400;
constexpr int kBoardX = kScreenWidth / 2 - kBoardWidth / 2;
constexpr int kBoardY = kScreenHeight / 2 - kBoardHeight / 2;
constexpr int kNameColumnX = kBoardX + 134;
constexpr int kUseTimeColumnX = kBoardX + 302;
constexpr int kScoreColumnX = kBoardX + 477;
constexpr int kRowTextY[kRecordRows] = {kBoardY + 66,  kBoardY + 118, kBoardY + 171,
                                        kBoardY + 227, kBoardY + 277, kBoardY + 328};
constexpr int kMarkerX = kBoardX + 528;
constexpr int kMarkerAboveText = 6;
constexpr int kMarkerSize = 22;
// Button hot zones, every bound inclusive.
constexpr int kButtonTop = kBoardY + 364;
constexpr int kButtonBottom = kBoardY + 386;
constexpr int kConfirmLeft = kBoardX + 146;
constexpr int kConfirmRight = kBoardX + 247;
constexpr int kClearLeft = kBoardX + 306;
constexpr int kClearRight = kBoardX + 410;

static_assert(kBoardX == 227 && kBoardY == 184 && kButtonTop == 548 && kButtonBottom == 570);

}  // namespace

int enterRecord(RecordTable& table, std::int32_t seconds, std::int32_t& score) {
  const auto row = [&table](int k) -> RecordEntry& { return table[k - 1]; };
  int k = kRecordRows;
  while (k >= 1 && score > row(k).score) --k;
  if (k >= 1) {
    while (k >= 1 && score >= row(k).score && seconds < row(k).useTime) --k;
  }
  if (k == kRecordRows) return 0;
  const int slot = k + 1;
  for (int j = kRecordRows - 1; j >= slot; --j) row(j + 1) = row(j);
  // The name stays as it is until the name-entry dialog stores the player's.
  row(slot).useTime = seconds;
  row(slot).score = score;
  g_newRecordSlot = slot;
  score = 0;
  g_newRecordPending = 1;
  return 1;
}

void clearRecords() {
  for (RecordEntry& entry : g_records) {
    setName(entry, "someone");
    entry.useTime = 9999;
    entry.score = 0;
  }
}

void recordsFrame() {
  copyOpaque(g_backDC, g_themeBackgrounds[g_theme], 0, 0, kScreenWidth, kScreenHeight);
  copyOpaque(g_backDC, g_recordsBoardPicture, kBoardX, kBoardY, kBoardWidth, kBoardHeight);
  for (int i = 0; i < kRecordRows; ++i) {
    const RecordEntry& entry = g_records[i];
    drawText(kNameColumnX, kRowTextY[i], nameOf(entry));
    drawText(kUseTimeColumnX, kRowTextY[i], std::to_string(entry.useTime));
    drawText(kScoreColumnX, kRowTextY[i], std::to_string(entry.score));
  }
  if (g_newRecordSlot >= 1 && g_newRecordSlot <= kRecordRows) {
    copyKeyed(g_backDC, g_recordsMarkerPicture, kMarkerX,
              kRowTextY[g_newRecordSlot - 1] - kMarkerAboveText, kMarkerSize, kMarkerSize, kBlack);
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

void resetRecordTableState() {
  g_records = {};
  g_newRecordSlot = 0;
}

}  // namespace tolvaro
