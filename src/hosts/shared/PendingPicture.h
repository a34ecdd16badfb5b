// The picture waiting between the game's thread and the thread that shows it. The game never
// waits for the screen: a picture not yet taken when the next one comes is replaced, never
// queued, and the shower brings a copy of its own up to date, so a picture is never torn. Only
// what changed travels: the changes of pictures replaced before they were taken add up. It does
// not lock; each host guards it with its own lock and wakes its shower its own way.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Platform.h"

namespace tolvaro::hosts {

// What changed since the shower's last take: rectangles, or the whole picture.
struct PictureChanges {
  std::vector<PixelRect> rects;
  bool whole = true;
};

class PendingPicture {
 public:
  PendingPicture(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Copies the changed rectangles in. True when the shower has something new to take; a
  // picture of another size, or one where nothing changed and nothing is owed, brings nothing.
  bool post(PixelView picture, std::span<const PixelRect> changed);
  // The next take goes whole (the window lost what it showed).
  void wantWhole() { changes_.whole = true; }

  // Whether a post came since the last take.
  bool fresh() const { return fresh_; }
  // Brings `into` (width x height pixels, the picture of the previous take) up to the newest
  // picture; `changes` says where it changed.
  void take(std::vector<std::uint32_t>& into, PictureChanges& changes);

  // Pictures that brought something new so far.
  long posted() const { return posted_; }

 private:
  void copyRect(const std::uint32_t* from, std::uint32_t* to, const PixelRect& rect) const;

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  PictureChanges changes_;
  bool fresh_ = false;
  long posted_ = 0;
};

}  // namespace tolvaro::hosts
