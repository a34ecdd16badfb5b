// What every frame uses: the host, the back buffer it draws into, the glyph set its text is
// drawn with, sound, and the three ways a frame ends.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/Picture.h"
#include "base/Text.h"
#include "platform/Platform.h"

namespace tolvaro {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kFrameSleepMs = 10;
constexpr std::uint32_t kTextColour = rgb(245, 71, 181);

// The host the program runs on; set at start-up.
inline Platform* g_platform = nullptr;
// The 1024 x 768 picture every frame draws into. Nothing clears it between frames.
inline Picture g_backBuffer;
inline GlyphSet g_glyphs;

// Copies a picture that lies under everything a screen draws (a full-screen background, the
// game's panel) to (x, y), w x h at most. Where the last such copy put the same picture at the
// same place, only what drawing has covered since is copied back: the same pixels, less work.
// `drawnNext`, where the caller copies opaque pictures right after, need not be copied back.
void putBackground(const Picture& source, int x, int y, int w, int h,
                   std::span<const PixelRect> drawnNext = {});
// As putBackground, for a whole screen of one colour.
void fillBackground(std::uint32_t colour);
// The next putBackground copies all of its picture; start-up calls it.
void forgetBackground();

// Frame endings. Some frames present, act, then sleep.
void presentBackBuffer();
void presentAndSleep();
void drawTextPresentAndSleep(int x, int y, std::string_view gbk);
void sleepOnly();

// GBK text in the text colour, background left as it is.
void drawText(int x, int y, std::string_view gbk);
// A number as "%d" prints it, and a GBK format with one "%d" in it.
void drawNumber(int x, int y, std::int32_t value);
void drawFormatted(int x, int y, const char* format, std::int32_t value);
void drawFormattedPresentAndSleep(int x, int y, const char* format, std::int32_t value);
void playSound(int waveId, SoundMode mode);
void stopAllSound();

}  // namespace tolvaro
