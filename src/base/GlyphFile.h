// The layout of the glyph file ("TGLY"), which the asset generator writes and the game reads: a
// 16-byte header, 256 half-width cells of one byte a row, then a full-width cell of two bytes a
// row for every GBK lead 0x81..0xFE and trail 0x40..0xFE (trail 0x7F stays blank). Rows run top
// to bottom, the leftmost pixel in the high bit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tolvaro::glyphfile {

// Header: the magic, a 16-bit version, then cell height, half width and full width in pixels.
constexpr char kMagic[4] = {'T', 'G', 'L', 'Y'};
constexpr int kVersion = 1;
constexpr std::size_t kHeaderSize = 16;

constexpr int kCellHeight = 16;
constexpr int kHalfWidth = 8;
constexpr int kFullWidth = 16;
constexpr std::size_t kHalfGlyphBytes = kCellHeight;
constexpr std::size_t kFullGlyphBytes = kCellHeight * 2;

constexpr int kFirstLead = 0x81;
constexpr int kLastLead = 0xFE;
constexpr int kFirstTrail = 0x40;
constexpr int kLastTrail = 0xFE;
constexpr int kLeadCount = kLastLead - kFirstLead + 1;
constexpr int kTrailCount = kLastTrail - kFirstTrail + 1;

constexpr std::size_t kHalfTableSize = 256 * kHalfGlyphBytes;
constexpr std::size_t kFileSize =
    kHeaderSize + kHalfTableSize + std::size_t{kLeadCount} * kTrailCount * kFullGlyphBytes;

constexpr std::size_t halfGlyphOffset(std::uint8_t code) {
  return kHeaderSize + code * kHalfGlyphBytes;
}
// The lead and trail lie in their ranges.
constexpr std::size_t fullGlyphOffset(std::uint8_t lead, std::uint8_t trail) {
  return kHeaderSize + kHalfTableSize +
         (static_cast<std::size_t>(lead - kFirstLead) * kTrailCount + (trail - kFirstTrail)) *
             kFullGlyphBytes;
}

}  // namespace tolvaro::glyphfile
