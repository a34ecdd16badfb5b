// The modal dialog in which a player who entered the record table types a name.
#pragma once

#include "platform/Platform.h"

namespace tolvaro {

bool nameEntryProc(DialogWindow& dialog, const DialogMessage& message);
void openNameEntryDialog();

}  // namespace tolvaro
