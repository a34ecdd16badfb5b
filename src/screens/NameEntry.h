// The modal dialog in which a player who entered the record table types a name.
#pragma once

#include "assets/Layout.h"
#include "platform/Platform.h"

namespace tolvaro {

// Button hot zones in dialog client pixels; every bound inclusive.
constexpr int kDialogButtonTop = 116;
constexpr int kDialogButtonBottom = 138;
constexpr int kDialogConfirmLeft = 64;
constexpr int kDialogConfirmRight = 153;
constexpr int kDialogClearLeft = 165;
constexpr int kDialogClearRight = 253;

// The dialog procedure: true for Init only.
bool nameEntryProc(DialogWindow& dialog, const DialogMessage& message);
// Runs the dialog modally; it stores the name into row g_newRecordSlot and leaves the lobby.
void openNameEntryDialog();

}  // namespace tolvaro
