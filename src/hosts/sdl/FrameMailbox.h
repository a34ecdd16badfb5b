// The hand-off of finished pictures from the game's thread to the thread that shows them. The
// game never waits for the screen: a picture not yet taken when the next one comes is replaced,
// never queued, and the shower draws from a buffer of its own, so a picture is never torn.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/Platform.h"

namespace tolvaro::sdl {

class FrameMailbox {
 public:
  FrameMailbox(int width, int height)
      : width_(width), height_(height), pending_(static_cast<std::size_t>(width) * height) {}

  int width() const { return width_; }
  int height() const { return height_; }

  // The game's thread: copies the picture in (a picture of another size is ignored).
  void post(PixelView picture) {
    if (picture.width != width_ || picture.height != height_ || !picture.pixels) return;
    {
      std::lock_guard lock(mutex_);
      std::copy(picture.pixels, picture.pixels + pending_.size(), pending_.begin());
      fresh_ = true;
      ++posted_;
    }
    wake_.notify_one();
  }

  // The showing thread: waits for a picture newer than the last one taken and swaps it into
  // `into` (which must hold width x height pixels). False once the mailbox is closed.
  bool take(std::vector<std::uint32_t>& into) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return fresh_ || closed_; });
    if (closed_) return false;
    into.swap(pending_);
    fresh_ = false;
    return true;
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
    return posted_;
  }

 private:
  const int width_;
  const int height_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::uint32_t> pending_;
  bool fresh_ = false;
  bool closed_ = false;
  long posted_ = 0;
};

}  // namespace tolvaro::sdl
