// Icons and cursors as Windows stores them (.ico, .cur and the frames of an animated .ani),
// decoded to straight-alpha RGBA for the window icon and the colour cursors.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvaro::sdl {

struct IconImage {
  int width = 0;
  int height = 0;
  int hotspotX = 0;
  int hotspotY = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4, rows top to bottom, straight alpha
};

// The largest image of an icon or cursor file with an uncompressed 1-, 4-, 8-, 24- or 32-bit
// DIB; nullopt for anything else (PNG-compressed images included) or any truncation.
std::optional<IconImage> decodeIconFile(std::span<const std::uint8_t> file);

}  // namespace tolvaro::sdl
