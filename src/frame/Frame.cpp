#include "frame/Frame.h"

#include <algorithm>
#include <cstdio>

#include "frame/FrameChanges.h"

namespace tolvaro {

void presentBackBuffer() {
  g_platform->presentChanges(g_backBuffer.view(), g_frameChanges.update(g_backBuffer));
}

void presentAndSleep() {
  presentBackBuffer();
  sleepOnly();
}

void drawTextPresentAndSleep(int x, int y, std::string_view gbk) {
  drawText(x, y, gbk);
  presentAndSleep();
}

void sleepOnly() {
  g_platform->sleep(kFrameSleepMs);
}

void drawText(int x, int y, std::string_view gbk) {
  g_glyphs.draw(g_backBuffer, x, y, gbk, kTextColour);
}

void drawNumber(int x, int y, std::int32_t value) {
  drawFormatted(x, y, "%d", value);
}

void drawFormatted(int x, int y, const char* format, std::int32_t value) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, format, static_cast<int>(value));
  if (length > 0) drawText(x, y, {text, std::min<std::size_t>(length, sizeof text - 1)});
}

void drawFormattedPresentAndSleep(int x, int y, const char* format, std::int32_t value) {
  drawFormatted(x, y, format, value);
  presentAndSleep();
}

void playSound(int waveId, SoundMode mode) {
  g_platform->playSound(waveId, mode);
}

void stopAllSound() {
  g_platform->playSound(0, SoundMode::Stop);
}

}  // namespace tolvaro
