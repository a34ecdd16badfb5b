// The game's own glyph set: every GBK character in 16-pixel cells, half width (8) for single
// bytes and full width (16) for double-byte characters, so text looks the same on every host.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/GlyphFile.h"
#include "base/Picture.h"

namespace tolvaro {

class GlyphSet {
 public:
  static constexpr int kCellHeight = glyphfile::kCellHeight;
  static constexpr int kHalfWidth = glyphfile::kHalfWidth;
  static constexpr int kFullWidth = glyphfile::kFullWidth;

  // Takes the glyph file; false (and an empty set that draws nothing) when it is malformed.
  bool load(std::span<const std::uint8_t> file);
  bool loaded() const { return !data_.empty(); }
  void clear() { data_.clear(); }

  // Draws GBK text with its top-left at (x, y) in one colour, leaving the background as it is.
  // Returns the width of the text in pixels.
  int draw(Picture& target, int x, int y, std::string_view gbk, std::uint32_t colour) const;
  // Width of GBK text in pixels.
  static int measure(std::string_view gbk);

 private:
  std::vector<std::uint8_t> data_;
};

// True when bytes[i], bytes[i + 1] form one double-byte GBK character.
inline bool isGbkPair(std::uint8_t lead, std::uint8_t trail) {
  return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

// Bytes of the GBK character starting at `at` (1 or 2; 0 at the end).
std::size_t gbkCharLength(std::string_view gbk, std::size_t at);
// Start of the character before `at` (0 at the start).
std::size_t gbkPreviousChar(std::string_view gbk, std::size_t at);
// The longest prefix of at most maxBytes bytes that does not split a double-byte character.
std::string_view gbkPrefix(std::string_view gbk, std::size_t maxBytes);

}  // namespace tolvaro
