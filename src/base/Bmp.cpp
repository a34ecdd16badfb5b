#include "base/Bmp.h"

#include <algorithm>
#include <cstring>

#include "base/Bytes.h"

namespace tolvaro {
namespace {

constexpr int kMaxDimension = 16384;
// 64 MiB of decoded pixels; a run-length file of a few bytes can claim any size, and no picture
// of the game comes near this.
constexpr std::int64_t kMostPixels = std::int64_t{16} << 20;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

struct Layout {
  BitmapInfo info;
  std::uint32_t compression = kBiRgb;
  std::size_t paletteOffset = 0;  // from the start of `bytes`
  std::size_t paletteEntrySize = 4;
  std::size_t pixelOffset = 0;
  std::uint32_t masks[3] = {0, 0, 0};
};

bool isRunLength(const Layout& l) {
  return l.compression == kBiRle8 || l.compression == kBiRle4;
}

std::optional<Layout> readLayout(std::span<const std::uint8_t> bytes) {
  std::size_t dib = 0;
  std::optional<std::size_t> fileOffset;
  if (bytes.size() >= 14 && bytes[0] == 'B' && bytes[1] == 'M') {
    dib = 14;
    fileOffset = readLe32(bytes, 10);
  }
  if (bytes.size() < dib + 12) return std::nullopt;
  const std::uint32_t headerSize = readLe32(bytes, dib);
  Layout l;
  std::int64_t width = 0, height = 0;
  int planes = 0;
  if (headerSize == 12) {  // OS/2 core header
    width = readLe16(bytes, dib + 4);
    height = static_cast<std::int16_t>(readLe16(bytes, dib + 6));
    planes = readLe16(bytes, dib + 8);
    l.info.bitsPerPixel = readLe16(bytes, dib + 10);
    l.paletteEntrySize = 3;
  } else if (headerSize >= 40 && headerSize <= 124) {
    if (bytes.size() < dib + headerSize) return std::nullopt;
    width = static_cast<std::int32_t>(readLe32(bytes, dib + 4));
    height = static_cast<std::int32_t>(readLe32(bytes, dib + 8));
    planes = readLe16(bytes, dib + 12);
    l.info.bitsPerPixel = readLe16(bytes, dib + 14);
    l.compression = readLe32(bytes, dib + 16);
    l.info.paletteEntries = static_cast<int>(readLe32(bytes, dib + 32));
  } else {
    return std::nullopt;
  }
  if (planes != 1) return std::nullopt;
  l.info.topDown = height < 0;
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
      width * height > kMostPixels) {
    return std::nullopt;
  }
  l.info.width = static_cast<int>(width);
  l.info.height = static_cast<int>(height);

  const int bpp = l.info.bitsPerPixel;
  std::size_t maskBytes = 0;
  if (l.compression == kBiBitfields && (bpp == 16 || bpp == 32)) {
    if (headerSize == 40) maskBytes = 12;
    if (bytes.size() < dib + 40 + 12) return std::nullopt;
    for (int i = 0; i < 3; ++i) l.masks[i] = readLe32(bytes, dib + 40 + 4 * i);
  } else if ((l.compression == kBiRle8 && bpp == 8) || (l.compression == kBiRle4 && bpp == 4)) {
    if (l.info.topDown) return std::nullopt;  // run-length pictures are bottom-up only
  } else if (l.compression != kBiRgb) {
    return std::nullopt;  // embedded JPEG and PNG are not bitmaps the game reads
  }
  if (bpp <= 8) {
    if (bpp != 1 && bpp != 4 && bpp != 8) return std::nullopt;
    const int maxEntries = 1 << bpp;
    if (l.info.paletteEntries <= 0 || l.info.paletteEntries > maxEntries) {
      l.info.paletteEntries = maxEntries;
    }
  } else if (bpp != 16 && bpp != 24 && bpp != 32) {
    return std::nullopt;
  } else {
    l.info.paletteEntries = 0;
  }
  if (l.compression == kBiRgb && bpp == 16) {
    l.masks[0] = 0x7C00;
    l.masks[1] = 0x03E0;
    l.masks[2] = 0x001F;
  }
  l.paletteOffset = dib + headerSize + maskBytes;
  const std::size_t paletteEnd =
      l.paletteOffset + static_cast<std::size_t>(l.info.paletteEntries) * l.paletteEntrySize;
  l.pixelOffset = fileOffset.value_or(paletteEnd);
  if (bpp <= 8 && paletteEnd > bytes.size()) return std::nullopt;
  if (l.pixelOffset > bytes.size()) return std::nullopt;
  if (isRunLength(l)) return l;  // the runs are checked as they are decoded
  const std::size_t stride = ((static_cast<std::size_t>(l.info.width) * bpp + 31) / 32) * 4;
  if (bytes.size() - l.pixelOffset < stride * static_cast<std::size_t>(l.info.height)) {
    return std::nullopt;
  }
  return l;
}

std::uint32_t expandMasked(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++shift;
  }
  const std::uint32_t v = (value >> shift) & mask;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) * 255 / mask);
}

