#include "hosts/shared/Letterbox.h"

#include <algorithm>
#include <cstdint>

namespace tolvaro::hosts {

Letterbox::Letterbox(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight)
    : pictureWidth_(std::max(pictureWidth, 1)), pictureHeight_(std::max(pictureHeight, 1)) {
  windowWidth = std::max(windowWidth, 1);
  windowHeight = std::max(windowHeight, 1);
  // Fit by the narrower side: width-limited when window w/h is below picture w/h.
  const std::int64_t crossW = static_cast<std::int64_t>(windowWidth) * pictureHeight_;
  const std::int64_t crossH = static_cast<std::int64_t>(windowHeight) * pictureWidth_;
  if (crossW <= crossH) {
    target_.w = windowWidth;
    target_.h = static_cast<int>(crossW / pictureWidth_);
  } else {
    target_.h = windowHeight;
    target_.w = static_cast<int>(crossH / pictureHeight_);
  }
  target_.w = std::max(target_.w, 1);
  target_.h = std::max(target_.h, 1);
  target_.x = (windowWidth - target_.w) / 2;
  target_.y = (windowHeight - target_.h) / 2;
}

Rect Letterbox::toWindow(Rect r) const {
  // The first window pixel whose picture coordinate is x (the inverse of toPicture).
  auto mapX = [&](int x) {
    return target_.x +
           static_cast<int>((static_cast<std::int64_t>(x) * target_.w + pictureWidth_ - 1) /
                            pictureWidth_);
  };
  auto mapY = [&](int y) {
    return target_.y +
           static_cast<int>((static_cast<std::int64_t>(y) * target_.h + pictureHeight_ - 1) /
                            pictureHeight_);
  };
  const int left = mapX(r.x);
  const int top = mapY(r.y);
  return {left, top, mapX(r.x + r.w) - left, mapY(r.y + r.h) - top};
}

std::optional<Point> Letterbox::toPicture(int windowX, int windowY) const {
  if (windowX < target_.x || windowY < target_.y || windowX >= target_.x + target_.w ||
      windowY >= target_.y + target_.h) {
    return std::nullopt;
  }
  return toPictureClamped(windowX, windowY);
}

Point Letterbox::toPictureClamped(int windowX, int windowY) const {
  const std::int64_t x = static_cast<std::int64_t>(windowX - target_.x) * pictureWidth_ / target_.w;
  const std::int64_t y =
      static_cast<std::int64_t>(windowY - target_.y) * pictureHeight_ / target_.h;
  return {static_cast<int>(std::clamp<std::int64_t>(x, 0, pictureWidth_ - 1)),
          static_cast<int>(std::clamp<std::int64_t>(y, 0, pictureHeight_ - 1))};
}

}  // namespace tolvaro::hosts
