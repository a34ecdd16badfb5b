// The modal dialog in which a player who entered the record table types a name.
#pragma once

#include "assets/Layout.h"
#include "base/Rect.h"
#include "platform/Platform.h"

namespace tolvaro {

// Hot zones in dialog client pixels; every bound inclusive.
constexpr Rect kDialogConfirmZone = {64, 116, 153, 138, Edges::Inclusive};
constexpr Rect kDialogClearZone = {165, 116, 253, 138, Edges::Inclusive};

// The dialog procedure: true for Init only.
bool nameEntryProc(DialogWindow& dialog, const DialogMessage& message);
// Runs the dialog modally; it stores the name into row g_newRecordSlot and leaves the lobby.
void openNameEntryDialog();

}  // namespace tolvaro
