// Decoding of the bitmaps and sounds the program reads, from exact bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/Bmp.h"
#include "base/Wave.h"
#include "support/Bytes.h"

namespace tolvaro::testing {
namespace {

using Rows = std::vector<std::vector<std::uint32_t>>;

// True colour bottom-up and top-down, with and without the file header; palettes of 8, 4 and 1
// bits.
TEST(Bitmap, EveryDepthAndLayoutDecodesToItsPixels) {
  const Rows rows = {{0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0xFFFFFF, 0x000000}};
  for (bool topDown : {false, true}) {
    for (bool header : {false, true}) {
      const Picture p = decodeBitmap(makeBmp(3, rows, {.topDown = topDown, .fileHeader = header}));
      ASSERT_EQ(p.height, 2);
      EXPECT_EQ(p.pixels, (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0x123456,
                                                      0xFFFFFF, 0x000000}));
    }
  }
  const std::vector<std::uint32_t> palette = {0x000000, 0xFF8000, 0x00FFFF, 0xABCDEF};
  for (int bpp : {8, 4, 1}) {
    const Rows indices = {{1, 0, 1, 1, 0}, {0, 0, 0, 1, 1}};
    const Picture p = decodeBitmap(makeBmp(5, indices, {.bitsPerPixel = bpp, .palette = palette}));
    ASSERT_EQ(p.width, 5) << bpp;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p.pixels[i], palette[indices[i / 5][i % 5]]) << bpp;
  }
}

// The plain file's header with run-length codes (compression 1 for 8 bits, 2 for 4) as pixels.
Bytes runLength(Bytes plain, int compression, const Bytes& codes) {
  const std::size_t pixels = plain[10] | plain[11] << 8;
  plain.resize(pixels);
  patchLe32(plain, 30, compression);
  patchLe32(plain, 34, static_cast<std::int64_t>(codes.size()));
  plain.insert(plain.end(), codes.begin(), codes.end());
  patchLe32(plain, 2, static_cast<std::int64_t>(plain.size()));
  return plain;
}

// Mended: run-length-encoded bitmap files decode as Windows reads them, pixel for pixel the same
// picture as the plain file: runs, absolute pixels, a move, and pixels the codes skip left at
// palette entry 0. Codes that run out before the end code give no picture.
TEST(Bitmap, RunLengthPicturesDecodeAsTheirPlainForm) {
  const std::vector<std::uint32_t> palette = {0x102030, 0xFF0000, 0x00FF00, 0x0000FF};
  const Rows rows = {{0, 3, 0, 0}, {2, 3, 1, 2}, {1, 1, 1, 0}};  // top row first
  // Bottom row first: a run of three, end of line; four absolute pixels, end of line; a move one
  // to the right, a run of one, end of picture.
  const Bytes rle8 = {3, 1, 0, 0, 0, 4, 2, 3, 1, 2, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1};
  const Bytes rle4 = {3, 0x11, 0, 0, 0, 4, 0x23, 0x12, 0, 0, 0, 2, 1, 0, 1, 0x30, 0, 1};
  for (const auto& [bpp, codes] : {std::pair{8, rle8}, std::pair{4, rle4}}) {
    SCOPED_TRACE(::testing::Message() << bpp << " bits");
    const Bytes plain = makeBmp(4, rows, {.bitsPerPixel = bpp, .palette = palette});
    const Bytes coded = runLength(plain, bpp == 8 ? 1 : 2, codes);
    const Picture expected = decodeBitmap(plain);
    const Picture decoded = decodeBitmap(coded);
    ASSERT_EQ(decoded.width, 4);
    ASSERT_EQ(decoded.height, 3);
    EXPECT_EQ(decoded.pixels, expected.pixels);
    EXPECT_EQ(decoded.at(3, 2), 0x102030u);
    EXPECT_TRUE(decodeBitmap(std::span(coded).first(coded.size() - 2)).empty()) << "no end code";
    Bytes topDown = coded;
    patchLe32(topDown, 22, -3);
    EXPECT_TRUE(decodeBitmap(topDown).empty()) << "run-length pictures are bottom-up";
  }
  // A few bytes of codes cannot claim a picture of a gigabyte.
  const Bytes plain = makeBmp(4, rows, {.bitsPerPixel = 8, .palette = palette});
  Bytes huge = runLength(plain, 1, rle8);
  patchLe32(huge, 18, 16384);
  patchLe32(huge, 22, 16384);
  EXPECT_TRUE(decodeBitmap(huge).empty());
}

