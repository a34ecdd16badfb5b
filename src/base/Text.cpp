#include "base/Text.h"

#include <cstring>

#include "base/DrawLog.h"
#include "base/GlyphFile.h"

namespace tolvaro {
namespace {

// Whether any pixel changed.
bool drawRows(Picture& target, int x, int y, const std::uint8_t* rows, int bytesPerRow, int width,
              std::uint32_t colour) {
  bool changed = false;
  for (int row = 0; row < GlyphSet::kCellHeight; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.height) continue;
    const std::uint8_t* bits = rows + row * bytesPerRow;
    for (int col = 0; col < width; ++col) {
      if (!(bits[col >> 3] & (0x80 >> (col & 7)))) continue;
      const int tx = x + col;
      if (tx < 0 || tx >= target.width || target.at(tx, ty) == colour) continue;
      target.at(tx, ty) = colour;
      changed = true;
    }
  }
  return changed;
}

}  // namespace

bool GlyphSet::load(std::span<const std::uint8_t> file) {
  data_.clear();
  if (file.size() != glyphfile::kFileSize ||
      std::memcmp(file.data(), glyphfile::kMagic, sizeof glyphfile::kMagic) != 0) {
    return false;
  }
  const int version = file[4] | file[5] << 8;
  if (version != glyphfile::kVersion || file[6] != kCellHeight || file[7] != kHalfWidth ||
      file[8] != kFullWidth) {
    return false;
  }
  data_.assign(file.begin(), file.end());
  return true;
}

int GlyphSet::measure(std::string_view gbk) {
  int width = 0;
  for (std::size_t at = 0, length; (length = gbkCharLength(gbk, at)) != 0; at += length) {
    width += length == 2 ? kFullWidth : kHalfWidth;
  }
  return width;
}

int GlyphSet::draw(Picture& target, int x, int y, std::string_view gbk,
                   std::uint32_t colour) const {
  const int start = x;
  const bool canDraw = loaded() && !target.empty();
  bool changed = false;
  for (std::size_t i = 0, length; (length = gbkCharLength(gbk, i)) != 0; i += length) {
    const auto lead = static_cast<std::uint8_t>(gbk[i]);
    if (length == 2) {
      const auto trail = static_cast<std::uint8_t>(gbk[i + 1]);
      if (canDraw) {
        changed |= drawRows(target, x, y, &data_[glyphfile::fullGlyphOffset(lead, trail)], 2,
                            kFullWidth, colour);
      }
      x += kFullWidth;
    } else {
      if (canDraw) {
        changed |=
            drawRows(target, x, y, &data_[glyphfile::halfGlyphOffset(lead)], 1, kHalfWidth, colour);
      }
      x += kHalfWidth;
    }
  }
  // The cells' rectangle covers every pixel the glyphs changed (the log clips nothing).
  if (changed) noteDrawn(target, {start, y, x - start, kCellHeight});
  return x - start;
}

std::size_t gbkCharLength(std::string_view gbk, std::size_t at) {
  if (at >= gbk.size()) return 0;
  if (at + 1 < gbk.size() &&
      isGbkPair(static_cast<std::uint8_t>(gbk[at]), static_cast<std::uint8_t>(gbk[at + 1]))) {
    return 2;
  }
  return 1;
}

std::size_t gbkPreviousChar(std::string_view gbk, std::size_t at) {
  std::size_t start = 0;
  while (start < at) {
    const std::size_t next = start + gbkCharLength(gbk, start);
    if (next >= at) break;
    start = next;
  }
  return start;
}

std::string_view gbkPrefix(std::string_view gbk, std::size_t maxBytes) {
  std::size_t end = 0;
  for (std::size_t length; (length = gbkCharLength(gbk, end)) != 0 && end + length <= maxBytes;) {
    end += length;
  }
  return gbk.substr(0, end);
}

}  // namespace tolvaro
