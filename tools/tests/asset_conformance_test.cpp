// Checks the generated asset tree against what the game loads: every picture's header byte for
// byte and its pixels as the game decodes them, placed where the screens draw them; the sounds,
// the icon, the animated cursor and the glyph set; and that the generator gives the same bytes
// every time. Sizes, depths, keys and places come from the game's catalogue and layout.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "assets/BitmapCatalogue.h"
#include "assets/Layout.h"
#include "assets/Sounds.h"
#include "base/Bmp.h"
#include "base/Bytes.h"
#include "base/GlyphFile.h"
#include "picture_measures.h"
#include "support/Bytes.h"
#include "wave_reader.h"

namespace fs = std::filesystem;

namespace tolvaro {
namespace {

using namespace assetcheck;
using testing::Bytes;
using testing::putLe16;
using testing::putLe32;

const fs::path kGenerated = TOLVARO_GENERATED_DIR;

Bytes readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool startsWith(const Bytes& file, const Bytes& head) {
  return file.size() >= head.size() && std::equal(head.begin(), head.end(), file.begin());
}

// What an uncompressed bottom-up BMP file of this size and depth starts with; 8-bit pictures
// carry a whole palette.
Bytes bmpHeader(int width, int height, int depth) {
  const int colours = depth == 8 ? 256 : 0;
  const int imageBytes = (width * depth + 31) / 32 * 4 * height;
  const int offset = 14 + 40 + 4 * colours;
  Bytes b = {'B', 'M'};
  putLe32(b, {offset + imageBytes, 0, offset, 40, width, height});
  putLe16(b, 1);
  putLe16(b, depth);
  putLe32(b, {0, imageBytes, 2835, 2835, colours, 0});
  return b;
}

// The picture as the game decodes it, once its header is the one expected.
Picture loadBmp(const fs::path& path, int width, int height, int depth) {
  const Bytes file = readAll(path);
  const Bytes header = bmpHeader(width, height, depth);
  EXPECT_TRUE(startsWith(file, header)) << path;
  EXPECT_EQ(file.size(), readLe32(header, 2)) << path;
  return decodeBitmap(file);
}

Picture resource(int id) {
  const BitmapEntry& e = bitmapEntry(id);
  return loadBmp(kGenerated / "bitmap" / (std::to_string(id) + ".bmp"), e.width, e.height, e.depth);
}

// --- resource bitmaps -----------------------------------------------------------------------

TEST(Bitmaps, EveryCatalogueEntryHasItsHeaderAndAPicture) {
  for (const BitmapEntry& e : kBitmapCatalogue) {
    SCOPED_TRACE("bitmap " + std::to_string(e.id));
    const Picture p = resource(e.id);
    ASSERT_EQ(p.width, e.width);
    ASSERT_EQ(p.height, e.height);
    // A real picture, not a flat fill.
    const std::set<std::uint32_t> colours(p.pixels.begin(), p.pixels.end());
    EXPECT_GE(colours.size(), e.width * e.height >= 20000 ? 64u : 8u);
  }
  const auto files = std::distance(fs::directory_iterator(kGenerated / "bitmap"), {});
  EXPECT_EQ(static_cast<std::size_t>(files), kBitmapCatalogue.size());
  EXPECT_EQ(kBitmapCatalogue.size(), 82u) << "80 loaded by the game, the dialog face, one unused";
}

TEST(Bitmaps, KeyedPicturesHaveTheirKeyAroundAndNoneInside) {
  int labels = 0;
  for (const BitmapEntry& e : kBitmapCatalogue) {
    if (e.key == ColourKey::None) continue;
    SCOPED_TRACE("bitmap " + std::to_string(e.id));
    const Picture p = resource(e.id);
    ASSERT_EQ(p.width, e.width);
    const std::uint32_t key = e.key == ColourKey::White ? kWhite : kBlack;
    for (int corner = 0; corner < 4; ++corner)
      EXPECT_EQ(p.at(corner % 2 * (e.width - 1), corner / 2 * (e.height - 1)), key);
    const int keyPixels = countColour(p, 0, 0, e.width, e.height, key);
    EXPECT_LT(keyPixels, e.width * e.height * 9 / 10) << "most of the picture is see-through";
    if (e.width == 75) {
      // Theme labels: two characters of lettering (with counters, holes by nature), and an
      // outer two-pixel frame all key.
      ++labels;
      EXPECT_GT(e.width * e.height - keyPixels, 400);
      EXPECT_EQ(countColour(p, 0, 0, e.width, 2, key), e.width * 2);
      EXPECT_EQ(countColour(p, 0, e.height - 2, e.width, e.height, key), e.width * 2);
      continue;
    }
    EXPECT_NE(p.at(e.width / 2, e.height / 2), key) << "centre must show";
    EXPECT_EQ(keyHoles(p, key), 0) << "key colour inside the shape would show through";
  }
  EXPECT_EQ(labels, 24) << "five buttons and three info boxes in three themes";
}

TEST(Bitmaps, ExitBoxButtonsLieUnderTheirHighlights) {
  const Picture box = resource(kExitBoxBitmap);
  const Picture highlights[2] = {resource(kExitYesBitmap), resource(kExitNoBitmap)};
  const int lefts[2] = {kExitYesHighlightX - kExitBoxRestX, kExitNoHighlightX - kExitBoxRestX};
  const int top = kExitHighlightY - kExitBoxY;
  const int w = highlights[0].width, h = highlights[0].height;
  for (int i = 0; i < 2; ++i) {
    const int left = lefts[i];
    SCOPED_TRACE("button at " + std::to_string(left));
    EXPECT_EQ(countColour(box, left, top, left + w, top + h, kBlack), 0) << "the box shows";
    // The box's own button ends inside the highlight: just outside it the box is its light
    // body, just inside its left end the darker button.
    for (int x = left - 1; x <= left + w; ++x) {
      EXPECT_GT(luminance(box.at(x, top - 1)), 200) << x;
      EXPECT_GT(luminance(box.at(x, top + h)), 200) << x;
    }
    for (int y = top - 1; y <= top + h; ++y) {
      EXPECT_GT(luminance(box.at(left - 1, y)), 200) << y;
      EXPECT_GT(luminance(box.at(left + w, y)), 200) << y;
    }
    EXPECT_LT(luminance(box.at(left + 8, top + 13)), 200);
    EXPECT_NE(highlights[i].at(8, 13), box.at(left + 8, top + 13)) << "the highlight differs";
  }
}

TEST(Bitmaps, SlotPanelShowsUnderEveryRowAndTheBackButton) {
  const Picture panel = resource(kSlotPanelBitmap);
  const BitmapSize row = bitmapSize(kSlotRowBitmap), back = bitmapSize(kSlotBackBitmap);
  const int left = g_slotRowX - g_slotPanelX;
  for (const int y : g_slotRowY) {
    const int top = y - g_slotPanelY;
    EXPECT_EQ(countColour(panel, left, top, left + row.width, top + row.height, kBlack), 0) << top;
  }
  const int backX = g_slotBackX - g_slotPanelX, backY = g_slotBackY - g_slotPanelY;
  EXPECT_EQ(countColour(panel, backX, backY, backX + back.width, backY + back.height, kBlack), 0);
}

TEST(Bitmaps, MenuMarkerIsASizeableRedBug) {
  const Picture marker = resource(kMenuMarkerBitmap);
  const int bug =
      marker.width * marker.height - countColour(marker, 0, 0, marker.width, marker.height, kWhite);
  EXPECT_GT(bug, marker.width * marker.height / 4);
  long redSum = 0, greenSum = 0;
  for (const std::uint32_t p : marker.pixels) {
    if (p == kWhite) continue;
    redSum += red(p);
    greenSum += green(p);
  }
  EXPECT_GT(redSum, greenSum * 2);
}

TEST(Bitmaps, RecordsBoardLeavesLightFieldsForThePinkValues) {
  const Picture board = resource(kRecordsBoardBitmap);
  // Name (7 bytes, 56 px), time and score (up to 4 digits, 32 px), each 16 px high.
  const std::map<int, int> columns = {
      {kRecordsNameColumn, 56}, {kRecordsTimeColumn, 32}, {kRecordsScoreColumn, 32}};
  for (const int top : kRecordsRowTop) {
    for (const auto& [x, width] : columns) {
      int darkest = 0;
      EXPECT_GT(meanLuminance(board, x, top, width, 16, &darkest), 225) << top << " " << x;
      EXPECT_GT(darkest, 170) << "row " << top << " column " << x;
    }
  }
}

TEST(Bitmaps, NameDialogLeavesThePlainAreaForTheEditBoxAndCarriesItsButtons) {
  const Picture face = resource(kNameDialogBitmap);
  int darkest = 0;
  EXPECT_GT(meanLuminance(face, 84, 72, 148, 24, &darkest), 245);
  EXPECT_GT(darkest, 230);
  int mismatches = 0;
  for (const auto& [id, x] :
       {std::pair{kDialogConfirmBitmap, kConfirmButtonX}, {kDialogClearBitmap, kClearButtonX}}) {
    const Picture button = resource(id);
    for (int y = 0; y < button.height; ++y) {
      for (int bx = 0; bx < button.width; ++bx)
        mismatches += face.at(x + bx, kDialogButtonY + y) != button.at(bx, y);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Bitmaps, ThemesAreBlueVioletAndTurquoise) {
  for (int theme = 0; theme < 3; ++theme) {
    for (const int id : {kThemeBitmaps[theme].background, kThemeBitmaps[theme].button}) {
      double r = 0, g = 0, b = 0;
      for (const std::uint32_t p : resource(id).pixels) r += red(p), g += green(p), b += blue(p);
      const double n = bitmapSize(id).width * bitmapSize(id).height;
      r /= n, g /= n, b /= n;
      const bool looks[3] = {b > r + 40 && b > g, b > g + 30 && r > g + 10,
                             g > r + 40 && b > r + 40};
      EXPECT_TRUE(looks[theme]) << id << " in theme " << theme << ": " << r << " " << g << " " << b;
    }
  }
}

// --- the lobby and records screens composed from their pictures -------------------------------

TEST(LobbyArt, RecordsBoardStandsInSceneryWithNoEmptyPanelBesideIt) {
  // A patch of one flat colour as large as a lobby button beside the board reads as an empty box.
  const BitmapSize board = bitmapSize(kRecordsBoardBitmap);
  const BitmapSize button = bitmapSize(kThemeBitmaps[0].button);
  const auto covered = [&](int x, int y) {
    return x >= kRecordsBoardX && x < kRecordsBoardX + board.width && y >= kRecordsBoardY &&
           y < kRecordsBoardY + board.height;
  };
  for (const ThemeBitmaps& theme : kThemeBitmaps) {
    const Picture background = resource(theme.background);
    const int largest = largestFlatPatch(background, covered);
    std::printf("background %d: largest flat patch beside the records board %d pixels\n",
                theme.background, largest);
    EXPECT_LT(largest, button.width * button.height) << "background " << theme.background;
  }
}

TEST(LobbyArt, InfoBoxesTitlesAndTheFramePanelFitTogether) {
  for (const ThemeBitmaps& theme : kThemeBitmaps) {
    SCOPED_TRACE("theme with title " + std::to_string(theme.title));
    // The game shows as many rows of every info box as theme 0's has: the last of them is the
    // bottom edge, one colour from side to side, the colour of the side edges.
    const Picture box = resource(theme.infoBox);
    constexpr int kShownRows = kInfoBoxShownSize.height;
    for (int x = 0; x < box.width; ++x)
      ASSERT_EQ(box.at(x, kShownRows - 1), box.at(0, kShownRows / 2)) << "bottom edge at " << x;
    // The title's sign (the columns that differ from the panel under it) is centred on the
    // playfield.
    const Picture title = resource(theme.title), frame = resource(theme.framePanel);
    const int ox = kLobbyTitleX - kLobbyPanelX, oy = kLobbyTitleY - kLobbyPanelRestY;
    ASSERT_LT(ox + title.width, frame.width);
    ASSERT_LT(oy + title.height, frame.height);
    int left = title.width, right = -1;
    for (int x = 0; x < title.width; ++x) {
      for (int y = 0; y < title.height; ++y) {
        if (channelGap(title.at(x, y), frame.at(ox + x, oy + y)) > 24)
          left = std::min(left, x), right = std::max(right, x);
      }
    }
    EXPECT_NEAR(kLobbyTitleX + (left + right) / 2.0, kLobbyPanelX + frame.width / 2.0, 1.0);
    // The lobby copies a 528 x 305 block of the title; a smaller title shows the panel beyond
    // its right and bottom edges, into which its edge steps by a palette's rounding and a
    // stroke's faint spill at most. With its sign 3 pixels further right and down, cut off by
    // the edges, it would step further.
    constexpr int kSmallStep = 16;
    const auto [seamRight, seamBottom] = titleSeam(title, frame, ox, oy);
    std::printf("title %d: steps %d into the frame panel at its right edge, %d at its bottom\n",
                theme.title, seamRight, seamBottom);
    EXPECT_LE(seamRight, kSmallStep);
    EXPECT_LE(seamBottom, kSmallStep);
    Picture shifted = title;
    for (int y = 0; y < title.height; ++y) {
      for (int x = 0; x < title.width; ++x)
        shifted.at(x, y) = title.at(std::max(0, x - 3), std::max(0, y - 3));
    }
    const auto [cutRight, cutBottom] = titleSeam(shifted, frame, ox, oy);
    EXPECT_GT(cutRight, kSmallStep);
    EXPECT_GT(cutBottom, kSmallStep);
  }
}

// --- working-directory pictures -------------------------------------------------------------

TEST(PictureFiles, BugAnimationHasItsFramesThatLoopSmoothly) {
  std::vector<Picture> frames;
  for (int n = 1; n <= kMenuBugFrameCount; ++n) {
    frames.push_back(loadBmp(kGenerated / "03_16" / ("chongzi" + std::to_string(n) + ".bmp"),
                             kMenuBugFrameWidth, kMenuBugFrameHeight, 24));
    ASSERT_FALSE(frames.back().empty()) << "frame " << n;
  }
  EXPECT_FALSE(fs::exists(kGenerated / "03_16" /
                          ("chongzi" + std::to_string(kMenuBugFrameCount + 1) + ".bmp")));
  const auto difference = [](const Picture& a, const Picture& b) {
    long d = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
      d += std::abs(red(a.pixels[i]) - red(b.pixels[i])) +
           std::abs(green(a.pixels[i]) - green(b.pixels[i])) +
           std::abs(blue(a.pixels[i]) - blue(b.pixels[i]));
    }
    return d;
  };
  long largestStep = 0;
  for (std::size_t i = 1; i < frames.size(); ++i) {
    const long step = difference(frames[i - 1], frames[i]);
    EXPECT_GT(step, 0) << "frame " << i + 1 << " moves";
    largestStep = std::max(largestStep, step);
  }
  const long wrap = difference(frames.back(), frames.front());
  EXPECT_GT(wrap, 0);
  EXPECT_LE(wrap, largestStep * 3 / 2) << "the last frame leads into the first like any step";
}

// The lowest contrast between a letter and its tile that the plain rounded tiles had (their P,
// 6.655): no tile may read worse than that.
constexpr double kLeastLetterContrast = 6.65;

Picture letterTile(int code) {
  return loadBmp(kGenerated / "charImg" / (std::to_string(code) + ".bmp"), kLetterTileSize,
                 kLetterTileSize, 24);
}

TEST(PictureFiles, LetterTilesAreDistinctAndLegible) {
  std::vector<Picture> tiles;
  for (int code = 'A'; code <= 'Z'; ++code) {
    SCOPED_TRACE("tile " + std::to_string(code));
    tiles.push_back(letterTile(code));
    const Picture& tile = tiles.back();
    ASSERT_EQ(tile.width, kLetterTileSize);
    // A bold dark letter on a light tile, as tall as a capital, standing out from its shell.
    const auto dark = std::count_if(tile.pixels.begin(), tile.pixels.end(),
                                    [](std::uint32_t p) { return luminance(p) < 90; });
    const auto light = std::count_if(tile.pixels.begin(), tile.pixels.end(),
                                     [](std::uint32_t p) { return luminance(p) > 150; });
    EXPECT_GT(dark, 20);
    EXPECT_GT(light, 100);
    const TileLetter letter = tileLetter(tile);
    EXPECT_GE(letter.contrast, kLeastLetterContrast);
    EXPECT_GE(letter.height, 10);
    EXPECT_GE(letter.inkPixels, 16);
  }
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    for (std::size_t j = i + 1; j < tiles.size(); ++j)
      EXPECT_NE(tiles[i].pixels, tiles[j].pixels) << "tiles " << i << " and " << j;
  }
}

// The legibility measure itself sees a letter washed out towards its shell, and one shrunk
// into a corner of it.
TEST(PictureFiles, LetterTileLegibilityMeasureCatchesFadedAndShrunkLetters) {
  const Picture tile = letterTile('H');
  const TileLetter letter = tileLetter(tile);
  ASSERT_GE(letter.contrast, kLeastLetterContrast);
  // The lightest pixel of the tile's middle is the shell's colour there.
  std::uint32_t pale = letter.ink;
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x)
      if (luminance(tile.at(x, y)) > luminance(pale)) pale = tile.at(x, y);
  }
  Picture faded = tile;
  for (std::uint32_t& p : faded.pixels) {
    if (p == letter.ink)
      p = rgb((red(p) + 2 * red(pale)) / 3, (green(p) + 2 * green(pale)) / 3,
              (blue(p) + 2 * blue(pale)) / 3);
  }
  EXPECT_LT(tileLetter(faded).contrast, kLeastLetterContrast);
  // Half size: every other row and column of the letter, on an emptied shell.
  Picture shrunk = tile;
  for (int y = 4; y < 18; ++y) {
    for (int x = 3; x < 17; ++x) shrunk.at(x, y) = pale;
  }
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 7; ++x) shrunk.at(7 + x, 7 + y) = tile.at(3 + 2 * x, 4 + 2 * y);
  }
  EXPECT_LT(tileLetter(shrunk).height, 10);
}

