// Where drawing touched one watched picture: the drawing operations of base note each rectangle
// they write in every log that watches their target. A log of bounded length that, rather than
// grow, gives up and says "anywhere", which its reader must take as the whole picture.
#pragma once

#include <array>
#include <span>

#include "platform/Platform.h"

namespace tolvaro {

struct Picture;

class DrawLog {
 public:
  // Starts (or ends, with null) watching; the log begins as "anywhere".
  void watch(const Picture* picture) {
    watched_ = picture;
    anywhere_ = true;
    count_ = 0;
  }
  void clear() {
    anywhere_ = false;
    count_ = 0;
  }
  void note(const Picture& target, PixelRect rect) {
    if (&target != watched_ || anywhere_) return;
    if (count_ == static_cast<int>(rects_.size())) {
      anywhere_ = true;
      return;
    }
    rects_[static_cast<std::size_t>(count_++)] = rect;
  }
  bool anywhere() const { return anywhere_; }
  std::span<const PixelRect> rects() const { return {rects_.data(), static_cast<std::size_t>(count_)}; }

 private:
  const Picture* watched_ = nullptr;
  bool anywhere_ = true;
  std::array<PixelRect, 96> rects_{};
  int count_ = 0;
};

// The logs the drawing operations write to; an empty place is skipped.
inline std::array<DrawLog*, 2> g_drawLogs{};

inline void noteDrawn(const Picture& target, PixelRect rect) {
  for (DrawLog* log : g_drawLogs) {
    if (log) log->note(target, rect);
  }
}

}  // namespace tolvaro
