// The name box of the name-entry dialog stays the system's edit control, so input methods,
// selection, the caret keys, paste and GetDlgItemText work as everywhere in Windows; only its
// look is the game's: frame, field, text, selection and caret are drawn from the game's glyph
// set, on every system locale and whether or not the system has a font for Chinese.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "base/Text.h"

namespace tolvaro {

// Subclasses the edit control `edit` until it is destroyed; the glyphs must outlive it. The
// glyphs are drawn `scale` window pixels for every `per` of their own (the scale of the picture
// the dialog stands on), and the caret, presses and the input method's windows follow.
void attachNameEditBox(HWND edit, const GlyphSet& glyphs, int scale = 1, int per = 1);

}  // namespace tolvaro