TEST(PictureFiles, IconIsOne32By32TwentyFourBitImageWithItsMask) {
  const Bytes file = readAll(kGenerated / "icon" / "141.ico");
  constexpr int kImageBytes = 32 * 96 + 32 * 4;  // 24-bit colour rows, then the 1-bit mask
  Bytes head = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0};
  putLe16(head, 1);
  putLe16(head, 24);
  putLe32(head, {40 + kImageBytes, 22, 40, 32, 64});  // the DIB counts colour and mask rows
  putLe16(head, 1);
  putLe16(head, 24);
  putLe32(head, {0, kImageBytes, 2835, 2835, 0, 0});
  EXPECT_TRUE(startsWith(file, head));
  EXPECT_EQ(file.size(), 22u + 40 + kImageBytes);
}

TEST(PictureFiles, AnimatedCursorIsARiffAconWithSeveralCursorFrames) {
  const Bytes b = readAll(kGenerated / "mouse6.ani");
  ASSERT_TRUE(startsWith(b, {'R', 'I', 'F', 'F'}) && b.size() >= 12);
  EXPECT_EQ(readLe32(b, 4), b.size() - 8);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "ACON");
  std::uint32_t declaredFrames = 0, declaredSteps = 0;
  int frames = 0;
  bool sawFrameList = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string tag(b.begin() + at, b.begin() + at + 4);
    const std::uint32_t size = readLe32(b, at + 4);
    ASSERT_LE(at + 8 + size, b.size()) << tag;
    if (tag == "anih") {
      EXPECT_EQ(size, 36u);
      EXPECT_EQ(readLe32(b, at + 8), 36u);
      declaredFrames = readLe32(b, at + 12);
      declaredSteps = readLe32(b, at + 16);
      EXPECT_TRUE(readLe32(b, at + 40) & 1) << "frames are icons";
    } else if (tag == "LIST") {
      EXPECT_EQ(std::string(b.begin() + at + 8, b.begin() + at + 12), "fram");
      sawFrameList = true;
      at += 12;
      continue;
    } else if (tag == "icon") {
      ++frames;
      const std::size_t cur = at + 8;
      EXPECT_EQ(readLe16(b, cur + 2), 2u) << "a cursor resource";
      EXPECT_EQ(readLe16(b, cur + 4), 1u);
      EXPECT_LT(readLe16(b, cur + 10), 32u) << "hot spot x";
      EXPECT_LT(readLe16(b, cur + 12), 32u) << "hot spot y";
      EXPECT_EQ(readLe32(b, cur + readLe32(b, cur + 18)), 40u) << "BITMAPINFOHEADER image";
    } else if (tag == "rate" || tag == "seq ") {
      EXPECT_EQ(size, declaredSteps * 4) << tag;
    }
    at += 8 + size + (size % 2);
  }
  EXPECT_TRUE(sawFrameList);
  EXPECT_GE(frames, 2);
  EXPECT_EQ(static_cast<std::uint32_t>(frames), declaredFrames);
}

