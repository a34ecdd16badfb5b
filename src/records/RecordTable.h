// The table of the six best results and the records screen.
#pragma once

#include <cstdint>

#include "records/RecordEntry.h"

namespace tolvaro {

inline RecordTable g_records;
// The row (1..6) the last successful record check filled; 0 before the first one.
inline std::int32_t g_newRecordSlot = 0;

// The record check of a finished game: 1 when the result (seconds, score) entered the table,
// after which the row is g_newRecordSlot, the score variable is 0 and the records screen is
// due; 0 when it did not, and then nothing has changed.
int enterRecord(RecordTable& table, std::int32_t seconds, std::int32_t& score);
// Every row becomes someone, 9999 seconds, score 0.
void clearRecords();

void recordsFrame();
void recordsClick();
void resetRecordTableState();

}  // namespace tolvaro
