#include "frame/Frame.h"

#include <algorithm>
#include <cstdio>

#include "base/DrawLog.h"
#include "frame/FrameChanges.h"

namespace tolvaro {
namespace {

// The last putBackground and what drawing covered since.
struct Background {
  const Picture* source = nullptr;
  int x = 0, y = 0, w = 0, h = 0;
};
Background g_background;
DrawLog g_drawnOverBackground;

}  // namespace

void forgetBackground() {
  g_background = {};
  g_drawnOverBackground.watch(&g_backBuffer);
  g_drawLogs[1] = &g_drawnOverBackground;
}

void putBackground(const Picture& source, int x, int y, int w, int h) {
  const Background wanted{&source, x, y, w, h};
  const bool standing = g_background.source == &source && g_background.x == x &&
                        g_background.y == y && g_background.w == w && g_background.h == h &&
                        !g_drawnOverBackground.anywhere() &&
                        g_drawLogs[1] == &g_drawnOverBackground;
  if (!standing || source.empty()) {
    copyOpaque(g_backBuffer, source, x, y, w, h);
  } else {
    // The picture's part of the screen, clipped as copyOpaque clips it.
    const int left = std::max(x, 0), right = std::min({x + w, x + source.width, g_backBuffer.width});
    const int top = std::max(y, 0),
              bottom = std::min({y + h, y + source.height, g_backBuffer.height});
    for (const PixelRect& drawn : g_drawnOverBackground.rects()) {
      const int l = std::max(left, drawn.x), r = std::min(right, drawn.x + drawn.w);
      const int t = std::max(top, drawn.y), b = std::min(bottom, drawn.y + drawn.h);
      if (l >= r || t >= b) continue;
      noteDrawn(g_backBuffer, {l, t, r - l, b - t});
      for (int row = t; row < b; ++row) {
        std::copy_n(source.ptr(l - x, row - y), r - l, g_backBuffer.ptr(l, row));
      }
    }
  }
  g_background = wanted;
  g_drawnOverBackground.clear();
}

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
