// The falling letter bugs and the shots that catch them.
#pragma once

namespace tolvaro {

void updateBugs();
void fireAtLetter(int letter);
void resetBoard();
void resetLetterBugsState();

}  // namespace tolvaro
