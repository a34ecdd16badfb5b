// The values of a run that several screens share, each with one owner here: the level and the
// scores of the letter game, the colour theme, and the record table with its new-row slot.
#pragma once

#include <cstdint>

#include "state/RecordEntry.h"

namespace tolvaro {

inline std::int32_t g_level = 1;  // 1..5
inline std::int32_t g_score = 0;
inline std::int32_t g_bestScore = 0;  // from the best-score file

// Colour theme 0 blue, 1 violet, 2 turquoise; selects a set of pictures from the theme table.
constexpr int kThemeCount = 3;
inline std::int32_t g_theme = 0;

inline RecordTable g_records;
// The row (1..6) the last successful record check filled; 0 before the first one.
inline std::int32_t g_newRecordSlot = 0;
// Set by the record check when a finished game entered the table: the running lobby slide-out
// ends at the records screen.
inline std::int32_t g_newRecordPending = 0;

// Puts the shared screen, input and session values back to their values at program start.
void resetSharedState();

}  // namespace tolvaro
