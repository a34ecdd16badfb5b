#include "frame/Frame.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "base/DrawLog.h"
#include "frame/FrameChanges.h"

namespace tolvaro {
namespace {

// The last putBackground (or fillBackground, with no source) and what drawing covered since.
struct Background {
  const Picture* source = nullptr;
  std::uint32_t colour = 0;
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Background&) const = default;
};
Background g_background;
DrawLog g_drawnOverBackground;

// Whether the back buffer still holds `wanted` everywhere drawing did not cover since.
bool standing(const Background& wanted) {
  return g_background == wanted && !g_drawnOverBackground.anywhere() &&
         g_drawLogs[1] == &g_drawnOverBackground;
}

// Calls restore(l, t, r, b) for each part of l..r x t..b that lies outside every drawnNext.
template <class Restore>
void restoreOutside(int l, int t, int r, int b, std::span<const PixelRect> drawnNext,
                    Restore& restore) {
  if (l >= r || t >= b) return;
  if (drawnNext.empty()) {
    restore(l, t, r, b);
    return;
  }
  const PixelRect& next = drawnNext.front();
  const std::span<const PixelRect> rest = drawnNext.subspan(1);
  const int nextLeft = next.x, nextRight = next.x + next.w;
  const int nextTop = next.y, nextBottom = next.y + next.h;
  if (next.w <= 0 || next.h <= 0 || nextLeft >= r || nextRight <= l || nextTop >= b ||
      nextBottom <= t) {
    restoreOutside(l, t, r, b, rest, restore);
    return;
  }
  // Above, below, and beside it on the rows it shares.
  restoreOutside(l, t, r, nextTop, rest, restore);
  restoreOutside(l, nextBottom, r, b, rest, restore);
  const int shareTop = std::max(t, nextTop), shareBottom = std::min(b, nextBottom);
  restoreOutside(l, shareTop, nextLeft, shareBottom, rest, restore);
  restoreOutside(nextRight, shareTop, r, shareBottom, rest, restore);
}

// Calls restore(l, t, r, b) for each part of `area` drawing covered since the last put, leaving
// out what is drawn next.
template <class Restore>
void restoreDrawnOver(int left, int top, int right, int bottom,
                      std::span<const PixelRect> drawnNext, Restore restore) {
  for (const PixelRect& drawn : g_drawnOverBackground.rects()) {
    restoreOutside(std::max(left, drawn.x), std::max(top, drawn.y),
                   std::min(right, drawn.x + drawn.w), std::min(bottom, drawn.y + drawn.h),
                   drawnNext, restore);
  }
}

}  // namespace

void forgetBackground() {
  g_background = {};
  g_drawnOverBackground.watch(&g_backBuffer);
  g_drawLogs[1] = &g_drawnOverBackground;
}

void putBackground(const Picture& source, int x, int y, int w, int h,
                   std::span<const PixelRect> drawnNext) {
  const Background wanted{&source, 0, x, y, w, h};
  if (!standing(wanted) || source.empty()) {
    copyOpaque(g_backBuffer, source, x, y, w, h);
  } else {
    // The picture's part of the screen, clipped as copyOpaque clips it.
    const int left = std::max(x, 0), right = std::min({x + w, x + source.width, g_backBuffer.width});
    const int top = std::max(y, 0),
              bottom = std::min({y + h, y + source.height, g_backBuffer.height});
    restoreDrawnOver(left, top, right, bottom, drawnNext, [&](int l, int t, int r, int b) {
      copyOpaqueFrom(g_backBuffer, source, l - x, t - y, l, t, r - l, b - t);
    });
  }
  g_background = wanted;
  g_drawnOverBackground.clear();
  // Not the background there from now on: copied back once a caller no longer draws it next.
  for (const PixelRect& next : drawnNext) {
    if (next.w > 0 && next.h > 0) g_drawnOverBackground.note(g_backBuffer, next);
  }
}

void fillBackground(std::uint32_t colour) {
  const Background wanted{nullptr, colour, 0, 0, kScreenWidth, kScreenHeight};
  if (!standing(wanted)) {
    fillRect(g_backBuffer, 0, 0, kScreenWidth, kScreenHeight, colour);
  } else {
    restoreDrawnOver(0, 0, kScreenWidth, kScreenHeight, {}, [&](int l, int t, int r, int b) {
      fillRect(g_backBuffer, l, t, r, b, colour);
    });
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
