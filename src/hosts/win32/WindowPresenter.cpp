#include "hosts/win32/WindowPresenter.h"

#include <algorithm>

#include "hosts/shared/Letterbox.h"
#include "hosts/shared/Scaler.h"
#include "hosts/win32/Win32Host.h"

namespace tolvaro {

WindowPresenter::WindowPresenter(HWND window, int pictureWidth, int pictureHeight)
    : window_(window),
      pictureWidth_(pictureWidth),
      pictureHeight_(pictureHeight),
      pending_(pictureWidth, pictureHeight),
      frame_(static_cast<std::size_t>(pictureWidth) * pictureHeight) {
  thread_ = CreateThread(nullptr, 0, &WindowPresenter::threadMain, this, 0, nullptr);
}

WindowPresenter::~WindowPresenter() {
  AcquireSRWLockExclusive(&lock_);
  closed_ = true;
  ReleaseSRWLockExclusive(&lock_);
  WakeAllConditionVariable(&wake_);
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
}

void WindowPresenter::post(PixelView frame, std::span<const PixelRect> changed) {
  AcquireSRWLockExclusive(&lock_);
  const bool fresh = pending_.post(frame, changed);
  ReleaseSRWLockExclusive(&lock_);
  if (fresh) wakeOrShowHere();
}

void WindowPresenter::redrawWhole() {
  AcquireSRWLockExclusive(&lock_);
  redraw_ = true;
  ReleaseSRWLockExclusive(&lock_);
  wakeOrShowHere();
}

void WindowPresenter::wakeOrShowHere() {
  if (thread_) {
    WakeConditionVariable(&wake_);
    return;
  }
  // No thread could be made: shown here, on the game's thread.
  Work work;
  if (take(work, false)) showWork(work);
}

DWORD WINAPI WindowPresenter::threadMain(void* self) {
  static_cast<WindowPresenter*>(self)->run();
  return 0;
}

bool WindowPresenter::take(Work& work, bool wait) {
  AcquireSRWLockExclusive(&lock_);
  while (wait && !pending_.fresh() && !redraw_ && !closed_) {
    SleepConditionVariableSRW(&wake_, &lock_, INFINITE, 0);
  }
  const bool open = !closed_;
  work.changes.whole = false;
  work.changes.rects.clear();
  if (open && pending_.fresh()) pending_.take(frame_, work.changes);
  work.redraw = redraw_;
  redraw_ = false;
  ReleaseSRWLockExclusive(&lock_);
  return open;
}

void WindowPresenter::run() {
  Work work;
  work.changes.rects.reserve(kMostChangedRects);
  while (take(work, true)) showWork(work);
}

void WindowPresenter::showWork(const Work& work) {
  // A window lost for now (no size, no DC) is scaled and drawn whole once it is back.
  rescaleWhole_ = !show(work.changes, work.redraw || rescaleWhole_, rescaleWhole_);
}

bool WindowPresenter::show(const hosts::PictureChanges& changes, bool drawWhole,
                           bool rescaleWhole) {
  const std::vector<std::uint32_t>& frame = frame_;
  RECT client;
  if (!GetClientRect(window_, &client)) return false;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return false;
  bool whole = changes.whole || rescaleWhole;
  if (width != clientWidth_ || height != clientHeight_) {
    clientWidth_ = width;
    clientHeight_ = height;
    whole = true;
  }
  const hosts::Rect place = hosts::Letterbox(pictureWidth_, pictureHeight_, width, height).picture();
  const PixelView picture{frame.data(), pictureWidth_, pictureHeight_};
  const bool scaled = place.w != pictureWidth_ || place.h != pictureHeight_;
  // The rectangles of the picture's place to draw, in the pixels of what is drawn from.
  thread_local std::vector<hosts::Rect> drawn;
  drawn.clear();
  if (scaled) {
    scaled_.resize(static_cast<std::size_t>(place.w) * place.h);
    if (whole) {
      hosts::scaleInto(picture, scaled_.data(), place.w, place.h, {0, 0, place.w, place.h});
    } else {
      for (const PixelRect& rect : changes.rects) {
        drawn.push_back(
            hosts::scaleChanged(picture, scaled_.data(), place.w, {0, 0, place.w, place.h}, rect));
      }
    }
  } else if (!whole) {
    for (const PixelRect& rect : changes.rects) {
      const int left = std::max(rect.x, 0), right = std::min(rect.x + rect.w, pictureWidth_);
      const int top = std::max(rect.y, 0), bottom = std::min(rect.y + rect.h, pictureHeight_);
      if (left < right && top < bottom) drawn.push_back({left, top, right - left, bottom - top});
    }
  }
  if (drawWhole || whole) {
    drawn.assign(1, {0, 0, place.w, place.h});
  }
  const std::uint32_t* source = scaled ? scaled_.data() : frame.data();
  // A DC of this frame's own, not the window's: its visible region is taken now, so a window
  // just moved or resized by the game's thread is drawn whole (Wine kept the own DC's old one).
  HDC dc = GetDCEx(window_, nullptr, DCX_CACHE);
  if (!dc) return false;
  for (const hosts::Rect& rect : drawn) {
    if (rect.w <= 0 || rect.h <= 0) continue;
    // The rows of the rectangle as a DIB of their own, as wide as the whole: no doubt about
    // which way a top-down DIB counts its source rows.
    const BITMAPINFO info = topDownInfo(place.w, rect.h);
    SetDIBitsToDevice(dc, place.x + rect.x, place.y + rect.y, static_cast<DWORD>(rect.w),
                      static_cast<DWORD>(rect.h), rect.x, 0, 0, static_cast<UINT>(rect.h),
                      source + static_cast<std::size_t>(rect.y) * place.w, &info,
                      DIB_RGB_COLORS);
  }
  if (drawWhole || whole) {
    // The bars: whatever of the window the picture leaves.
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[] = {{0, 0, width, place.y},
                         {0, place.y + place.h, width, height},
                         {0, place.y, place.x, place.y + place.h},
                         {place.x + place.w, place.y, width, place.y + place.h}};
    for (const RECT& bar : bars) {
      if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
    }
  }
  ReleaseDC(window_, dc);
  return true;
}

}  // namespace tolvaro
