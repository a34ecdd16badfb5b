// The load-game list and the settings notice, both drawn over the menu's last frame.
#pragma once

namespace tolvaro {

void loadGameFrame();
void loadGameClick();
void settingsFrame();

}  // namespace tolvaro
