// The main menu: five items slide in, a marker and highlights follow the mouse, a bug crawls.
#pragma once

namespace tolvaro {

void mainMenuFrame();
void mainMenuClick();
void resetMainMenuState();

}  // namespace tolvaro
