// Start-up, the main loop and the pieces every frame shares: the back buffer, text, sound and
// the three frame endings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/GameState.h"
#include "app/Picture.h"
#include "app/Text.h"
#include "platform/Platform.h"

namespace tolvaro {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kFrameSleepMs = 10;
constexpr std::uint32_t kTextColour = rgb(245, 71, 181);

// The host the program runs on; set by runProgram or startUp.
inline Platform* g_platform = nullptr;
// The back buffer every frame draws into. Nothing clears it between frames.
inline Picture g_backDC;
inline GlyphSet g_glyphs;
// Where the working-directory files live; empty means the process's working directory.
inline std::filesystem::path g_workingDirectory;

// The whole program: start-up, main loop, exit code (0 when the window cannot be opened).
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

// Frame endings.
void presentAndSleep();
void drawTextPresentAndSleep(int x, int y, std::string_view gbk);
void sleepOnly();

void drawText(int x, int y, std::string_view gbk);
void playSound(int waveId, SoundMode mode);
void stopAllSound();

// A file of the working directory named as the program names it ("charImg\65.bmp"); the
// backslash separates folders on every host. Empty when the file cannot be read.
std::filesystem::path workingPath(std::string_view name);
std::vector<std::uint8_t> readWorkingFile(std::string_view name);

}  // namespace tolvaro
