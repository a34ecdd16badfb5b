// The table of the six best results and the records screen.
#pragma once

namespace tolvaro {

void recordsFrame();
void recordsClick();
void resetRecordTableState();

}  // namespace tolvaro
