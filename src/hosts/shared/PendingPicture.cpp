#include "hosts/shared/PendingPicture.h"

#include <algorithm>

namespace tolvaro::hosts {

PendingPicture::PendingPicture(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {
  changes_.rects.reserve(kMostChangedRects);
}

bool PendingPicture::post(PixelView picture, std::span<const PixelRect> changed) {
  if (picture.width != width_ || picture.height != height_ || !picture.pixels) return false;
  // Nothing changed and nothing is owed: the shower has this picture and need not wake.
  if (changed.empty() && !changes_.whole) return false;
  for (const PixelRect& rect : changed) {
    copyRect(picture.pixels, pixels_.data(), rect);
    if (changes_.whole) continue;
    // Too many to keep apart: the whole picture goes, which is never wrong.
    if (changes_.rects.size() == static_cast<std::size_t>(kMostChangedRects)) {
      changes_.whole = true;
    } else {
      changes_.rects.push_back(rect);
    }
  }
  fresh_ = true;
  ++posted_;
  return true;
}

void PendingPicture::take(std::vector<std::uint32_t>& into, PictureChanges& changes) {
  into.resize(pixels_.size());
  if (changes_.whole) {
    std::copy(pixels_.begin(), pixels_.end(), into.begin());
  } else {
    for (const PixelRect& rect : changes_.rects) copyRect(pixels_.data(), into.data(), rect);
  }
  changes.whole = changes_.whole;
  changes.rects.assign(changes_.rects.begin(), changes_.rects.end());
  changes_.rects.clear();
  changes_.whole = false;
  fresh_ = false;
}

void PendingPicture::copyRect(const std::uint32_t* from, std::uint32_t* to,
                              const PixelRect& rect) const {
  const int left = std::max(rect.x, 0), right = std::min(rect.x + rect.w, width_);
  if (left >= right) return;
  for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, height_); ++y) {
    const std::size_t at = static_cast<std::size_t>(y) * width_;
    std::copy(from + at + left, from + at + right, to + at + left);
  }
}

}  // namespace tolvaro::hosts
