#include "frame/FrameChanges.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tolvaro {
namespace {

// A memcmp of 64 pixels is about as cheap as a compare gets, and a change rarely is narrower.
constexpr int kBlockWidth = 64;
constexpr int kMostBlocks = 64;

}  // namespace

void FrameChanges::reset(const Picture& picture) {
  shown_ = Picture(picture.width, picture.height);
  touched_.assign(static_cast<std::size_t>(picture.height), 0);
  drawn_.watch(&picture);
  g_drawLogs[0] = &drawn_;
  whole_ = true;
  count_ = 0;
}

FrameChanges::~FrameChanges() {
  if (g_drawLogs[0] == &drawn_) g_drawLogs[0] = nullptr;
}

void FrameChanges::add(PixelRect rect) {
  // Blocks of one band close together and left to right: a neighbour joins the last rectangle.
  if (count_ > 0) {
    PixelRect& last = rects_[static_cast<std::size_t>(count_ - 1)];
    if (last.y == rect.y && last.h == rect.h && last.x + last.w == rect.x) {
      last.w += rect.w;
      return;
    }
  }
  if (count_ == kMostChangedRects) {
    overflow_ = true;
    return;
  }
  rects_[static_cast<std::size_t>(count_++)] = rect;
}

std::span<const PixelRect> FrameChanges::update(const Picture& now) {
  const int width = now.width;
  const int height = now.height;
  const int blocks = (width + kBlockWidth - 1) / kBlockWidth;
  if (shown_.width != width || shown_.height != height || blocks > kMostBlocks) {
    reset(now);
  }
  count_ = 0;
  overflow_ = false;
  // A log that another tracker took over has missed drawing: compare everything.
  const bool logged = !drawn_.anywhere() && g_drawLogs[0] == &drawn_;
  if (logged) {
    for (const PixelRect& rect : drawn_.rects()) {
      const int left = std::max(rect.x, 0), right = std::min(rect.x + rect.w, width);
      const int top = std::max(rect.y, 0), bottom = std::min(rect.y + rect.h, height);
      if (left >= right || top >= bottom) continue;
      const int first = left / kBlockWidth, last = (right - 1) / kBlockWidth;
      const std::uint64_t bits = (~std::uint64_t{0} >> (63 - (last - first))) << first;
      for (int y = top; y < bottom; ++y) touched_[static_cast<std::size_t>(y)] |= bits;
    }
  }
  drawn_.clear();
  if (whole_) {
    std::fill(touched_.begin(), touched_.end(), 0);
    shown_.pixels = now.pixels;
    whole_ = false;
    rects_[0] = {0, 0, width, height};
    return {rects_.data(), 1};
  }
  // The first row of the open run of changed rows in each block, -1 for none.
  std::array<int, kMostBlocks> runTop, firstRow, endRow;
  runTop.fill(-1);
  firstRow.fill(height);
  endRow.fill(0);
  const auto close = [&](int block, int bottom) {
    const int left = block * kBlockWidth;
    firstRow[static_cast<std::size_t>(block)] =
        std::min(firstRow[static_cast<std::size_t>(block)], runTop[static_cast<std::size_t>(block)]);
    endRow[static_cast<std::size_t>(block)] = bottom;
    add({left, runTop[static_cast<std::size_t>(block)], std::min(kBlockWidth, width - left),
         bottom - runTop[static_cast<std::size_t>(block)]});
    runTop[static_cast<std::size_t>(block)] = -1;
  };
  const std::uint64_t allBlocks = blocks == 0 ? 0 : ~std::uint64_t{0} >> (64 - blocks);
  // Blocks with an open run: only they and the touched ones need a look in a row.
  std::uint64_t open = 0;
  for (int y = 0; y < height; ++y) {
    // Blocks no drawing touched are as they were.
    const std::uint64_t touched =
        (logged ? touched_[static_cast<std::size_t>(y)] : ~std::uint64_t{0}) & allBlocks;
    touched_[static_cast<std::size_t>(y)] = 0;
    if (touched == 0 && open == 0) continue;
    const std::uint32_t* fresh = now.ptr(0, y);
    std::uint32_t* old = shown_.ptr(0, y);
    std::uint64_t changed = 0;
    // One compare over the touched blocks' span finds most rows unchanged.
    if (touched != 0) {
      const int spanLeft = std::countr_zero(touched) * kBlockWidth;
      const int spanRight = std::min(width, (64 - std::countl_zero(touched)) * kBlockWidth);
      const bool rowSame = std::memcmp(fresh + spanLeft, old + spanLeft,
                                       static_cast<std::size_t>(spanRight - spanLeft) * 4) == 0;
      for (std::uint64_t left = rowSame ? 0 : touched; left != 0; left &= left - 1) {
        const int block = std::countr_zero(left);
        const int x = block * kBlockWidth;
        const std::size_t bytes = static_cast<std::size_t>(std::min(kBlockWidth, width - x)) * 4;
        if (std::memcmp(fresh + x, old + x, bytes) == 0) continue;
        std::memcpy(old + x, fresh + x, bytes);
        changed |= std::uint64_t{1} << block;
      }
    }
    // Left to right, as the rectangles join up: runs that ended close, new ones open.
    for (std::uint64_t ends = open & ~changed; ends != 0; ends &= ends - 1) {
      close(std::countr_zero(ends), y);
    }
    for (std::uint64_t starts = changed & ~open; starts != 0; starts &= starts - 1) {
      runTop[static_cast<std::size_t>(std::countr_zero(starts))] = y;
    }
    open = changed;
  }
  for (int block = 0; block < blocks; ++block) {
    if (runTop[static_cast<std::size_t>(block)] >= 0) close(block, height);
  }
  if (overflow_) {
    // Too scattered to list: one rectangle a block, from its first changed row to its last.
    count_ = 0;
    for (int block = 0; block < blocks; ++block) {
      const auto b = static_cast<std::size_t>(block);
      const int left = block * kBlockWidth;
      if (firstRow[b] < endRow[b]) {
        add({left, firstRow[b], std::min(kBlockWidth, width - left), endRow[b] - firstRow[b]});
      }
    }
  }
  return {rects_.data(), static_cast<std::size_t>(count_)};
}

}  // namespace tolvaro
