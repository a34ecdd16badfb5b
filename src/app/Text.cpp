#include "app/Text.h"

#include <cstring>

namespace tolvaro {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kHalfTableSize = 256 * 16;
constexpr int kLeadCount = 0xFE - 0x81 + 1;
constexpr int kTrailSlots = 0xFE - 0x40 + 1;
constexpr std::size_t kFullGlyphBytes = 32;
constexpr std::size_t kFileSize =
    kHeaderSize + kHalfTableSize + std::size_t{kLeadCount} * kTrailSlots * kFullGlyphBytes;

void drawRows(Picture& target, int x, int y, const std::uint8_t* rows, int bytesPerRow, int width,
              std::uint32_t colour) {
  for (int row = 0; row < GlyphSet::kCellHeight; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.height) continue;
    const std::uint8_t* bits = rows + row * bytesPerRow;
    for (int col = 0; col < width; ++col) {
      if (!(bits[col >> 3] & (0x80 >> (col & 7)))) continue;
      const int tx = x + col;
      if (tx >= 0 && tx < target.width) target.at(tx, ty) = colour;
    }
  }
}

}  // namespace

bool GlyphSet::load(std::span<const std::uint8_t> file) {
  data_.clear();
  if (file.size() != kFileSize || std::memcmp(file.data(), "TGLY", 4) != 0) return false;
  const int version = file[4] | file[5] << 8;
  if (version != 1 || file[6] != kCellHeight || file[7] != kHalfWidth || file[8] != kFullWidth) {
    return false;
  }
  data_.assign(file.begin(), file.end());
  return true;
}

int GlyphSet::measure(std::string_view gbk) {
  int width = 0;
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto lead = static_cast<std::uint8_t>(gbk[i]);
    if (i + 1 < gbk.size() && isGbkPair(lead, static_cast<std::uint8_t>(gbk[i + 1]))) {
      width += kFullWidth;
      ++i;
    } else {
      width += kHalfWidth;
    }
  }
  return width;
}

int GlyphSet::draw(Picture& target, int x, int y, std::string_view gbk,
                   std::uint32_t colour) const {
  const int start = x;
  const bool canDraw = loaded() && !target.empty();
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto lead = static_cast<std::uint8_t>(gbk[i]);
    if (i + 1 < gbk.size() && isGbkPair(lead, static_cast<std::uint8_t>(gbk[i + 1]))) {
      const auto trail = static_cast<std::uint8_t>(gbk[i + 1]);
      if (canDraw) {
        const std::size_t index =
            static_cast<std::size_t>(lead - 0x81) * kTrailSlots + (trail - 0x40);
        drawRows(target, x, y, &data_[kHeaderSize + kHalfTableSize + index * kFullGlyphBytes], 2,
                 kFullWidth, colour);
      }
      x += kFullWidth;
      ++i;
    } else {
      if (canDraw) drawRows(target, x, y, &data_[kHeaderSize + lead * 16u], 1, kHalfWidth, colour);
      x += kHalfWidth;
    }
  }
  return x - start;
}

std::string_view gbkPrefix(std::string_view gbk, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < gbk.size()) {
    const auto lead = static_cast<std::uint8_t>(gbk[end]);
    const bool pair =
        end + 1 < gbk.size() && isGbkPair(lead, static_cast<std::uint8_t>(gbk[end + 1]));
    const std::size_t next = end + (pair ? 2 : 1);
    if (next > maxBytes) break;
    end = next;
  }
  return gbk.substr(0, end);
}

}  // namespace tolvaro
