// Building the bytes of the binary formats the program reads: little-endian fields, BMP files
// and bare DIBs, RIFF WAVE files.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace tolvaro::testing {

using Bytes = std::vector<std::uint8_t>;

inline std::span<const std::uint8_t> bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

inline void putLe16(Bytes& b, std::int64_t v) {
  for (int i = 0; i < 2; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void putLe32(Bytes& b, std::int64_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void putLe32(Bytes& b, std::initializer_list<std::int64_t> values) {
  for (std::int64_t v : values) putLe32(b, v);
}
inline void patchLe32(Bytes& b, std::size_t at, std::int64_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct BmpLayout {
  int bitsPerPixel = 24;
  bool topDown = false;
  bool fileHeader = true;
  std::vector<std::uint32_t> palette = {};  // 0xRRGGBB, stored as B, G, R, 0
};

// A bitmap of `width` pixels with the given rows (top row first) of raw pixel values: palette
// indices for 1, 4 and 8 bits, 0xRRGGBB for 24 bits. Row padding is 0xCD, which a reader must
// ignore.
inline Bytes makeBmp(int width, const std::vector<std::vector<std::uint32_t>>& rows,
                     const BmpLayout& layout = {}) {
  const int height = static_cast<int>(rows.size());
  const int bpp = layout.bitsPerPixel;
  const int stride = ((width * bpp + 31) / 32) * 4;
  const auto colours = static_cast<std::int64_t>(layout.palette.size());
  Bytes dib;
  putLe32(dib, {40, width, layout.topDown ? -height : height});
  putLe16(dib, 1);
  putLe16(dib, bpp);
  putLe32(dib, {0, stride * height, 2835, 2835, colours, 0});
  for (std::uint32_t c : layout.palette) putLe32(dib, c);
  for (int r = 0; r < height; ++r) {
    const auto& row = rows[layout.topDown ? r : height - 1 - r];
    Bytes line(static_cast<std::size_t>(stride), 0xCD);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = row[static_cast<std::size_t>(x)];
      if (bpp == 24) {
        for (int i = 0; i < 3; ++i) line[3 * x + i] = static_cast<std::uint8_t>(v >> (8 * i));
        continue;
      }
      const int perByte = 8 / bpp;
      auto& byte = line[x / perByte];
      if (x % perByte == 0) byte = 0;
      byte = static_cast<std::uint8_t>(byte | v << ((perByte - 1 - x % perByte) * bpp));
    }
    dib.insert(dib.end(), line.begin(), line.end());
  }
  if (!layout.fileHeader) return dib;
  Bytes file = {'B', 'M'};
  putLe32(file, {14 + static_cast<std::int64_t>(dib.size()), 0, 14 + 40 + 4 * colours});
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

// A PCM WAVE file of `frames` sample frames of 0x80, with a LIST chunk of odd size before the
// format chunk when asked.
inline Bytes makeWave(int channels, int rate, int bits, std::size_t frames, bool listFirst) {
  Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  if (listFirst) {
    b.insert(b.end(), {'L', 'I', 'S', 'T'});
    putLe32(b, 5);
    b.insert(b.end(), {'I', 'N', 'F', 'O', 'x', 0});  // padded to an even size
  }
  b.insert(b.end(), {'f', 'm', 't', ' '});
  putLe32(b, 16);
  putLe16(b, 1);
  putLe16(b, channels);
  putLe32(b, rate);
  putLe32(b, rate * channels * bits / 8);
  putLe16(b, channels * bits / 8);
  putLe16(b, bits);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  const std::size_t bytes = frames * static_cast<std::size_t>(channels * bits / 8);
  putLe32(b, static_cast<std::int64_t>(bytes));
  b.resize(b.size() + bytes, 0x80);
  return b;
}

}  // namespace tolvaro::testing