// --- sounds ---------------------------------------------------------------------------------

constexpr int kPcmWaves[] = {kPlayMusicWave,   kClickWave,       kHoverWave, kMenuMusicWave,
                             kLobbyMusicWave,  kCatchWave,       kMissWave,  kAboutMusicWave,
                             kIntroJingleWave, kSpareFanfareWave};

Bytes waveFile(int id) {
  return readAll(kGenerated / "wave" / (std::to_string(id) + ".wav"));
}

TEST(Waves, PcmHeadersLevelsAndEnds) {
  const auto files = std::distance(fs::directory_iterator(kGenerated / "wave"), {});
  EXPECT_EQ(static_cast<std::size_t>(files), std::size(kPcmWaves) + 1) << "and the ADPCM chime";
  for (const int id : kPcmWaves) {
    SCOPED_TRACE("wave " + std::to_string(id));
    const Bytes file = waveFile(id);
    const auto w = assetcheck::decodeWave(file);
    ASSERT_TRUE(w.has_value());
    ASSERT_EQ(w->formatTag, 1);
    // The canonical 44-byte header of these fields, then the samples, padded to an even size.
    const std::size_t frames = w->samples.size() / w->channels;
    Bytes header = testing::makeWave(w->channels, w->rate, w->bits, frames, false);
    testing::patchLe32(header, 4, static_cast<std::int64_t>(file.size() - 8));
    header.resize(44);
    EXPECT_TRUE(startsWith(file, header));
    EXPECT_EQ(file.size(), (44 + frames * w->channels * w->bits / 8 + 1) / 2 * 2);
    double peak = 0, energy = 0;
    for (const double s : w->samples) peak = std::max(peak, std::abs(s)), energy += s * s;
    EXPECT_LT(peak, w->bits == 8 ? 127.0 / 128 : 32767.0 / 32768) << "no clipping";
    EXPECT_GT(peak, 0.3) << "not nearly silent";
    EXPECT_GT(std::sqrt(energy / w->samples.size()), 0.01);
    if (std::find(std::begin(kLoopingWaves), std::end(kLoopingWaves), id) ==
        std::end(kLoopingWaves)) {
      EXPECT_LT(std::abs(w->samples.back()), 0.02) << "one-shots end in silence";
      continue;
    }
    // The last sample leads into the first like any other step of the piece.
    for (int c = 0; c < w->channels; ++c) {
      double steps = 0;
      for (std::size_t f = 1; f < frames; ++f)
        steps += std::abs(w->samples[f * w->channels + c] - w->samples[(f - 1) * w->channels + c]);
      const double seam = std::abs(w->samples[c] - w->samples[(frames - 1) * w->channels + c]);
      EXPECT_LT(seam, 4 * steps / (frames - 1) + 0.002) << "channel " << c;
    }
  }
}

