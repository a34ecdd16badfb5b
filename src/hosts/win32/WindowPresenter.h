// Shows the game's frames on the whole window from a thread of its own: the frame is scaled to
// the largest size that fits (shared Scaler and Letterbox), centred, black bars around it. The
// game's thread only copies its frame into a one-slot mailbox and goes on: a frame not yet shown
// when the next one comes is replaced, never queued, and the thread scales from its own copy, so
// a frame is never torn. (Win32 locks: this toolchain's C++ library has no std::thread.)
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace tolvaro {

class WindowPresenter {
 public:
  WindowPresenter(HWND window, int pictureWidth, int pictureHeight);
  ~WindowPresenter();
  WindowPresenter(const WindowPresenter&) = delete;
  WindowPresenter& operator=(const WindowPresenter&) = delete;

  // Copies the frame in (one of another size is ignored) and returns at once.
  void post(PixelView frame);

 private:
  static DWORD WINAPI threadMain(void* self);
  void run();
  // Waits for a frame newer than the last one taken and swaps it into `into`; false on close.
  bool take(std::vector<std::uint32_t>& into);
  void show(const std::vector<std::uint32_t>& frame);

  HWND window_;
  const int pictureWidth_;
  const int pictureHeight_;
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE wake_ = CONDITION_VARIABLE_INIT;
  std::vector<std::uint32_t> pending_;
  bool fresh_ = false;
  bool closed_ = false;
  std::vector<std::uint32_t> scaled_;  // the presenter thread's alone
  HANDLE thread_ = nullptr;
};

}  // namespace tolvaro
