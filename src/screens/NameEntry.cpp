#include "screens/NameEntry.h"

#include <cstdio>
#include <string>

#include "assets/Catalogue.h"
#include "frame/Frame.h"
#include "records/RecordFiles.h"
#include "records/RecordTable.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

const Picture& confirmHovered() {
  return g_dialogButtonPictures[0];
}  // 245
const Picture& clearHovered() {
  return g_dialogButtonPictures[1];
}  // 246
const Picture& clearNormal() {
  return g_dialogButtonPictures[2];
}  // 247
const Picture& confirmNormal() {
  return g_dialogButtonPictures[3];
}  // 248

bool overConfirm() {
  return kDialogConfirmZone.contains(g_mouseX, g_mouseY);
}
bool overClear() {
  return kDialogClearZone.contains(g_mouseX, g_mouseY);
}

void drawButton(DialogWindow& dialog, const Picture& picture, int x, int y) {
  if (!picture.empty()) dialog.drawPicture(picture.view(), x, y);
}

void drawBothNormal(DialogWindow& dialog) {
  drawButton(dialog, confirmNormal(), kConfirmButtonX, kDialogButtonY);
  drawButton(dialog, clearNormal(), kClearButtonX, kDialogButtonY);
}

// The common end of every way of closing: the typed text becomes the new row's name.
void storeAndClose(DialogWindow& dialog, std::uint32_t wParam) {
  if (g_newRecordSlot >= 1 && g_newRecordSlot <= kRecordRows) {
    setName(g_records[g_newRecordSlot - 1], dialog.itemText(kNameEditControl));
  }
  g_gameState = STATE_LOBBY_LEAVE;
  // Kept at once: the player is done and waits for the dialog to go.
  saveRecordFiles();
  dialog.end(static_cast<std::intptr_t>(wParam & 0xFFFFu));
}

}  // namespace

bool nameEntryProc(DialogWindow& dialog, const DialogMessage& message) {
  switch (message.type) {
    case DialogMessageType::Init:
      return true;
    case DialogMessageType::Command: {
      const std::uint32_t command = message.wParam & 0xFFFFu;
      if (command == kDialogOk || command == kDialogCancel) storeAndClose(dialog, message.wParam);
      break;
    }
    case DialogMessageType::MouseMove:
      g_mouseX = positionX(message.lParam);
      g_mouseY = positionY(message.lParam);
      if (overConfirm()) {
        drawButton(dialog, confirmHovered(), kConfirmButtonX,
                   kDialogButtonY - kDialogButtonHoverLift);
      } else if (overClear()) {
        drawButton(dialog, clearHovered(), kClearButtonX, kDialogButtonY - kDialogButtonHoverLift);
      } else {
        drawBothNormal(dialog);
      }
      break;
    case DialogMessageType::LeftButtonDown:
      if (overConfirm()) {
        storeAndClose(dialog, message.wParam);
      } else if (overClear()) {
        dialog.setItemText(kNameEditControl, "");
      }
      break;
    case DialogMessageType::RightButtonDown: {
      char text[48];
      std::snprintf(text, sizeof text, "x: %d , y: %d", static_cast<int>(g_mouseX),
                    static_cast<int>(g_mouseY));
      dialog.setItemText(kNameEditControl, text);
      break;
    }
    default:
      break;
  }
  return false;
}

void openNameEntryDialog() {
  g_platform->runModalDialog(kNameDialogTemplate, kDialogFaceBitmap, nameEntryProc);
}

}  // namespace tolvaro
