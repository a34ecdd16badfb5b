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
      pending_(static_cast<std::size_t>(pictureWidth) * pictureHeight) {
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

void WindowPresenter::post(PixelView frame) {
  if (frame.width != pictureWidth_ || frame.height != pictureHeight_ || !frame.pixels) return;
  if (!thread_) {  // no thread could be made: show it here
    pending_.assign(frame.pixels, frame.pixels + pending_.size());
    show(pending_);
    return;
  }
  AcquireSRWLockExclusive(&lock_);
  std::copy(frame.pixels, frame.pixels + pending_.size(), pending_.begin());
  fresh_ = true;
  ReleaseSRWLockExclusive(&lock_);
  WakeConditionVariable(&wake_);
}

DWORD WINAPI WindowPresenter::threadMain(void* self) {
  static_cast<WindowPresenter*>(self)->run();
  return 0;
}

bool WindowPresenter::take(std::vector<std::uint32_t>& into) {
  AcquireSRWLockExclusive(&lock_);
  while (!fresh_ && !closed_) SleepConditionVariableSRW(&wake_, &lock_, INFINITE, 0);
  const bool open = !closed_;
  if (open) {
    into.swap(pending_);
    fresh_ = false;
  }
  ReleaseSRWLockExclusive(&lock_);
  return open;
}

void WindowPresenter::run() {
  std::vector<std::uint32_t> frame(pending_.size());
  while (take(frame)) show(frame);
}

void WindowPresenter::show(const std::vector<std::uint32_t>& frame) {
  RECT client;
  if (!GetClientRect(window_, &client)) return;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  const hosts::Rect place = hosts::Letterbox(pictureWidth_, pictureHeight_, width, height).picture();
  scaled_.resize(static_cast<std::size_t>(place.w) * place.h);
  hosts::scaleInto({frame.data(), pictureWidth_, pictureHeight_}, scaled_.data(), place.w, place.h,
                   {0, 0, place.w, place.h});
  // A DC of this frame's own, not the window's: its visible region is taken now, so a window
  // just moved or resized by the game's thread is drawn whole (Wine kept the own DC's old one).
  HDC dc = GetDCEx(window_, nullptr, DCX_CACHE);
  if (!dc) return;
  const BITMAPINFO info = topDownInfo(place.w, place.h);
  SetDIBitsToDevice(dc, place.x, place.y, static_cast<DWORD>(place.w),
                    static_cast<DWORD>(place.h), 0, 0, 0, static_cast<UINT>(place.h),
                    scaled_.data(), &info, DIB_RGB_COLORS);
  // The bars: whatever of the window the picture leaves.
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT bars[] = {{0, 0, width, place.y},
                       {0, place.y + place.h, width, height},
                       {0, place.y, place.x, place.y + place.h},
                       {place.x + place.w, place.y, width, place.y + place.h}};
  for (const RECT& bar : bars) {
    if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
  }
  ReleaseDC(window_, dc);
}

}  // namespace tolvaro
