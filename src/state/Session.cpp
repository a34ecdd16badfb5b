#include "state/Session.h"

#include "state/GameState.h"

namespace tolvaro {

void resetSharedState() {
  g_gameState = STATE_MAIN_MENU;
  g_phase = PHASE_PANEL;
  g_mouseX = 0;
  g_mouseY = 0;
  g_elapsedSeconds = 0;
  g_level = 1;
  g_score = 0;
  g_bestScore = 0;
  g_theme = 0;
  g_records = {};
  g_newRecordSlot = 0;
  g_newRecordPending = 0;
}

}  // namespace tolvaro
