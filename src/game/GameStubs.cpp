// Hooks of the letter game that are still to be built: each frame only presents, and input does
// nothing.
#include "app/Program.h"
#include "game/GameFlow.h"
#include "game/LetterBugs.h"

namespace tolvaro {

void updateBugs() {}
void fireAtLetter(int) {}
void resetBoard() {}
void resetLetterBugsState() {}
void levelIntroFrame() { presentAndSleep(); }
void playingFrame() { presentAndSleep(); }
void levelIntroEnter() {}
void levelIntroEscape() {}
void abandonGame() {}
void resetGameFlowState() {}

}  // namespace tolvaro
