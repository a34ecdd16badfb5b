// Where the back buffer differs from the picture last presented, found by comparing the two
// row by row in column blocks, so a host can send only what changed. Comparing is exact
// whatever the screens drew; nothing here needs to know how they draw.
#pragma once

#include <array>
#include <span>

#include "base/Picture.h"

namespace tolvaro {

class FrameChanges {
 public:
  // Forgets the last picture: the next comparison reports the whole picture.
  void reset(int width, int height);
  // The rectangles where `now` differs from the previous call's picture, which then becomes
  // `now`. Every changed pixel is covered; the whole picture on the first call.
  std::span<const PixelRect> update(const Picture& now);

 private:
  void add(PixelRect rect);

  Picture shown_;
  bool whole_ = true;
  std::array<PixelRect, kMostChangedRects> rects_{};
  int count_ = 0;
  bool overflow_ = false;
};

inline FrameChanges g_frameChanges;

}  // namespace tolvaro
