// Where the 1024 x 768 picture sits in a window of another size: scaled up with its aspect
// kept and centred, black around it; and the way back from window to picture coordinates.
#pragma once

#include <optional>

#include "platform/Platform.h"

namespace tolvaro::hosts {

using Rect = PixelRect;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

class Letterbox {
 public:
  Letterbox(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight);

  // The picture's place in the window.
  Rect picture() const { return target_; }
  Point pictureSize() const { return {pictureWidth_, pictureHeight_}; }
  // A rectangle of picture coordinates in window coordinates.
  Rect toWindow(Rect pictureRect) const;
  // A window position in picture coordinates; nullopt on the black bars.
  std::optional<Point> toPicture(int windowX, int windowY) const;
  // As toPicture, with positions on the bars pulled to the nearest picture edge.
  Point toPictureClamped(int windowX, int windowY) const;

 private:
  int pictureWidth_;
  int pictureHeight_;
  Rect target_;
};

}  // namespace tolvaro::hosts
