// Shows the game's frames on the whole window from a thread of its own: the frame is scaled to
// the largest size that fits (shared Scaler and Letterbox), centred, black bars around it. The
// game's thread only copies what changed into the shared pending picture and goes on: a frame not
// yet shown when the next one comes is replaced, never queued, and the thread scales from its own
// copy, so a frame is never torn. Only what changed is scaled and drawn; all of it is scaled again
// when the window's size changes, and drawn again when the window lost what it showed. (Win32
// locks: this toolchain's C++ library has no std::thread.)
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "hosts/shared/PendingPicture.h"
#include "platform/Platform.h"

namespace tolvaro {

class WindowPresenter {
 public:
  WindowPresenter(HWND window, int pictureWidth, int pictureHeight);
  ~WindowPresenter();
  WindowPresenter(const WindowPresenter&) = delete;
  WindowPresenter& operator=(const WindowPresenter&) = delete;

  // Copies the changed part of the frame in (one of another size is ignored) and returns at
  // once; a frame where nothing changed wakes nothing.
  void post(PixelView frame, std::span<const PixelRect> changed);
  // The window lost what it showed (painted over): all of it is drawn again, as it was.
  void redrawWhole();

 private:
  // What the thread is to do: the changes of a newer frame, and whether to draw it all again.
  struct Work {
    hosts::PictureChanges changes;
    bool redraw = false;
  };
  static DWORD WINAPI threadMain(void* self);
  void run();
  void wakeOrShowHere();
  // Brings the presenter's frame up to the newest one and says what is to be done, first
  // waiting for something to do when told to; false on close.
  bool take(Work& work, bool wait);
  void showWork(const Work& work);
  // Scales the changes of the frame (all of it when `rescaleWhole` or the window's size is new)
  // and draws them, or all of the window when `drawWhole`; false when it could not be drawn on.
  bool show(const hosts::PictureChanges& changes, bool drawWhole, bool rescaleWhole);

  HWND window_;
  const int pictureWidth_;
  const int pictureHeight_;
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE wake_ = CONDITION_VARIABLE_INIT;
  hosts::PendingPicture pending_;
  bool redraw_ = false;
  bool closed_ = false;
  // The presenter thread's alone: the frame as last taken, scaled to the window, the size it was
  // scaled for, and whether it must be scaled whole (the window was lost meanwhile).
  std::vector<std::uint32_t> frame_;
  std::vector<std::uint32_t> scaled_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool rescaleWhole_ = false;
  HANDLE thread_ = nullptr;
};

}  // namespace tolvaro
