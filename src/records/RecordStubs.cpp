// Hooks of the records that are still to be built: each frame only presents, and input does
// nothing.
#include "app/Program.h"
#include "records/NameEntry.h"
#include "records/RecordFiles.h"
#include "records/RecordTable.h"

namespace tolvaro {

void loadRecordFiles() {}
void saveRecordFiles() {}
void recordsFrame() { presentAndSleep(); }
void recordsClick() {}
void resetRecordTableState() {}
bool nameEntryProc(DialogWindow&, const DialogMessage& message) {
  return message.type == DialogMessageType::Init;
}
void openNameEntryDialog() {}

}  // namespace tolvaro
