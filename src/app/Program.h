// The program's entry points: start-up, the passes of the main loop, and the input routing of
// the main window. Nothing in the game includes this; hosts and tests do.
#pragma once

#include "base/Text.h"
#include "platform/Platform.h"

namespace tolvaro {

constexpr int kExitNoWindow = 1;

// The whole program: start-up, main loop, exit code (kExitNoWindow when the window class or the
// window cannot be made).
int runProgram(Platform& platform);

// Start-up up to the main loop. False when the window class or the window could not be made.
bool startUp(Platform& platform);
// One pass: at most one event, then one frame. False when the pass took the quit event,
// whose code is then stored in *exitCode.
bool runPass(int* exitCode);
int runMainLoop();

// Puts every global of the program back to its value at program start.
void resetProgramState();

// The input routing of the main window.
void windowProc(const Event& event);

// The glyph set the game draws all its text with, loaded at start-up; hosts draw their own
// text (the name box) with it so it looks the same as the game's.
const GlyphSet& programGlyphs();

}  // namespace tolvaro
