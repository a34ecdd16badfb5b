// The records screen: the table of the six best results on the theme's background, the new
// row marked; its buttons lead back into the lobby or clear the table.
#pragma once

namespace tolvaro {

void recordsFrame();
void recordsClick();

}  // namespace tolvaro
