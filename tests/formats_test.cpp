// Decoding of the bitmaps and sounds the program reads, from exact bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "assets/Bmp.h"
#include "assets/Wave.h"

namespace tolvaro {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, int v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::int64_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BMP of `bpp` bits with the given rows (top row first) of raw pixel values: palette indices
// for 1, 4 and 8 bits, 0xRRGGBB for 24 bits.
Bytes makeBmp(int w, const std::vector<std::vector<std::uint32_t>>& rows, int bpp, bool topDown,
              bool fileHeader, const std::vector<std::uint32_t>& palette = {}) {
  const int h = static_cast<int>(rows.size());
  const int stride = ((w * bpp + 31) / 32) * 4;
  Bytes dib;
  put32(dib, 40);
  put32(dib, w);
  put32(dib, topDown ? -h : h);
  put16(dib, 1);
  put16(dib, bpp);
  put32(dib, 0);
  put32(dib, stride * h);
  put32(dib, 2835);
  put32(dib, 2835);
  put32(dib, static_cast<std::int64_t>(palette.size()));
  put32(dib, 0);
  for (std::uint32_t c : palette) put32(dib, c);  // B, G, R, 0 in little-endian order
  for (int r = 0; r < h; ++r) {
    const auto& row = rows[topDown ? r : h - 1 - r];
    Bytes line(static_cast<std::size_t>(stride), 0xCD);  // padding must be ignored
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = row[static_cast<std::size_t>(x)];
      if (bpp == 24) {
        line[3 * x] = static_cast<std::uint8_t>(v);
        line[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        line[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
      } else {
        const int perByte = 8 / bpp;
        const int shift = (perByte - 1 - x % perByte) * bpp;
        auto& byte = line[x / perByte];
        if (x % perByte == 0) byte = 0;
        byte = static_cast<std::uint8_t>(byte | v << shift);
      }
    }
    dib.insert(dib.end(), line.begin(), line.end());
  }
  if (!fileHeader) return dib;
  Bytes file = {'B', 'M'};
  put32(file, 14 + static_cast<std::int64_t>(dib.size()));
  put32(file, 0);
  put32(file, 14 + 40 + 4 * static_cast<std::int64_t>(palette.size()));
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

TEST(Bitmap, TrueColourBottomUpTopDownWithAndWithoutFileHeader) {
  const std::vector<std::vector<std::uint32_t>> rows = {{0xFF0000, 0x00FF00, 0x0000FF},
                                                        {0x123456, 0xFFFFFF, 0x000000}};
  for (bool topDown : {false, true}) {
    for (bool header : {false, true}) {
      const Picture p = decodeBitmap(makeBmp(3, rows, 24, topDown, header));
      ASSERT_EQ(p.width, 3);
      ASSERT_EQ(p.height, 2);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(p.at(x, y), rows[y][x]) << x << "," << y;
    }
  }
}

TEST(Bitmap, PaletteDepths) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xFF8000, 0x00FFFF, 0xABCDEF};
  const std::vector<std::vector<std::uint32_t>> rows = {{0, 1, 2, 3, 1}, {3, 3, 0, 1, 2}};
  for (int bpp : {8, 4}) {
    const Picture p = decodeBitmap(makeBmp(5, rows, bpp, false, true, palette));
    ASSERT_EQ(p.width, 5) << bpp;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(p.at(x, y), palette[rows[y][x]]) << bpp;
  }
  const std::vector<std::vector<std::uint32_t>> bits = {{1, 0, 1, 1, 0, 0, 0, 1, 1}};
  const Picture mono = decodeBitmap(makeBmp(9, bits, 1, true, false, {0x000000, 0xFFFFFF}));
  ASSERT_EQ(mono.width, 9);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(mono.at(x, 0), bits[0][x] ? 0xFFFFFFu : 0u);
}

TEST(Bitmap, MalformedInputGivesAnEmptyPicture) {
  const Bytes good = makeBmp(4, {{1, 2, 3, 4}, {5, 6, 7, 8}}, 24, false, true);
  ASSERT_FALSE(decodeBitmap(good).empty());
  for (std::size_t cut : {std::size_t{0}, std::size_t{10}, std::size_t{30}, good.size() - 1}) {
    EXPECT_TRUE(decodeBitmap(std::span(good).first(cut)).empty()) << cut;
  }
  auto patched = [&](std::size_t at, std::int64_t value) {
    Bytes b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return b;
  };
  EXPECT_TRUE(decodeBitmap(patched(18, 0)).empty());                // width 0
  EXPECT_TRUE(decodeBitmap(patched(18, 100000)).empty());           // absurd width
  EXPECT_TRUE(decodeBitmap(patched(22, -2147483647 - 1)).empty());  // most negative height
  EXPECT_TRUE(decodeBitmap(patched(30, 1)).empty());                // run-length compressed
  EXPECT_TRUE(decodeBitmap(patched(10, 0x7FFFFFF0)).empty());       // pixels beyond the file
  EXPECT_TRUE(decodeBitmap(patched(14, 7)).empty());                // unknown header size
  const std::string text = "BM not a bitmap at all";
  EXPECT_TRUE(
      decodeBitmap(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))
          .empty());
}

Bytes makeWave(int channels, int rate, int bits, std::size_t frames, bool listFirst) {
  Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  if (listFirst) {
    b.insert(b.end(), {'L', 'I', 'S', 'T'});
    put32(b, 5);
    b.insert(b.end(), {'I', 'N', 'F', 'O', 'x', 0});  // odd size, padded
  }
  b.insert(b.end(), {'f', 'm', 't', ' '});
  put32(b, 16);
  put16(b, 1);
  put16(b, channels);
  put32(b, rate);
  put32(b, rate * channels * bits / 8);
  put16(b, channels * bits / 8);
  put16(b, bits);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  const std::size_t bytes = frames * static_cast<std::size_t>(channels * bits / 8);
  put32(b, static_cast<std::int64_t>(bytes));
  b.resize(b.size() + bytes, 0x80);
  return b;
}

TEST(Wave, FormatAndLengthOfPcm) {
  const auto stereo = parseWave(makeWave(2, 44100, 16, 162729, false));
  ASSERT_TRUE(stereo);
  EXPECT_EQ(stereo->channels, 2);
  EXPECT_EQ(stereo->sampleRate, 44100);
  EXPECT_EQ(stereo->bitsPerSample, 16);
  EXPECT_EQ(stereo->durationMs(), 3690);
  const auto mono8 = parseWave(makeWave(1, 19886, 8, 68010, true));
  ASSERT_TRUE(mono8);
  EXPECT_EQ(mono8->bitsPerSample, 8);
  EXPECT_EQ(mono8->durationMs(), 3420);
}

TEST(Wave, BrokenFilesAreRefusedOrCutShort) {
  Bytes wave = makeWave(1, 22050, 16, 22050, false);
  EXPECT_FALSE(parseWave(std::span(wave).first(20)));
  Bytes noRiff = wave;
  noRiff[0] = 'X';
  EXPECT_FALSE(parseWave(noRiff));
  Bytes zeroRate = wave;
  std::memset(&zeroRate[24], 0, 4);
  EXPECT_FALSE(parseWave(zeroRate));
  // A file cut inside its data plays what it has.
  const auto cut = parseWave(std::span(wave).first(wave.size() - 22050));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->durationMs(), 500);
}

}  // namespace
}  // namespace tolvaro
