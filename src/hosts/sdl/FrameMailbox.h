// The hand-off of finished pictures from the game's thread to the thread that shows them: the
// shared pending picture under a lock, its shower asleep until there is something new.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "hosts/shared/PendingPicture.h"
#include "platform/Platform.h"

namespace tolvaro::sdl {

using hosts::PictureChanges;

class FrameMailbox {
 public:
  FrameMailbox(int width, int height) : pending_(width, height) {}

  int width() const { return pending_.width(); }
  int height() const { return pending_.height(); }

  // The game's thread: copies the changed rectangles in (a picture of another size is ignored).
  void post(PixelView picture, std::span<const PixelRect> changed) {
    bool wake;
    {
      std::lock_guard lock(mutex_);
      wake = pending_.post(picture, changed);
    }
    if (wake) wake_.notify_one();
  }
  void post(PixelView picture) {
    const PixelRect whole{0, 0, width(), height()};
    post(picture, {&whole, 1});
  }
  // The next picture taken goes whole (the window lost what it showed).
  void wantWhole() {
    std::lock_guard lock(mutex_);
    pending_.wantWhole();
  }

  // The showing thread: waits for a picture newer than the last one taken and brings `into`
  // (width x height pixels, the picture of the previous take) up to it; `changes` says where
  // it changed. False once the mailbox is closed.
  bool take(std::vector<std::uint32_t>& into, PictureChanges& changes) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return pending_.fresh() || closed_; });
    if (closed_) return false;
    pending_.take(into, changes);
    return true;
  }
  bool take(std::vector<std::uint32_t>& into) {
    PictureChanges changes;
    return take(into, changes);
  }

  void close() {
    {
      std::lock_guard lock(mutex_);
      closed_ = true;
    }
    wake_.notify_all();
  }

  long posted() const {
    std::lock_guard lock(mutex_);
    return pending_.posted();
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  hosts::PendingPicture pending_;
  bool closed_ = false;
};

}  // namespace tolvaro::sdl