TEST(Waves, BonusChimeIsMonoMicrosoftAdpcmThatDecodesToASound) {
  const auto w = assetcheck::decodeWave(waveFile(kBonusChimeWave));
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->formatTag, 2);
  EXPECT_EQ(w->channels, 1);
  EXPECT_EQ(w->bits, 4);
  EXPECT_EQ(w->samplesPerBlock, (w->blockAlign - 7) * 2 + 2);
  // The seven standard predictors, which decoders with a fixed table assume.
  EXPECT_EQ(w->predictors,
            (std::vector<std::pair<int, int>>{
                {256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}}));
  ASSERT_TRUE(w->factSamples.has_value());
  EXPECT_NEAR(*w->factSamples / static_cast<double>(w->rate), 0.81, 0.001);
  ASSERT_EQ(w->samples.size(), *w->factSamples) << "every block decodes";
  double peak = 0;
  for (const double s : w->samples) peak = std::max(peak, std::abs(s));
  EXPECT_GT(peak, 0.3) << "not silence";
  EXPECT_LT(peak, 0.99) << "not clipped";
  EXPECT_LT(std::abs(w->samples.back()), 0.02) << "ends in silence";
}

TEST(Waves, ACatchSoundsAtLeast3DbLouderThanAMiss) {
  const auto catchWave = assetcheck::decodeWave(waveFile(kCatchWave));
  const auto missWave = assetcheck::decodeWave(waveFile(kMissWave));
  ASSERT_TRUE(catchWave && missWave);
  EXPECT_GE(assetcheck::loudestWindowDb(*catchWave) - assetcheck::loudestWindowDb(*missWave), 3.0);
}

