// Where the back buffer differs from the picture last presented, found by comparing the two
// row by row in column blocks, so a host can send only what changed. Only the blocks that
// drawing touched since (the draw log) are compared; when the log gave up, all of them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/DrawLog.h"
#include "base/Picture.h"

namespace tolvaro {

class FrameChanges {
 public:
  // Forgets the last picture: the next comparison reports the whole picture. Watches
  // `picture` (whose size it takes) for drawing from now on.
  void reset(const Picture& picture);
  FrameChanges() = default;
  FrameChanges(const FrameChanges&) = delete;
  FrameChanges& operator=(const FrameChanges&) = delete;
  ~FrameChanges();
  // The rectangles where `now` differs from the previous call's picture, which then becomes
  // `now`. Every changed pixel is covered; the whole picture on the first call.
  std::span<const PixelRect> update(const Picture& now);

 private:
  void add(PixelRect rect);

  Picture shown_;
  DrawLog drawn_;
  // Per row, a bit for each column block that drawing touched.
  std::vector<std::uint64_t> touched_;
  bool whole_ = true;
  std::array<PixelRect, kMostChangedRects> rects_{};
  int count_ = 0;
  bool overflow_ = false;
};

inline FrameChanges g_frameChanges;

}  // namespace tolvaro
