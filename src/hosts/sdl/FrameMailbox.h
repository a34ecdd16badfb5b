// The hand-off of finished pictures from the game's thread to the thread that shows them. The
// game never waits for the screen: a picture not yet taken when the next one comes is replaced,
// never queued, and the shower draws from a buffer of its own, so a picture is never torn.
// Only what changed travels: the changes of pictures replaced before they were taken add up.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "platform/Platform.h"

namespace tolvaro::sdl {

// What changed since the shower's last take: rectangles, or the whole picture.
struct PictureChanges {
  std::vector<PixelRect> rects;
  bool whole = true;
};

class FrameMailbox {
 public:
  FrameMailbox(int width, int height)
      : width_(width), height_(height), pending_(static_cast<std::size_t>(width) * height) {
    changes_.rects.reserve(kMostChangedRects);
  }

  int width() const { return width_; }
  int height() const { return height_; }

  // The game's thread: copies the changed rectangles in (a picture of another size is ignored).
  void post(PixelView picture, std::span<const PixelRect> changed) {
    if (picture.width != width_ || picture.height != height_ || !picture.pixels) return;
    {
      std::lock_guard lock(mutex_);
      // Nothing changed and nothing is owed: the shower has this picture and need not wake.
      if (changed.empty() && !changes_.whole) return;
      for (const PixelRect& rect : changed) {
        copyRect(picture.pixels, pending_.data(), rect);
        if (changes_.whole) continue;
        // Too many to keep apart: the whole picture goes, which is never wrong.
        if (changes_.rects.size() == changes_.rects.capacity()) {
          changes_.whole = true;
        } else {
          changes_.rects.push_back(rect);
        }
      }
      fresh_ = true;
      ++posted_;
    }
    wake_.notify_one();
  }
  void post(PixelView picture) {
    const PixelRect whole{0, 0, width_, height_};
    post(picture, {&whole, 1});
  }
  // The next picture taken goes whole (the window lost what it showed).
  void wantWhole() {
    std::lock_guard lock(mutex_);
    changes_.whole = true;
  }

  // The showing thread: waits for a picture newer than the last one taken and brings `into`
  // (width x height pixels, the picture of the previous take) up to it; `changes` says where
  // it changed. False once the mailbox is closed.
  bool take(std::vector<std::uint32_t>& into, PictureChanges& changes) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return fresh_ || closed_; });
    if (closed_) return false;
    if (changes_.whole) {
      std::copy(pending_.begin(), pending_.end(), into.begin());
    } else {
      for (const PixelRect& rect : changes_.rects) copyRect(pending_.data(), into.data(), rect);
    }
    changes.whole = changes_.whole;
    changes.rects.assign(changes_.rects.begin(), changes_.rects.end());
    changes_.rects.clear();
    changes_.whole = false;
    fresh_ = false;
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
    return posted_;
  }

 private:
  void copyRect(const std::uint32_t* from, std::uint32_t* to, const PixelRect& rect) const {
    const int left = std::max(rect.x, 0), right = std::min(rect.x + rect.w, width_);
    if (left >= right) return;
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, height_); ++y) {
      const std::size_t at = static_cast<std::size_t>(y) * width_;
      std::copy(from + at + left, from + at + right, to + at + left);
    }
  }

  const int width_;
  const int height_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::uint32_t> pending_;
  PictureChanges changes_;
  bool fresh_ = false;
  bool closed_ = false;
  long posted_ = 0;
};

}  // namespace tolvaro::sdl
