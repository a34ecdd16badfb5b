#include "records/RecordTable.h"

#include "state/Session.h"

namespace tolvaro {

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

}  // namespace tolvaro