// --- glyph set ------------------------------------------------------------------------------

class GlyphFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(file_.size(), glyphfile::kFileSize); }
  // Rows of a glyph, the leftmost pixel in bit 7 (half width) or bit 15 (full width).
  std::vector<int> half(int code) const {
    std::vector<int> rows;
    for (int r = 0; r < 16; ++r) rows.push_back(file_[glyphfile::halfGlyphOffset(code) + r]);
    return rows;
  }
  std::vector<int> full(int lead, int trail) const {
    const std::size_t at = glyphfile::fullGlyphOffset(lead, trail);
    std::vector<int> rows;
    for (int r = 0; r < 16; ++r) rows.push_back(file_[at + 2 * r] << 8 | file_[at + 2 * r + 1]);
    return rows;
  }
  static int inkRows(const std::vector<int>& rows) {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](int r) { return r != 0; }));
  }
  static int lowestInkRow(const std::vector<int>& rows) {
    for (int r = 15; r >= 0; --r)
      if (rows[r] != 0) return r;
    return -1;
  }
  const Bytes file_ = readAll(kGenerated / "glyphs" / "gbk16.bin");
};

TEST_F(GlyphFile, HeaderIsExact) {
  EXPECT_TRUE(startsWith(file_, {'T', 'G', 'L', 'Y', 1, 0, 16, 8, 16, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(GlyphFile, HalfWidthCoversPrintableAsciiOnOneBaseline) {
  for (int code = 0x21; code <= 0x7E; ++code) EXPECT_GT(inkRows(half(code)), 0) << code;
  for (int code : {0x00, 0x0A, 0x20, 0x7F, 0x80, 0xA1, 0xFF})
    EXPECT_EQ(inkRows(half(code)), 0) << code;
  const int baseline = lowestInkRow(half('A'));
  for (int code : {'H', 'x', '1'}) EXPECT_EQ(lowestInkRow(half(code)), baseline) << code;
  EXPECT_GT(lowestInkRow(half('g')), baseline) << "descender below the baseline";
  EXPECT_GE(inkRows(half('A')), 9) << "capitals are about 10 rows tall";
}

TEST_F(GlyphFile, KnownCharactersAreDrawnAndCodesThatAreNoneStayBlank) {
  EXPECT_GE(inkRows(full(0xD6, 0xD0)), 12);  // 中
  EXPECT_GE(inkRows(full(0xFD, 0x88)), 12);  // 龍
  EXPECT_GE(inkRows(full(0xB0, 0xA1)), 10);  // 啊
  EXPECT_GT(inkRows(full(0xA1, 0xA3)), 0);   // 。
  EXPECT_GT(inkRows(full(0xA3, 0xA1)), 0);   // ！ (full-width)
  EXPECT_GT(inkRows(full(0xD7, 0xD6)), 0);   // 字
  EXPECT_NE(full(0xD6, 0xD0), full(0xFD, 0x88));
  // Unassigned in GBK, and two codes of the user-defined areas.
  for (const auto& [lead, trail] : {std::pair{0xA2, 0xA0}, {0xAA, 0xA1}, {0xF8, 0xFE}})
    EXPECT_EQ(inkRows(full(lead, trail)), 0) << lead << " " << trail;
  // Coverage: the GBK repertoire has about 21,800 characters; trail 0x7F is none.
  int drawn = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    EXPECT_EQ(inkRows(full(lead, 0x7F)), 0) << lead;
    for (int trail = 0x40; trail <= 0xFE; ++trail) drawn += inkRows(full(lead, trail)) > 0;
  }
  EXPECT_GT(drawn, 21000);
  EXPECT_LT(drawn, 22000);
}

// --- the generator --------------------------------------------------------------------------

TEST(Generator, GivesTheSameBytesAgainAndAnOverrideFileTakesItsPlace) {
  // Run again with the project's overrides and two more: those two files hold the override's
  // bytes, every other file the same bytes as the build's own run.
  const fs::path scratch =
      fs::temp_directory_path() / ("tolvaro_again_" + std::to_string(getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  fs::copy(TOLVARO_ASSET_OVERRIDES_DIR, scratch / "overrides", fs::copy_options::recursive);
  const std::map<fs::path, Bytes> overridden = {
      {"bitmap/143.bmp", readAll(kGenerated / "bitmap" / "157.bmp")},
      {"charImg/65.bmp", readAll(kGenerated / "charImg" / "66.bmp")}};
  for (const auto& [relative, bytes] : overridden) {
    fs::create_directories((scratch / "overrides" / relative).parent_path());
    std::ofstream(scratch / "overrides" / relative, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  const std::string command = std::string("\"") + TOLVARO_ASSETGEN_EXE + "\" \"" +
                              (scratch / "out").string() + "\" \"" +
                              (scratch / "overrides").string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(scratch / "out")) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), scratch / "out");
    const auto given = overridden.find(relative);
    EXPECT_EQ(readAll(entry.path()),
              given != overridden.end() ? given->second : readAll(kGenerated / relative))
        << relative;
    ++compared;
  }
  EXPECT_GT(compared, 82 + 49 + 26 + 10);
  fs::remove_all(scratch);
}

}  // namespace
}  // namespace tolvaro
