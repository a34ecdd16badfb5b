// The exit box over the sliding-out menu, and the shutdown slide that ends the program.
#pragma once

namespace tolvaro {

void exitConfirmFrame();
void exitConfirmClick();
void quitFrame();
void resetExitConfirmState();

}  // namespace tolvaro
