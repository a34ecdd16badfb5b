// The back buffer's drawing: copies, colour keys, fills and the game's own text.
#include <gtest/gtest.h>

#include "base/Picture.h"
#include "base/Text.h"
#include "frame/Frame.h"
#include "support/Harness.h"

namespace tolvaro {
namespace {

Picture checker(int w, int h, std::uint32_t a, std::uint32_t b) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.at(x, y) = ((x + y) % 2) ? a : b;
  return p;
}

// Every pixel that differs between two pictures lies inside the rectangle.
void expectChangesInside(const Picture& before, const Picture& after, int left, int top, int right,
                         int bottom) {
  for (int y = 0; y < before.height; ++y)
    for (int x = 0; x < before.width; ++x)
      if (before.at(x, y) != after.at(x, y)) {
        ASSERT_TRUE(x >= left && x < right && y >= top && y < bottom) << x << "," << y;
      }
}

TEST(Drawing, OpaqueCopyIsClippedToTargetAndSource) {
  Picture target(10, 8, 0x111111);
  const Picture source = checker(4, 3, 0xAA0000, 0x00BB00);
  copyOpaque(target, source, 8, 6, 40, 40);  // larger block than the picture, past the edge
  EXPECT_EQ(target.at(8, 6), source.at(0, 0));
  EXPECT_EQ(target.at(9, 7), source.at(1, 1));
  EXPECT_EQ(target.at(7, 6), 0x111111u);
  copyOpaque(target, source, -2, -1);
  EXPECT_EQ(target.at(0, 0), source.at(2, 1));
  EXPECT_EQ(target.at(1, 1), source.at(3, 2));
  EXPECT_EQ(target.at(2, 0), 0x111111u);
  const Picture before = target;
  copyOpaque(target, Picture(), 0, 0, 5, 5);  // a picture that failed to load draws nothing
  copyOpaque(target, source, 10, 0);
  copyOpaque(target, source, -4, 0);
  EXPECT_EQ(target.pixels, before.pixels);
}

TEST(Drawing, KeyedCopyLeavesOutOnlyTheKeyColour) {
  for (std::uint32_t key : {kWhite, kBlack}) {
    Picture target(6, 6, 0x123456);
    Picture source(3, 3, key);
    source.at(1, 1) = 0xFF0000;
    source.at(2, 2) = key ^ 0x000001;  // one step off the key still shows
    copyKeyed(target, source, 2, 2, key);
    EXPECT_EQ(target.at(3, 3), 0xFF0000u);
    EXPECT_EQ(target.at(4, 4), key ^ 0x000001u);
    EXPECT_EQ(target.at(2, 2), 0x123456u);
    EXPECT_EQ(target.at(3, 2), 0x123456u);
  }
}

TEST(Drawing, FillCoversLeftTopInclusiveRightBottomExclusive) {
  Picture target(10, 10, 0xFFFFFF);
  fillRect(target, 2, 3, 5, 7, kBlack);
  EXPECT_EQ(target.at(2, 3), kBlack);
  EXPECT_EQ(target.at(4, 6), kBlack);
  EXPECT_EQ(target.at(5, 6), kWhite);
  EXPECT_EQ(target.at(4, 7), kWhite);
  const Picture before = target;
  fillRect(target, 6, 0, 6, 10, kBlack);  // empty
  fillRect(target, 9, 0, 3, 10, kBlack);  // inverted
  EXPECT_EQ(target.pixels, before.pixels);
  fillRect(target, -5, -5, 100, 1, kBlack);  // clipped
  EXPECT_EQ(target.at(9, 0), kBlack);
  EXPECT_EQ(target.at(9, 1), kWhite);
}

TEST(Drawing, StretchingIsNearestNeighbour) {
  const Picture source = checker(2, 2, 0xFF0000, 0x0000FF);
  const Picture big = stretched(source, 20, 20);
  ASSERT_EQ(big.width, 20);
  EXPECT_EQ(big.at(0, 0), source.at(0, 0));
  EXPECT_EQ(big.at(9, 9), source.at(0, 0));
  EXPECT_EQ(big.at(10, 0), source.at(1, 0));
  EXPECT_EQ(big.at(19, 19), source.at(1, 1));
  EXPECT_TRUE(stretched(Picture(), 20, 20).empty());
}

// "Ab中文" in GBK.
constexpr char kMixedText[] = "Ab\xD6\xD0\xCE\xC4";

TEST(Text, GbkTextLandsAtItsPlaceInTheTextColourAndTouchesNothingElse) {
  testing::Harness h;
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(g_glyphs.loaded());
  fillRect(g_backBuffer, 0, 0, 1024, 768, rgb(10, 60, 90));
  const Picture before = g_backBuffer;
  drawText(100, 200, kMixedText);
  // A and b take 8 pixels each, the two characters 16 each, all 16 high.
  expectChangesInside(before, g_backBuffer, 100, 200, 148, 216);
  int inked[4] = {0, 0, 0, 0};
  const int cellStart[5] = {100, 108, 116, 132, 148};
  for (int y = 200; y < 216; ++y)
    for (int x = 100; x < 148; ++x) {
      if (g_backBuffer.at(x, y) == before.at(x, y)) continue;
      EXPECT_EQ(g_backBuffer.at(x, y), kTextColour);
      for (int c = 0; c < 4; ++c)
        if (x >= cellStart[c] && x < cellStart[c + 1]) ++inked[c];
    }
  for (int c = 0; c < 4; ++c) EXPECT_GT(inked[c], 8) << "character " << c << " left no ink";
  // The two Chinese characters differ from each other.
  bool differ = false;
  for (int y = 200; y < 216; ++y)
    for (int x = 0; x < 16; ++x)
      differ |= g_backBuffer.at(116 + x, y) != g_backBuffer.at(132 + x, y);
  EXPECT_TRUE(differ);
  h.screenshot("text-mixed");
}

TEST(Text, TextAtTheEdgesIsClipped) {
  testing::Harness h;
  ASSERT_TRUE(h.start());
  fillRect(g_backBuffer, 0, 0, 1024, 768, kBlack);
  drawText(1016, 760, kMixedText);
  drawText(-12, -10, kMixedText);
  int inked = 0;
  for (std::uint32_t p : g_backBuffer.pixels) inked += p == kTextColour;
  EXPECT_GT(inked, 0);
}

TEST(Text, WidthsAndCutsFollowWholeCharacters) {
  EXPECT_EQ(GlyphSet::measure(kMixedText), 48);
  EXPECT_EQ(GlyphSet::measure("\xD6"), 8);       // a lone lead byte is one cell
  EXPECT_EQ(GlyphSet::measure("\x81\x7F"), 16);  // 0x7F is no trail byte
  EXPECT_EQ(gbkPrefix("abc\xD6\xD0\xCE\xC4xyz", 7), "abc\xD6\xD0\xCE\xC4");
  EXPECT_EQ(gbkPrefix("abcd\xD6\xD0\xCE\xC4xyz", 7), "abcd\xD6\xD0");
  EXPECT_EQ(gbkPrefix("abcd\xD6\xD0\xCE\xC4", 7), "abcd\xD6\xD0");
  EXPECT_EQ(gbkPrefix("abcde\xD6\xD0\xCE\xC4", 7), "abcde\xD6\xD0");
  EXPECT_EQ(gbkPrefix("abcdef\xD6\xD0", 7), "abcdef");
  EXPECT_EQ(gbkPrefix("\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4", 7), "\xD6\xD0\xCE\xC4\xD6\xD0");
  EXPECT_EQ(gbkPrefix("abcdefghij", 7), "abcdefg");
}

TEST(Text, AMalformedGlyphFileDrawsNothing) {
  GlyphSet glyphs;
  const std::vector<std::uint8_t> junk(100, 0xFF);
  EXPECT_FALSE(glyphs.load(junk));
  Picture target(64, 32, kBlack);
  EXPECT_EQ(glyphs.draw(target, 0, 0, "AB", kTextColour), 16);
  for (std::uint32_t p : target.pixels) ASSERT_EQ(p, kBlack);
}

}  // namespace
}  // namespace tolvaro
