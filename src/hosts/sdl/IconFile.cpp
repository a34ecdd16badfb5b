#include "hosts/sdl/IconFile.h"

#include <algorithm>

#include "base/Bytes.h"

namespace tolvaro::sdl {
namespace {

constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kDirectoryEntryBytes = 16;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr int kLargestSide = 256;

std::int32_t s32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int32_t>(readLe32(b, at));
}

std::size_t rowBytes(int width, int bits) {
  return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
}

// One image: a BITMAPINFOHEADER whose height counts the colour rows and the mask rows.
std::optional<IconImage> decodeImage(std::span<const std::uint8_t> dib) {
  if (dib.size() < kInfoHeaderBytes) return std::nullopt;
  const std::uint32_t headerSize = readLe32(dib, 0);
  const std::int32_t width = s32(dib, 4);
  const std::int32_t doubleHeight = s32(dib, 8);
  const std::uint32_t bits = readLe16(dib, 14);
  const std::uint32_t compression = readLe32(dib, 16);
  std::uint32_t colours = readLe32(dib, 32);
  if (headerSize < kInfoHeaderBytes || headerSize > dib.size() || compression != 0) {
    return std::nullopt;
  }
  if (width <= 0 || width > kLargestSide || doubleHeight <= 0 || doubleHeight % 2 != 0 ||
      doubleHeight / 2 > kLargestSide) {
    return std::nullopt;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  const int height = doubleHeight / 2;
  if (bits <= 8 && colours == 0) colours = 1u << bits;
  if (bits > 8) colours = 0;
  if (colours > 256) return std::nullopt;

  const std::size_t paletteAt = headerSize;
  const std::size_t colourAt = paletteAt + 4 * static_cast<std::size_t>(colours);
  const std::size_t colourRow = rowBytes(width, static_cast<int>(bits));
  const std::size_t maskAt = colourAt + colourRow * height;
  const std::size_t maskRow = rowBytes(width, 1);
  if (maskAt > dib.size()) return std::nullopt;
  // Some 32-bit cursors leave the mask out; alpha alone then decides.
  const bool hasMask = maskAt + maskRow * height <= dib.size();
  if (!hasMask && bits != 32) return std::nullopt;

  IconImage image;
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<std::size_t>(width) * height * 4);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = colourAt + colourRow * (height - 1 - y);  // stored bottom-up
    for (int x = 0; x < width; ++x) {
      std::uint8_t r = 0, g = 0, b = 0, a = 255;
      if (bits >= 24) {
        const std::size_t at = row + static_cast<std::size_t>(x) * (bits / 8);
        b = dib[at];
        g = dib[at + 1];
        r = dib[at + 2];
        if (bits == 32) {
          a = dib[at + 3];
          anyAlpha = anyAlpha || a != 0;
        }
      } else {
        const std::size_t bitIndex = static_cast<std::size_t>(x) * bits;
        const std::uint8_t byte = dib[row + bitIndex / 8];
        const int shift = 8 - static_cast<int>(bits) - static_cast<int>(bitIndex % 8);
        const std::uint32_t index = (byte >> shift) & ((1u << bits) - 1);
        if (index >= colours) return std::nullopt;
        const std::size_t at = paletteAt + 4 * static_cast<std::size_t>(index);
        b = dib[at];
        g = dib[at + 1];
        r = dib[at + 2];
      }
      std::uint8_t* out = &image.rgba[(static_cast<std::size_t>(y) * width + x) * 4];
      out[0] = r;
      out[1] = g;
      out[2] = b;
      out[3] = a;
    }
  }
  // Without alpha of its own the AND mask cuts the shape: a set bit is transparent. Pixels
  // that Windows would invert on screen cannot be shown by a colour cursor and are left out.
  if (!(bits == 32 && anyAlpha)) {
    if (!hasMask) return std::nullopt;
    for (int y = 0; y < height; ++y) {
      const std::size_t row = maskAt + maskRow * (height - 1 - y);
      for (int x = 0; x < width; ++x) {
        const bool transparent = (dib[row + x / 8] >> (7 - x % 8)) & 1;
        image.rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3] = transparent ? 0 : 255;
      }
    }
  }
  return image;
}

}  // namespace

std::optional<IconImage> decodeIconFile(std::span<const std::uint8_t> file) {
  if (file.size() < kDirectoryBytes || readLe16(file, 0) != 0) return std::nullopt;
  const std::uint32_t kind = readLe16(file, 2);  // 1 icon, 2 cursor
  const std::uint32_t count = readLe16(file, 4);
  if ((kind != 1 && kind != 2) || count == 0 ||
      file.size() < kDirectoryBytes + kDirectoryEntryBytes * count) {
    return std::nullopt;
  }
  std::optional<IconImage> best;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = kDirectoryBytes + kDirectoryEntryBytes * i;
    const std::uint32_t size = readLe32(file, entry + 8);
    const std::uint32_t offset = readLe32(file, entry + 12);
    if (offset > file.size() || size > file.size() - offset) continue;
    std::optional<IconImage> image = decodeImage(file.subspan(offset, size));
    if (!image) continue;
    if (kind == 2) {
      image->hotspotX = static_cast<int>(readLe16(file, entry + 4));
      image->hotspotY = static_cast<int>(readLe16(file, entry + 6));
    } else {
      image->hotspotX = image->width / 2;
      image->hotspotY = image->height / 2;
    }
    image->hotspotX = std::min(image->hotspotX, image->width - 1);
    image->hotspotY = std::min(image->hotspotY, image->height - 1);
    if (!best || image->width * image->height > best->width * best->height) best = std::move(image);
  }
  return best;
}

}  // namespace tolvaro::sdl