TEST(Bitmap, MalformedInputGivesAnEmptyPicture) {
  const Bytes good = makeBmp(4, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  ASSERT_FALSE(decodeBitmap(good).empty());
  for (std::size_t cut : {std::size_t{0}, std::size_t{10}, std::size_t{30}, good.size() - 1}) {
    EXPECT_TRUE(decodeBitmap(std::span(good).first(cut)).empty()) << cut;
  }
  struct Patch {
    std::size_t at;
    std::int64_t value;
    const char* what;
  };
  const Patch patches[] = {{18, 0, "width 0"},
                           {18, 100000, "absurd width"},
                           {22, -2147483647 - 1, "most negative height"},
                           {30, 1, "run-length compressed"},
                           {10, 0x7FFFFFF0, "pixels beyond the file"},
                           {14, 7, "unknown header size"}};
  for (const Patch& p : patches) {
    Bytes b = good;
    patchLe32(b, p.at, p.value);
    EXPECT_TRUE(decodeBitmap(b).empty()) << p.what;
  }
  EXPECT_TRUE(decodeBitmap(bytesOf("BM not a bitmap at all")).empty());
}

TEST(Wave, PcmFormatAndLengthAndBrokenFiles) {
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
  // Broken files are refused, and a file cut inside its data plays what it has.
  Bytes wave = makeWave(1, 22050, 16, 22050, false);
  EXPECT_FALSE(parseWave(std::span(wave).first(20)));
  Bytes noRiff = wave;
  noRiff[0] = 'X';
  EXPECT_FALSE(parseWave(noRiff));
  Bytes zeroRate = wave;
  patchLe32(zeroRate, 24, 0);
  EXPECT_FALSE(parseWave(zeroRate));
  const auto cut = parseWave(std::span(wave).first(wave.size() - 22050));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->durationMs(), 500);
}

// Mono Microsoft ADPCM at 8000 Hz in blocks of 32 bytes (52 samples): two whole blocks and a
// last one of 13 bytes, which holds the 2 samples of its header and 12 more. The fact chunk
// says 117: the last byte's low nibble is padding.
Bytes adpcmWave() {
  Bytes b = {'R', 'I', 'F', 'F', 160, 0, 0, 0, 'W', 'A', 'V', 'E',
             'f', 'm', 't', ' ', 50, 0, 0, 0,
             2, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x3B, 0x13, 0, 0, 32, 0, 4, 0,  // 4923 bytes/s
             32, 0, 52, 0, 7, 0,                                         // cbSize, per block
             0, 1, 0, 0, 0, 2, 0, 0xFF, 0, 0, 0, 0, 192, 0, 64, 0,
             240, 0, 0, 0, 204, 1, 48, 0xFF, 136, 1, 24, 0xFF,
             'f', 'a', 'c', 't', 4, 0, 0, 0, 117, 0, 0, 0,
             'd', 'a', 't', 'a', 77, 0, 0, 0};
  b.resize(b.size() + 78, 0);  // the data and its pad byte
  return b;
}
constexpr std::size_t kFactAt = 70, kFactValueAt = 78;

TEST(Wave, AdpcmLengthIsTheFactChunksWhenTheBlocksHoldIt) {
  const Bytes wave = adpcmWave();
  const auto stated = parseWave(wave);
  ASSERT_TRUE(stated);
  EXPECT_EQ(stated->formatTag, 2);
  EXPECT_EQ(stated->dataOffset, 90u);
  EXPECT_EQ(stated->dataBytes, 77u);
  EXPECT_EQ(stated->frames, 117u);
  EXPECT_EQ(stated->durationMs(), 15);
  // Without a fact chunk (here renamed to one nobody knows), the blocks tell, the last one too.
  Bytes noFact = wave;
  std::memcpy(noFact.data() + kFactAt, "junk", 4);
  ASSERT_TRUE(parseWave(noFact));
  EXPECT_EQ(parseWave(noFact)->frames, 2 * 52 + 14u);
  // A fact chunk claiming more than the blocks hold, or nothing, is not believed.
  for (std::int64_t lie : {119LL, 100000LL, 0xFFFFFFFFLL, 0LL}) {
    Bytes lying = wave;
    patchLe32(lying, kFactValueAt, lie);
    ASSERT_TRUE(parseWave(lying)) << lie;
    EXPECT_EQ(parseWave(lying)->frames, 118u) << lie;
  }
  // The fact chunk may follow the data.
  Bytes factLast = wave;
  factLast.erase(factLast.begin() + kFactAt, factLast.begin() + kFactAt + 12);
  factLast.insert(factLast.end(), wave.begin() + kFactAt, wave.begin() + kFactAt + 12);
  ASSERT_TRUE(parseWave(factLast));
  EXPECT_EQ(parseWave(factLast)->frames, 117u);
}

}  // namespace
}  // namespace tolvaro::testing
