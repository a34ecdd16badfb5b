// The about slideshow: six cards behind a withdrawing and returning curtain.
#pragma once

namespace tolvaro {

void aboutFrame();
void aboutEscape();
void resetAboutState();

}  // namespace tolvaro
