// The ranking of the six best results.
#pragma once

#include <cstdint>

#include "state/RecordEntry.h"

namespace tolvaro {

// The record check of a finished game: 1 when the result (seconds, score) entered the table,
// after which the row is g_newRecordSlot, the score variable is 0 and the records screen is
// due; 0 when it did not, and then nothing has changed.
int enterRecord(RecordTable& table, std::int32_t seconds, std::int32_t& score);
// Every row of g_records becomes someone, 9999 seconds, score 0.
void clearRecords();

}  // namespace tolvaro
