// Hooks of the screens that are still to be built: each frame only presents, and input does
// nothing.
#include "app/Program.h"
#include "screens/About.h"
#include "screens/ExitConfirm.h"
#include "screens/LoadGame.h"
#include "screens/Lobby.h"
#include "screens/MainMenu.h"

namespace tolvaro {

void mainMenuFrame() { presentAndSleep(); }
void mainMenuClick() {}
void resetMainMenuState() {}
void exitConfirmFrame() { presentAndSleep(); }
void exitConfirmClick() {}
void quitFrame() { presentAndSleep(); }
void resetExitConfirmState() {}
void lobbySlideInFrame() { presentAndSleep(); }
void lobbyIdleFrame() { presentAndSleep(); }
void lobbyIdleClick() {}
void lobbySlideOutFrame() { presentAndSleep(); }
void resetLobbyState() {}
void loadGameFrame() { presentAndSleep(); }
void loadGameClick() {}
void settingsFrame() { presentAndSleep(); }
void aboutFrame() { presentAndSleep(); }
void aboutEscape() {}
void resetAboutState() {}

}  // namespace tolvaro