// The pixels of a run-length-encoded picture, rows from the bottom; pixels the runs skip keep
// palette entry 0. False when the runs leave the data before the end-of-picture code.
bool decodeRunLength(std::span<const std::uint8_t> bytes, const Layout& l,
                     const std::uint32_t (&palette)[256], Picture& out) {
  const bool fourBit = l.compression == kBiRle4;
  const int w = l.info.width, h = l.info.height;
  std::fill(out.pixels.begin(), out.pixels.end(), palette[0]);
  // Index i of a run whose byte b is repeated (or of absolute data at b's position).
  const auto indexIn = [fourBit](std::uint8_t b, int i) {
    return fourBit ? (i % 2 == 0 ? b >> 4 : b & 0x0F) : b;
  };
  std::size_t at = l.pixelOffset;
  int x = 0, row = 0;  // row counts from the bottom
  const auto put = [&](int index) {
    if (x < w && row < h) out.at(x, h - 1 - row) = palette[index];
    ++x;
  };
  while (bytes.size() - at >= 2) {
    const int count = bytes[at];
    const std::uint8_t code = bytes[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < w; ++i) put(indexIn(code, i));
    } else if (code == 0) {  // end of line
      x = 0;
      row = std::min(row + 1, h);
    } else if (code == 1) {  // end of picture
      return true;
    } else if (code == 2) {  // move right and up
      if (bytes.size() - at < 2) return false;
      // Both stay within one past the picture, where nothing more is drawn.
      x = std::min(x + bytes[at], w);
      row = std::min(row + bytes[at + 1], h);
      at += 2;
    } else {  // `code` pixels given one by one, padded to a 16-bit boundary
      const std::size_t dataBytes = fourBit ? (code + 1u) / 2 : code;
      if (bytes.size() - at < dataBytes) return false;
      for (int i = 0; i < code && x < w; ++i) {
        put(indexIn(bytes[at + static_cast<std::size_t>(fourBit ? i / 2 : i)], i));
      }
      at += std::min(dataBytes + (dataBytes & 1u), bytes.size() - at);
    }
  }
  return false;
}

}  // namespace

std::optional<BitmapInfo> readBitmapInfo(std::span<const std::uint8_t> bytes) {
  auto layout = readLayout(bytes);
  if (!layout) return std::nullopt;
  return layout->info;
}

Picture decodeBitmap(std::span<const std::uint8_t> bytes) {
  const auto layout = readLayout(bytes);
  if (!layout) return {};
  const Layout& l = *layout;
  const int w = l.info.width, h = l.info.height, bpp = l.info.bitsPerPixel;

  std::uint32_t palette[256] = {};
  for (int i = 0; i < l.info.paletteEntries; ++i) {
    const std::size_t at = l.paletteOffset + static_cast<std::size_t>(i) * l.paletteEntrySize;
    palette[i] = rgb(bytes[at + 2], bytes[at + 1], bytes[at]);
  }

  Picture out(w, h);
  if (isRunLength(l)) return decodeRunLength(bytes, l, palette, out) ? out : Picture();
  const std::size_t stride = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
  for (int row = 0; row < h; ++row) {
    const int y = l.info.topDown ? row : h - 1 - row;
    const std::uint8_t* src = bytes.data() + l.pixelOffset + stride * static_cast<std::size_t>(row);
    std::uint32_t* dst = out.ptr(0, y);
    switch (bpp) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / bpp;
        const int mask = (1 << bpp) - 1;
        for (int x = 0; x < w; ++x) {
          const int shift = (perByte - 1 - x % perByte) * bpp;
          const int index = (src[x / perByte] >> shift) & mask;
          dst[x] = palette[index];
        }
        break;
      }
      case 16:
        for (int x = 0; x < w; ++x) {
          const std::uint32_t v = src[2 * x] | src[2 * x + 1] << 8;
          dst[x] = rgb(expandMasked(v, l.masks[0]), expandMasked(v, l.masks[1]),
                       expandMasked(v, l.masks[2]));
        }
        break;
      case 24:
        for (int x = 0; x < w; ++x) dst[x] = rgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
      case 32:
        for (int x = 0; x < w; ++x) {
          const std::uint8_t* p = src + 4 * x;
          if (l.compression == kBiBitfields) {
            const std::uint32_t v = readLe32({p, 4}, 0);
            dst[x] = rgb(expandMasked(v, l.masks[0]), expandMasked(v, l.masks[1]),
                         expandMasked(v, l.masks[2]));
          } else {
            dst[x] = rgb(p[2], p[1], p[0]);
          }
        }
        break;
    }
  }
  return out;
}

}  // namespace tolvaro
