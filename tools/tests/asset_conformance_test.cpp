// Checks the generated asset tree against what the game expects to load: every picture at its
// exact size, depth and colour key; the WAVE formats and lengths; the icon, the animated cursor,
// the glyph set; and that the generator gives the same bytes every time.
//
// The pictures are checked against the game's own bitmap catalogue, the table it loads and
// draws by; the files are parsed by this test's own readers, not the generator's writers.
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
#include <optional>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "assets/BitmapCatalogue.h"
#include "screens/Lobby.h"
#include "wave_reader.h"

namespace fs = std::filesystem;

namespace {

using tolvaro::BitmapEntry;
using tolvaro::ColourKey;
using tolvaro::kBitmapCatalogue;

const fs::path kGenerated = TOLVARO_GENERATED_DIR;

using Bytes = std::vector<uint8_t>;

Bytes readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t le16(const Bytes& b, size_t at) {
  return b.at(at) | (b.at(at + 1) << 8);
}
uint32_t le32(const Bytes& b, size_t at) {
  return le16(b, at) | (le16(b, at + 2) << 16);
}

struct Pixel {
  uint8_t r, g, b;
  bool operator==(const Pixel&) const = default;
  int luminance() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};
constexpr Pixel kBlack{0, 0, 0};
constexpr Pixel kWhite{255, 255, 255};

struct Bitmap {
  int width = 0, height = 0, depth = 0, paletteEntries = 0;
  std::vector<Pixel> pixels;
  const Pixel& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Parses an uncompressed bottom-up BMP with BITMAPINFOHEADER; failures are test failures.
std::optional<Bitmap> loadBitmap(const fs::path& path) {
  const Bytes b = readAll(path);
  if (b.size() < 54) {
    ADD_FAILURE() << path << ": missing or too short";
    return std::nullopt;
  }
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(le32(b, 2), b.size()) << path << ": file size field";
  EXPECT_EQ(le32(b, 14), 40u) << path << ": BITMAPINFOHEADER expected";
  Bitmap bmp;
  bmp.width = static_cast<int32_t>(le32(b, 18));
  const auto rawHeight = static_cast<int32_t>(le32(b, 22));
  EXPECT_GT(rawHeight, 0) << path << ": must be bottom-up";
  bmp.height = std::abs(rawHeight);
  EXPECT_EQ(le16(b, 26), 1u) << path << ": planes";
  bmp.depth = static_cast<int>(le16(b, 28));
  EXPECT_EQ(le32(b, 30), 0u) << path << ": must be uncompressed (BI_RGB)";
  std::vector<Pixel> palette;
  if (bmp.depth == 8) {
    const uint32_t used = le32(b, 46);
    bmp.paletteEntries = used == 0 ? 256 : static_cast<int>(used);
    for (int i = 0; i < bmp.paletteEntries; ++i) {
      const size_t at = 54 + static_cast<size_t>(i) * 4;
      palette.push_back(Pixel{b.at(at + 2), b.at(at + 1), b.at(at)});
    }
  } else if (bmp.depth != 24) {
    ADD_FAILURE() << path << ": depth " << bmp.depth;
    return std::nullopt;
  }
  const size_t offset = le32(b, 10);
  EXPECT_EQ(offset, 54u + palette.size() * 4) << path << ": pixel data offset";
  const size_t stride = ((static_cast<size_t>(bmp.width) * bmp.depth + 31) / 32) * 4;
  if (offset + stride * bmp.height > b.size()) {
    ADD_FAILURE() << path << ": pixel data truncated";
    return std::nullopt;
  }
  bmp.pixels.resize(static_cast<size_t>(bmp.width) * bmp.height);
  for (int row = 0; row < bmp.height; ++row) {
    const int y = bmp.height - 1 - row;
    for (int x = 0; x < bmp.width; ++x) {
      const size_t at = offset + row * stride;
      if (bmp.depth == 24) {
        const size_t p = at + static_cast<size_t>(x) * 3;
        bmp.pixels[static_cast<size_t>(y) * bmp.width + x] = Pixel{b[p + 2], b[p + 1], b[p]};
      } else {
        const uint8_t index = b[at + x];
        if (index >= palette.size()) {
          ADD_FAILURE() << path << ": palette index out of range";
          return std::nullopt;
        }
        bmp.pixels[static_cast<size_t>(y) * bmp.width + x] = palette[index];
      }
    }
  }
  return bmp;
}

fs::path bitmapPath(int id) {
  return kGenerated / "bitmap" / (std::to_string(id) + ".bmp");
}

std::optional<Bitmap> loadResource(int id) {
  return loadBitmap(bitmapPath(id));
}

int countColour(const Bitmap& bmp, int x0, int y0, int x1, int y1, const Pixel& colour) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) count += bmp.at(x, y) == colour;
  }
  return count;
}

// Key pixels not connected to the picture's border through other key pixels: holes that a
// colour-keyed copy would punch into the shape.
int keyHoles(const Bitmap& bmp, const Pixel& key) {
  std::vector<bool> reached(bmp.pixels.size(), false);
  std::queue<std::pair<int, int>> open;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= bmp.width || y >= bmp.height) return;
    const size_t i = static_cast<size_t>(y) * bmp.width + x;
    if (reached[i] || !(bmp.pixels[i] == key)) return;
    reached[i] = true;
    open.push({x, y});
  };
  for (int x = 0; x < bmp.width; ++x) {
    visit(x, 0);
    visit(x, bmp.height - 1);
  }
  for (int y = 0; y < bmp.height; ++y) {
    visit(0, y);
    visit(bmp.width - 1, y);
  }
  while (!open.empty()) {
    const auto [x, y] = open.front();
    open.pop();
    visit(x + 1, y);
    visit(x - 1, y);
    visit(x, y + 1);
    visit(x, y - 1);
  }
  int holes = 0;
  for (size_t i = 0; i < bmp.pixels.size(); ++i) holes += bmp.pixels[i] == key && !reached[i];
  return holes;
}

size_t distinctColours(const Bitmap& bmp) {
  std::set<uint32_t> colours;
  for (const Pixel& p : bmp.pixels) colours.insert((p.r << 16) | (p.g << 8) | p.b);
  return colours.size();
}

TEST(Bitmaps, EveryCatalogueEntryHasItsSizeDepthAndPalette) {
  for (const BitmapEntry& e : kBitmapCatalogue) {
    SCOPED_TRACE("bitmap " + std::to_string(e.id));
    const auto bmp = loadResource(e.id);
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->width, e.width);
    EXPECT_EQ(bmp->height, e.height);
    EXPECT_EQ(bmp->depth, e.depth);
    if (e.depth == 8) {
      EXPECT_EQ(bmp->paletteEntries, 256);
    }
    // A real picture, not a flat fill.
    EXPECT_GE(distinctColours(*bmp), e.width * e.height >= 20000 ? 64u : 8u);
  }
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(kGenerated / "bitmap")) ++files;
  EXPECT_EQ(files, kBitmapCatalogue.size()) << "the bitmap folder holds exactly the catalogue";
  EXPECT_EQ(kBitmapCatalogue.size(), 82u) << "80 loaded by the game, the dialog face, one unused";
}

TEST(Bitmaps, KeyedPicturesHaveTheirKeyAroundAndNoneInside) {
  for (const BitmapEntry& e : kBitmapCatalogue) {
    if (e.key == ColourKey::None) continue;
    SCOPED_TRACE("bitmap " + std::to_string(e.id));
    const auto bmp = loadResource(e.id);
    ASSERT_TRUE(bmp.has_value());
    const Pixel key = e.key == ColourKey::White ? kWhite : kBlack;
    // The corners are outside every shape.
    EXPECT_EQ(bmp->at(0, 0), key);
    EXPECT_EQ(bmp->at(e.width - 1, 0), key);
    EXPECT_EQ(bmp->at(0, e.height - 1), key);
    EXPECT_EQ(bmp->at(e.width - 1, e.height - 1), key);
    const int keyPixels = countColour(*bmp, 0, 0, e.width, e.height, key);
    EXPECT_LT(keyPixels, e.width * e.height * 9 / 10) << "most of the picture is see-through";
    if (e.width == 75) continue;  // lettering has counters (holes) by nature
    EXPECT_NE(bmp->at(e.width / 2, e.height / 2), key) << "centre must show";
    EXPECT_EQ(keyHoles(*bmp, key), 0) << "key colour inside the shape would show through";
  }
}

TEST(Bitmaps, ThemeLabelsHaveLetteringOnBlack) {
  int labels = 0;
  for (const BitmapEntry& e : kBitmapCatalogue) {
    if (e.width != 75) continue;
    ++labels;
    SCOPED_TRACE("label " + std::to_string(e.id));
    const auto bmp = loadResource(e.id);
    ASSERT_TRUE(bmp.has_value());
    const int ink = e.width * e.height - countColour(*bmp, 0, 0, e.width, e.height, kBlack);
    EXPECT_GT(ink, 400) << "two characters of lettering";
    // Lettering stays in the middle: the outer two-pixel frame is all key.
    EXPECT_EQ(countColour(*bmp, 0, 0, e.width, 2, kBlack), e.width * 2);
    EXPECT_EQ(countColour(*bmp, 0, e.height - 2, e.width, e.height, kBlack), e.width * 2);
  }
  EXPECT_EQ(labels, 24) << "five buttons and three info boxes in three themes";
}

TEST(Bitmaps, ExitBoxButtonsLieUnderTheirHighlights) {
  const auto box = loadResource(238);
  const auto yes = loadResource(239);
  const auto no = loadResource(240);
  ASSERT_TRUE(box && yes && no);
  // The highlights go to box-local (14, 51) and (95, 51); the box shows there, no key.
  EXPECT_EQ(countColour(*box, 14, 51, 14 + 77, 51 + 26, kBlack), 0);
  EXPECT_EQ(countColour(*box, 95, 51, 95 + 77, 51 + 26, kBlack), 0);
  // The box's own buttons end inside the highlight rectangles: just outside them the box is its
  // light body, just inside their left ends it is the darker button.
  for (int ox : {14, 95}) {
    SCOPED_TRACE("button at " + std::to_string(ox));
    for (int x = ox - 1; x <= ox + 77; ++x) {
      EXPECT_GT(box->at(x, 50).luminance(), 200) << x;
      EXPECT_GT(box->at(x, 51 + 26).luminance(), 200) << x;
    }
    for (int y = 50; y <= 51 + 26; ++y) {
      EXPECT_GT(box->at(ox - 1, y).luminance(), 200) << y;
      EXPECT_GT(box->at(ox + 77, y).luminance(), 200) << y;
    }
    EXPECT_LT(box->at(ox + 8, 51 + 13).luminance(), 200);
  }
  // The highlights differ from the buttons they cover.
  EXPECT_FALSE(yes->at(8, 13) == box->at(14 + 8, 51 + 13));
  EXPECT_FALSE(no->at(8, 13) == box->at(95 + 8, 51 + 13));
}

TEST(Bitmaps, SlotPanelShowsUnderEveryRowAndTheBackButton) {
  const auto panel = loadResource(176);
  ASSERT_TRUE(panel.has_value());
  for (int top : {58, 108, 161, 214, 267, 317}) {
    EXPECT_EQ(countColour(*panel, 30, top, 30 + 241, top + 28, kBlack), 0) << "row at " << top;
  }
  EXPECT_EQ(countColour(*panel, 114, 367, 114 + 83, 367 + 25, kBlack), 0);
}

TEST(Bitmaps, MenuMarkerKeysWhiteOnlyOutsideTheBug) {
  const auto marker = loadResource(154);
  ASSERT_TRUE(marker.has_value());
  EXPECT_EQ(keyHoles(*marker, kWhite), 0);
  const int bug = 110 * 110 - countColour(*marker, 0, 0, 110, 110, kWhite);
  EXPECT_GT(bug, 110 * 110 / 4) << "a sizeable bug";
  // It is a red bug: red dominates its painted pixels.
  long red = 0, green = 0;
  for (const Pixel& p : marker->pixels) {
    if (p == kWhite) continue;
    red += p.r;
    green += p.g;
  }
  EXPECT_GT(red, green * 2);
}

double meanLuminance(const Bitmap& bmp, int x0, int y0, int x1, int y1, int* darkest) {
  long sum = 0;
  *darkest = 255;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      sum += bmp.at(x, y).luminance();
      *darkest = std::min(*darkest, bmp.at(x, y).luminance());
    }
  }
  return static_cast<double>(sum) / ((x1 - x0) * (y1 - y0));
}

TEST(Bitmaps, RecordsBoardLeavesLightFieldsForThePinkValues) {
  const auto board = loadResource(243);
  ASSERT_TRUE(board.has_value());
  for (int top : {66, 118, 171, 227, 277, 328}) {
    // Name (7 bytes, 56 px), time and score (up to 4 digits, 32 px), each 16 px high.
    for (const auto& [x, width] : std::map<int, int>{{134, 56}, {302, 32}, {477, 32}}) {
      int darkest = 0;
      const double mean = meanLuminance(*board, x, top, x + width, top + 16, &darkest);
      EXPECT_GT(mean, 225) << "row " << top << " column " << x;
      EXPECT_GT(darkest, 170) << "row " << top << " column " << x;
    }
  }
}

TEST(Bitmaps, NameDialogLeavesThePlainAreaForTheEditBox) {
  const auto face = loadResource(242);
  const auto confirm = loadResource(248);
  const auto clear = loadResource(247);
  ASSERT_TRUE(face && confirm && clear);
  int darkest = 0;
  EXPECT_GT(meanLuminance(*face, 84, 72, 84 + 148, 72 + 24, &darkest), 245);
  EXPECT_GT(darkest, 230);
  // The face carries the normal buttons exactly where their pictures are drawn.
  int mismatches = 0;
  for (int y = 0; y < 29; ++y) {
    for (int x = 0; x < 93; ++x) {
      mismatches += !(face->at(63 + x, 111 + y) == confirm->at(x, y));
      mismatches += !(face->at(164 + x, 111 + y) == clear->at(x, y));
    }
  }
  EXPECT_EQ(mismatches, 0);
}

struct MeanColour {
  double r = 0, g = 0, b = 0;
};

MeanColour meanColour(const Bitmap& bmp) {
  MeanColour m;
  for (const Pixel& p : bmp.pixels) {
    m.r += p.r;
    m.g += p.g;
    m.b += p.b;
  }
  const double n = static_cast<double>(bmp.pixels.size());
  return MeanColour{m.r / n, m.g / n, m.b / n};
}

TEST(Bitmaps, ThemesAreBlueVioletAndTurquoise) {
  // Backgrounds and normal buttons of themes 0, 1, 2.
  for (int id : {157, 155}) {
    const auto bmp = loadResource(id);
    ASSERT_TRUE(bmp.has_value());
    const MeanColour m = meanColour(*bmp);
    EXPECT_GT(m.b, m.r + 40) << id << " is blue";
    EXPECT_GT(m.b, m.g) << id << " is blue";
  }
  for (int id : {194, 181}) {
    const auto bmp = loadResource(id);
    ASSERT_TRUE(bmp.has_value());
    const MeanColour m = meanColour(*bmp);
    EXPECT_GT(m.b, m.g + 30) << id << " is violet";
    EXPECT_GT(m.r, m.g + 10) << id << " is violet";
  }
  for (int id : {220, 206}) {
    const auto bmp = loadResource(id);
    ASSERT_TRUE(bmp.has_value());
    const MeanColour m = meanColour(*bmp);
    EXPECT_GT(m.g, m.r + 40) << id << " is turquoise";
    EXPECT_GT(m.b, m.r + 40) << id << " is turquoise";
  }
}

// --- the lobby and records screens composed from their pictures -------------------------------

struct ThemePictures {
  int background, frame, title, buttons[2], infoBox;
};
constexpr ThemePictures kThemePictures[3] = {{157, 158, 180, {155, 165}, 163},
                                             {194, 182, 183, {181, 193}, 192},
                                             {220, 207, 208, {206, 218}, 217}};

int channelGap(const Pixel& a, const Pixel& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// The largest 4-connected patch of one exact colour in the background, leaving out the
// rectangle the records board covers.
int largestFlatPatch(const Bitmap& bmp, int boardX, int boardY, int boardW, int boardH) {
  auto covered = [&](int x, int y) {
    return x >= boardX && x < boardX + boardW && y >= boardY && y < boardY + boardH;
  };
  std::vector<bool> seen(bmp.pixels.size(), false);
  int largest = 0;
  for (int y0 = 0; y0 < bmp.height; ++y0) {
    for (int x0 = 0; x0 < bmp.width; ++x0) {
      if (seen[static_cast<size_t>(y0) * bmp.width + x0] || covered(x0, y0)) continue;
      const Pixel colour = bmp.at(x0, y0);
      int size = 0;
      std::queue<std::pair<int, int>> open;
      open.push({x0, y0});
      seen[static_cast<size_t>(y0) * bmp.width + x0] = true;
      while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop();
        ++size;
        constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : kSteps) {
          const int nx = x + step[0], ny = y + step[1];
          if (nx < 0 || ny < 0 || nx >= bmp.width || ny >= bmp.height || covered(nx, ny)) continue;
          const size_t i = static_cast<size_t>(ny) * bmp.width + nx;
          if (seen[i] || !(bmp.pixels[i] == colour)) continue;
          seen[i] = true;
          open.push({nx, ny});
        }
      }
      largest = std::max(largest, size);
    }
  }
  return largest;
}

TEST(LobbyArt, RecordsBoardStandsInSceneryWithNoEmptyPanelBesideIt) {
  // The records screen draws the board centred over the theme's background. A patch of one flat
  // colour as large as a lobby button (240 x 50) beside it reads as an empty box.
  const tolvaro::BitmapSize board = tolvaro::bitmapSize(243);
  const int boardX = (1024 - board.width) / 2, boardY = (768 - board.height) / 2;
  constexpr int kEmptyBox = tolvaro::kLobbyButtonWidth * tolvaro::kLobbyButtonHeight;
  for (const ThemePictures& theme : kThemePictures) {
    const auto background = loadResource(theme.background);
    ASSERT_TRUE(background.has_value());
    const int patch = largestFlatPatch(*background, boardX, boardY, board.width, board.height);
    std::printf("background %d: largest flat patch beside the records board %d pixels\n",
                theme.background, patch);
    EXPECT_LT(patch, kEmptyBox) << "background " << theme.background;
  }
}

TEST(LobbyArt, InfoBoxesAreWholeInTheirVisibleRowsAndTitlesCentredOnThePlayfield) {
  for (const ThemePictures& theme : kThemePictures) {
    // The game copies 63 rows of every info box: their last row is the bottom edge, one colour
    // from side to side, the colour of the side edges.
    const auto box = loadResource(theme.infoBox);
    ASSERT_TRUE(box.has_value());
    constexpr int kShownRows = 63;
    for (int x = 0; x < box->width; ++x) {
      ASSERT_EQ(box->at(x, kShownRows - 1), box->at(0, kShownRows / 2))
          << "info box " << theme.infoBox << " bottom edge at x " << x;
    }
    // The sign of the title picture: the columns that differ from the frame panel under it.
    const auto title = loadResource(theme.title);
    const auto frame = loadResource(theme.frame);
    ASSERT_TRUE(title.has_value() && frame.has_value());
    const int offsetX = tolvaro::kLobbyTitleX - tolvaro::kLobbyPanelX;
    const int offsetY = tolvaro::kLobbyTitleY - tolvaro::kLobbyPanelRestY;
    int left = title->width, right = -1;
    for (int x = 0; x < title->width; ++x) {
      for (int y = 0; y < title->height; ++y) {
        if (channelGap(title->at(x, y), frame->at(offsetX + x, offsetY + y)) > 24) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    const double signMiddle = tolvaro::kLobbyTitleX + (left + right) / 2.0;
    EXPECT_NEAR(signMiddle, tolvaro::kLobbyPanelX + frame->width / 2.0, 1.0)
        << "title " << theme.title << ": sign from x " << left << " to " << right;
  }
}

// How far a title picture's last column and last row step into the frame panel just beyond them
// on the screen, over the step the panel makes there itself: the largest channel gap of each.
struct TitleSeam {
  int right = 0, bottom = 0;
};
TitleSeam titleSeam(const Bitmap& title, const Bitmap& frame) {
  const int offsetX = tolvaro::kLobbyTitleX - tolvaro::kLobbyPanelX;
  const int offsetY = tolvaro::kLobbyTitleY - tolvaro::kLobbyPanelRestY;
  const int w = title.width, h = title.height;
  TitleSeam seam;
  for (int y = 0; y < h; ++y) {
    const Pixel& beyond = frame.at(offsetX + w, offsetY + y);
    seam.right =
        std::max(seam.right, channelGap(title.at(w - 1, y), beyond) -
                                 channelGap(frame.at(offsetX + w - 1, offsetY + y), beyond));
  }
  for (int x = 0; x < w; ++x) {
    const Pixel& beyond = frame.at(offsetX + x, offsetY + h);
    seam.bottom =
        std::max(seam.bottom, channelGap(title.at(x, h - 1), beyond) -
                                  channelGap(frame.at(offsetX + x, offsetY + h - 1), beyond));
  }
  return seam;
}

TEST(LobbyArt, TitlesJoinTheFramePanelBeyondTheirRightAndBottomEdges) {
  // The lobby copies a 528 x 305 block of the title over the frame panel; a smaller title shows
  // the panel beyond its right and bottom edges. The picture's outside is the panel itself, so
  // its edge steps into the panel by a palette's rounding and a stroke's faint spill at most.
  constexpr int kSmallStep = 16;
  for (const ThemePictures& theme : kThemePictures) {
    const auto title = loadResource(theme.title);
    const auto frame = loadResource(theme.frame);
    ASSERT_TRUE(title.has_value() && frame.has_value());
    ASSERT_LT(tolvaro::kLobbyTitleX - tolvaro::kLobbyPanelX + title->width, frame->width);
    ASSERT_LT(tolvaro::kLobbyTitleY - tolvaro::kLobbyPanelRestY + title->height, frame->height);
    const TitleSeam seam = titleSeam(*title, *frame);
    std::printf("title %d: steps %d into the frame panel at its right edge, %d at its bottom\n",
                theme.title, seam.right, seam.bottom);
    EXPECT_LE(seam.right, kSmallStep) << "title " << theme.title << " right edge";
    EXPECT_LE(seam.bottom, kSmallStep) << "title " << theme.title << " bottom edge";
    // The same picture with its sign 3 pixels further right and down, cut off by the edges.
    Bitmap shifted = *title;
    for (int y = 0; y < title->height; ++y) {
      for (int x = 0; x < title->width; ++x) {
        shifted.pixels[static_cast<size_t>(y) * title->width + x] =
            title->at(std::max(0, x - 3), std::max(0, y - 3));
      }
    }
    const TitleSeam cut = titleSeam(shifted, *frame);
    EXPECT_GT(cut.right, kSmallStep) << "title " << theme.title << " with its sign cut off";
    EXPECT_GT(cut.bottom, kSmallStep) << "title " << theme.title << " with its sign cut off";
  }
}

TEST(PictureFiles, BugAnimationHas49FramesThatLoopSmoothly) {
  std::vector<Bitmap> frames;
  for (int n = 1; n <= 49; ++n) {
    SCOPED_TRACE("frame " + std::to_string(n));
    const auto bmp = loadBitmap(kGenerated / "03_16" / ("chongzi" + std::to_string(n) + ".bmp"));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->width, 204);
    EXPECT_EQ(bmp->height, 51);
    EXPECT_EQ(bmp->depth, 24);
    frames.push_back(*bmp);
  }
  EXPECT_FALSE(fs::exists(kGenerated / "03_16" / "chongzi50.bmp"));
  auto difference = [](const Bitmap& a, const Bitmap& b) {
    long d = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
      d += std::abs(a.pixels[i].r - b.pixels[i].r) + std::abs(a.pixels[i].g - b.pixels[i].g) +
           std::abs(a.pixels[i].b - b.pixels[i].b);
    }
    return d;
  };
  long largestStep = 0;
  for (int i = 1; i < 49; ++i) {
    const long step = difference(frames[i - 1], frames[i]);
    EXPECT_GT(step, 0) << "frame " << i + 1 << " moves";
    largestStep = std::max(largestStep, step);
  }
  const long wrap = difference(frames[48], frames[0]);
  EXPECT_GT(wrap, 0);
  EXPECT_LE(wrap, largestStep * 3 / 2) << "frame 49 leads back into frame 1 like any other step";
}

// WCAG relative luminance and contrast ratio.
double relativeLuminance(const Pixel& p) {
  auto linear = [](uint8_t c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(p.r) + 0.7152 * linear(p.g) + 0.0722 * linear(p.b);
}
double contrastRatio(double a, double b) {
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The letter on a 20 x 20 tile: its ink is the commonest colour among the darker pixels of the
// tile's middle, grown over the touching pixels of that colour; the colour behind it is the
// median luminance of the light pixels around the ink (within 2 pixels of its box, but not
// touching the ink, so that neither edge smoothing nor dark outlines count).
struct TileLetter {
  Pixel ink{};
  int inkPixels = 0;  // pixels of exactly the ink colour in the letter
  int width = 0, height = 0;
  double contrast = 0;
};

TileLetter tileLetter(const Bitmap& tile) {
  TileLetter letter;
  const auto at = [&](int x, int y) { return tile.at(x, y); };
  double middleSum = 0;
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x) middleSum += relativeLuminance(at(x, y));
  }
  std::map<uint32_t, int> darkCounts;
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x) {
      const Pixel p = at(x, y);
      if (relativeLuminance(p) < middleSum / 64) ++darkCounts[(p.r << 16) | (p.g << 8) | p.b];
    }
  }
  if (darkCounts.empty()) return letter;
  const uint32_t inkCode =
      std::max_element(darkCounts.begin(), darkCounts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
      })->first;
  letter.ink = Pixel{static_cast<uint8_t>(inkCode >> 16), static_cast<uint8_t>(inkCode >> 8),
                     static_cast<uint8_t>(inkCode)};
  std::vector<bool> inLetter(tile.pixels.size(), false);
  std::queue<std::pair<int, int>> open;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= tile.width || y >= tile.height) return;
    const size_t i = static_cast<size_t>(y) * tile.width + x;
    if (inLetter[i] || !(tile.pixels[i] == letter.ink)) return;
    inLetter[i] = true;
    open.push({x, y});
  };
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x) visit(x, y);
  }
  int x0 = tile.width, y0 = tile.height, x1 = -1, y1 = -1;
  while (!open.empty()) {
    const auto [x, y] = open.front();
    open.pop();
    ++letter.inkPixels;
    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) visit(x + dx, y + dy);
    }
  }
  letter.width = x1 - x0 + 1;
  letter.height = y1 - y0 + 1;
  auto touchesInk = [&](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < tile.width && ny < tile.height &&
            inLetter[static_cast<size_t>(ny) * tile.width + nx]) {
          return true;
        }
      }
    }
    return false;
  };
  std::vector<double> around;
  for (int y = std::max(0, y0 - 2); y <= std::min(tile.height - 1, y1 + 2); ++y) {
    for (int x = std::max(0, x0 - 2); x <= std::min(tile.width - 1, x1 + 2); ++x) {
      if (!touchesInk(x, y)) around.push_back(relativeLuminance(at(x, y)));
    }
  }
  if (around.empty()) return letter;
  const double inkLuminance = relativeLuminance(letter.ink);
  const double lightest = *std::max_element(around.begin(), around.end());
  std::vector<double> behind;
  for (double l : around) {
    if (l > (lightest + inkLuminance) / 2) behind.push_back(l);
  }
  if (behind.empty()) return letter;
  std::nth_element(behind.begin(), behind.begin() + behind.size() / 2, behind.end());
  letter.contrast = contrastRatio(behind[behind.size() / 2], inkLuminance);
  return letter;
}

// The lowest contrast between a letter and its tile that the plain rounded tiles had (their P,
// 6.655): no tile may read worse than that.
constexpr double kLeastLetterContrast = 6.65;

TEST(PictureFiles, LetterTilesAreDistinct20By20Pictures) {
  std::vector<Bitmap> tiles;
  for (int code = 65; code <= 90; ++code) {
    SCOPED_TRACE("tile " + std::to_string(code));
    const auto bmp = loadBitmap(kGenerated / "charImg" / (std::to_string(code) + ".bmp"));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->width, 20);
    EXPECT_EQ(bmp->height, 20);
    EXPECT_EQ(bmp->depth, 24);
    // A bold dark letter on a light tile: clearly dark and clearly light pixels both.
    int dark = 0, light = 0;
    for (const Pixel& p : bmp->pixels) {
      dark += p.luminance() < 90;
      light += p.luminance() > 150;
    }
    EXPECT_GT(dark, 20);
    EXPECT_GT(light, 100);
    // The letter stands out from what is behind it and is drawn at full size: as tall as a
    // capital at the size the tiles are lettered in (round letters lose their smoothed rim).
    const TileLetter letter = tileLetter(*bmp);
    EXPECT_GE(letter.contrast, kLeastLetterContrast);
    EXPECT_GE(letter.height, 10);
    EXPECT_GE(letter.inkPixels, 16);
    tiles.push_back(*bmp);
  }
  for (size_t i = 0; i < tiles.size(); ++i) {
    for (size_t j = i + 1; j < tiles.size(); ++j) {
      EXPECT_FALSE(tiles[i].pixels == tiles[j].pixels) << "tiles " << i << " and " << j;
    }
  }
}

// The legibility measure itself sees a letter washed out towards its shell, and one shrunk
// into a corner of it.
TEST(PictureFiles, LetterTileLegibilityMeasureCatchesFadedAndShrunkLetters) {
  const auto tile = loadBitmap(kGenerated / "charImg" / "72.bmp");
  ASSERT_TRUE(tile.has_value());
  const TileLetter letter = tileLetter(*tile);
  ASSERT_GE(letter.contrast, kLeastLetterContrast);
  // The lightest pixel of the tile's middle is the shell's colour there.
  Pixel pale = letter.ink;
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x) {
      if (tile->at(x, y).luminance() > pale.luminance()) pale = tile->at(x, y);
    }
  }
  Bitmap faded = *tile;
  for (Pixel& p : faded.pixels) {
    if (p == letter.ink) {
      p = Pixel{static_cast<uint8_t>((p.r + 2 * pale.r) / 3),
                static_cast<uint8_t>((p.g + 2 * pale.g) / 3),
                static_cast<uint8_t>((p.b + 2 * pale.b) / 3)};
    }
  }
  EXPECT_LT(tileLetter(faded).contrast, kLeastLetterContrast);
  // Half size: every other row and column of the letter, on an emptied shell.
  Bitmap shrunk = *tile;
  for (int y = 4; y < 18; ++y) {
    for (int x = 3; x < 17; ++x) shrunk.pixels[y * 20 + x] = pale;
  }
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 7; ++x) {
      shrunk.pixels[(7 + y) * 20 + 7 + x] = tile->at(3 + 2 * x, 4 + 2 * y);
    }
  }
  const TileLetter small = tileLetter(shrunk);
  EXPECT_LT(small.height, 10);
}

TEST(PictureFiles, IconIsOne32By32TwentyFourBitImage) {
  const Bytes b = readAll(kGenerated / "icon" / "141.ico");
  ASSERT_GE(b.size(), 22u + 40u);
  EXPECT_EQ(le16(b, 0), 0u);
  EXPECT_EQ(le16(b, 2), 1u) << "icon type";
  EXPECT_EQ(le16(b, 4), 1u) << "one image";
  EXPECT_EQ(b[6], 32);
  EXPECT_EQ(b[7], 32);
  EXPECT_EQ(le16(b, 12), 24u);
  const uint32_t bytes = le32(b, 14), offset = le32(b, 18);
  ASSERT_EQ(offset + bytes, b.size());
  EXPECT_EQ(le32(b, offset), 40u);
  EXPECT_EQ(le32(b, offset + 4), 32u);
  EXPECT_EQ(le32(b, offset + 8), 64u) << "XOR and AND halves";
  EXPECT_EQ(le16(b, offset + 14), 24u);
  EXPECT_EQ(bytes, 40u + 32 * 96 + 32 * 4) << "24-bit colour rows plus the 1-bit mask";
}

TEST(PictureFiles, AnimatedCursorIsARiffAconWithSeveralCursorFrames) {
  const Bytes b = readAll(kGenerated / "mouse6.ani");
  ASSERT_GE(b.size(), 12u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(le32(b, 4), b.size() - 8);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "ACON");
  uint32_t declaredFrames = 0, declaredSteps = 0;
  int frames = 0;
  bool sawFrameList = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string tag(b.begin() + at, b.begin() + at + 4);
    const uint32_t size = le32(b, at + 4);
    ASSERT_LE(at + 8 + size, b.size()) << tag;
    if (tag == "anih") {
      EXPECT_EQ(size, 36u);
      EXPECT_EQ(le32(b, at + 8), 36u);
      declaredFrames = le32(b, at + 12);
      declaredSteps = le32(b, at + 16);
      EXPECT_TRUE(le32(b, at + 40) & 1) << "frames are icons";
    } else if (tag == "LIST") {
      EXPECT_EQ(std::string(b.begin() + at + 8, b.begin() + at + 12), "fram");
      sawFrameList = true;
      at += 12;
      continue;
    } else if (tag == "icon") {
      ++frames;
      const size_t cur = at + 8;
      EXPECT_EQ(le16(b, cur + 2), 2u) << "a cursor resource";
      EXPECT_EQ(le16(b, cur + 4), 1u);
      EXPECT_LT(le16(b, cur + 10), 32u) << "hot spot x";
      EXPECT_LT(le16(b, cur + 12), 32u) << "hot spot y";
      EXPECT_EQ(le32(b, cur + le32(b, cur + 18)), 40u) << "BITMAPINFOHEADER image";
    } else if (tag == "rate" || tag == "seq ") {
      EXPECT_EQ(size, declaredSteps * 4) << tag;
    }
    at += 8 + size + (size % 2);
  }
  EXPECT_TRUE(sawFrameList);
  EXPECT_GE(frames, 2);
  EXPECT_EQ(static_cast<uint32_t>(frames), declaredFrames);
}

struct ExpectedWave {
  int id, channels, rate, bits;
  double seconds;
  bool looping;
};

TEST(Waves, FormatsLengthsAndLevels) {
  const ExpectedWave waves[] = {
      {198, 2, 44100, 16, 3.69, true},  {199, 1, 22050, 16, 0.36, false},
      {200, 1, 22050, 16, 0.30, false}, {201, 1, 44100, 16, 8.88, true},
      {203, 2, 44100, 16, 28.04, true}, {204, 1, 22050, 8, 0.11, false},
      {205, 1, 22050, 16, 0.51, false}, {223, 2, 44100, 16, 5.51, true},
      {237, 1, 19886, 8, 3.42, false},  {236, 1, 19886, 8, 3.64, false},
  };
  for (const ExpectedWave& w : waves) {
    SCOPED_TRACE("wave " + std::to_string(w.id));
    const Bytes b = readAll(kGenerated / "wave" / (std::to_string(w.id) + ".wav"));
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "fmt ");
    EXPECT_EQ(le32(b, 16), 16u);
    EXPECT_EQ(le16(b, 20), 1u) << "PCM";
    EXPECT_EQ(static_cast<int>(le16(b, 22)), w.channels);
    EXPECT_EQ(static_cast<int>(le32(b, 24)), w.rate);
    EXPECT_EQ(le32(b, 28), static_cast<uint32_t>(w.rate * w.channels * w.bits / 8)) << "byte rate";
    EXPECT_EQ(static_cast<int>(le16(b, 32)), w.channels * w.bits / 8) << "block align";
    EXPECT_EQ(static_cast<int>(le16(b, 34)), w.bits);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    const uint32_t dataBytes = le32(b, 40);
    ASSERT_LE(44u + dataBytes, b.size());
    const size_t frames = dataBytes / (w.channels * w.bits / 8);
    EXPECT_NEAR(static_cast<double>(frames) / w.rate, w.seconds, 0.010);

    std::vector<double> samples;
    for (size_t at = 44; at < 44 + dataBytes; at += w.bits / 8) {
      samples.push_back(w.bits == 8 ? (b[at] - 128) / 128.0
                                    : static_cast<int16_t>(le16(b, at)) / 32768.0);
    }
    double peak = 0, energy = 0;
    for (double s : samples) {
      peak = std::max(peak, std::abs(s));
      energy += s * s;
    }
    EXPECT_LT(peak, w.bits == 8 ? 127.0 / 128 : 32767.0 / 32768) << "no clipping";
    EXPECT_GT(peak, 0.3) << "not nearly silent";
    EXPECT_GT(std::sqrt(energy / samples.size()), 0.01);
    if (w.looping) {
      // The last sample leads into the first like any other step of the piece.
      for (int c = 0; c < w.channels; ++c) {
        double steps = 0;
        for (size_t f = 1; f < frames; ++f) {
          steps += std::abs(samples[f * w.channels + c] - samples[(f - 1) * w.channels + c]);
        }
        const double typical = steps / (frames - 1);
        const double seam = std::abs(samples[c] - samples[(frames - 1) * w.channels + c]);
        EXPECT_LT(seam, 4 * typical + 0.002) << "channel " << c;
      }
    } else {
      // One-shots end in silence.
      EXPECT_LT(std::abs(samples.back()), 0.02);
    }
  }
}

std::optional<tolvaro::assetcheck::DecodedWave> decodedWave(int id) {
  return tolvaro::assetcheck::decodeWave(readAll(kGenerated / "wave" / (std::to_string(id) + ".wav")));
}

TEST(Waves, UnusedChimeIsMonoMicrosoftAdpcmThatDecodesToASound) {
  const auto w = decodedWave(197);
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->formatTag, 2);
  EXPECT_EQ(w->channels, 1);
  EXPECT_EQ(w->rate, 22050);
  EXPECT_EQ(w->bits, 4);
  EXPECT_EQ(w->samplesPerBlock, (w->blockAlign - 7) * 2 + 2);
  EXPECT_EQ(w->predictors, (std::vector<std::pair<int, int>>{
                               {256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208},
                               {392, -232}}));
  ASSERT_TRUE(w->factSamples.has_value());
  EXPECT_NEAR(*w->factSamples / 22050.0, 0.81, 0.001);
  ASSERT_EQ(w->samples.size(), *w->factSamples) << "every block decodes";
  double peak = 0;
  for (double s : w->samples) peak = std::max(peak, std::abs(s));
  EXPECT_GT(peak, 0.3) << "not silence";
  EXPECT_LT(peak, 0.99) << "not clipped";
  EXPECT_LT(std::abs(w->samples.back()), 0.02) << "ends in silence";
}

TEST(Waves, ACatchSoundsAtLeast3DbLouderThanAMiss) {
  const auto catchWave = decodedWave(204);
  const auto missWave = decodedWave(205);
  ASSERT_TRUE(catchWave && missWave);
  EXPECT_GE(tolvaro::assetcheck::loudestWindowDb(*catchWave) -
                tolvaro::assetcheck::loudestWindowDb(*missWave),
            3.0);
}

// --- glyph set ------------------------------------------------------------------------------

constexpr size_t kHalfTable = 16;
constexpr size_t kFullTable = 16 + 256 * 16;
constexpr size_t kGlyphFileSize = 16 + 256 * 16 + 126 * 191 * 32;

class GlyphSet : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = readAll(kGenerated / "glyphs" / "gbk16.bin");
    ASSERT_EQ(file_.size(), kGlyphFileSize);
  }
  // Rows of a half-width glyph, bit 7 leftmost.
  std::vector<uint16_t> half(int code) const {
    std::vector<uint16_t> rows;
    for (int r = 0; r < 16; ++r) rows.push_back(file_[kHalfTable + code * 16 + r]);
    return rows;
  }
  std::vector<uint16_t> full(int lead, int trail) const {
    std::vector<uint16_t> rows;
    const size_t at = kFullTable + ((lead - 0x81) * 191 + (trail - 0x40)) * 32;
    for (int r = 0; r < 16; ++r)
      rows.push_back(static_cast<uint16_t>((file_[at + 2 * r] << 8) | file_[at + 2 * r + 1]));
    return rows;
  }
  static int inkRows(const std::vector<uint16_t>& rows) {
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](uint16_t r) { return r != 0; }));
  }
  static bool isBlank(const std::vector<uint16_t>& rows) { return inkRows(rows) == 0; }
  Bytes file_;
};

TEST_F(GlyphSet, HeaderIsExact) {
  const uint8_t header[16] = {'T', 'G', 'L', 'Y', 1, 0, 16, 8, 16, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(header, header + 16, file_.begin()));
}

TEST_F(GlyphSet, HalfWidthCoversPrintableAsciiOnly) {
  for (int code = 0x21; code <= 0x7E; ++code) EXPECT_FALSE(isBlank(half(code))) << "code " << code;
  for (int code : {0x00, 0x0A, 0x20, 0x7F, 0x80, 0xA1, 0xFF})
    EXPECT_TRUE(isBlank(half(code))) << "code " << code;
}

TEST_F(GlyphSet, LatinSitsOnACommonBaselineWithRoomForDescenders) {
  auto lowestInkRow = [](const std::vector<uint16_t>& rows) {
    int lowest = -1;
    for (int r = 0; r < 16; ++r) {
      if (rows[r] != 0) lowest = r;
    }
    return lowest;
  };
  const int baseline = lowestInkRow(half('A'));
  EXPECT_EQ(lowestInkRow(half('H')), baseline);
  EXPECT_EQ(lowestInkRow(half('x')), baseline);
  EXPECT_EQ(lowestInkRow(half('1')), baseline);
  EXPECT_GT(lowestInkRow(half('g')), baseline) << "descender below the baseline";
  EXPECT_LE(lowestInkRow(half('g')), 15);
  EXPECT_GE(inkRows(half('A')), 9) << "capitals are about 10 rows tall";
}

TEST_F(GlyphSet, KnownCharactersAreDrawn) {
  EXPECT_GE(inkRows(full(0xD6, 0xD0)), 12);  // 中
  EXPECT_GE(inkRows(full(0xFD, 0x88)), 12);  // 龍
  EXPECT_GE(inkRows(full(0xB0, 0xA1)), 10);  // 啊
  EXPECT_FALSE(isBlank(full(0xA1, 0xA3)));   // 。
  EXPECT_FALSE(isBlank(full(0xA3, 0xA1)));   // ！ (full-width)
  EXPECT_FALSE(isBlank(full(0xD7, 0xD6)));   // 字
  // Different characters have different pictures.
  EXPECT_NE(full(0xD6, 0xD0), full(0xFD, 0x88));
}

TEST_F(GlyphSet, CodesThatAreNoCharacterStayBlank) {
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    EXPECT_TRUE(isBlank(full(lead, 0x7F))) << "lead " << lead;
  EXPECT_TRUE(isBlank(full(0xA2, 0xA0)));  // unassigned in GBK
  EXPECT_TRUE(isBlank(full(0xAA, 0xA1)));  // user-defined area
  EXPECT_TRUE(isBlank(full(0xF8, 0xFE)));  // user-defined area
  // Coverage: the GBK repertoire has about 21,800 characters.
  int drawn = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) drawn += !isBlank(full(lead, trail));
  }
  EXPECT_GT(drawn, 21000);
  EXPECT_LT(drawn, 22000);
}

// --- determinism ----------------------------------------------------------------------------

TEST(Generator, SameInputsGiveTheSameBytes) {
  const fs::path again =
      fs::temp_directory_path() / ("tolvaro_assets_again_" + std::to_string(::getpid()));
  fs::remove_all(again);
  const std::string command = std::string("\"") + TOLVARO_ASSETGEN_EXE + "\" \"" + again.string() +
                              "\" \"" + TOLVARO_ASSET_OVERRIDES_DIR + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(again)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), again);
    EXPECT_EQ(readAll(entry.path()), readAll(kGenerated / relative)) << relative;
    ++compared;
  }
  EXPECT_GT(compared, 82 + 49 + 26 + 10);
  fs::remove_all(again);
}

TEST(Generator, AnOverrideFileTakesItsPlaceAndNothingElseChanges) {
  const fs::path scratch =
      fs::temp_directory_path() / ("tolvaro_assets_override_" + std::to_string(::getpid()));
  fs::remove_all(scratch);
  const fs::path overrides = scratch / "overrides";
  const fs::path out = scratch / "out";
  fs::create_directories(overrides / "bitmap");
  fs::create_directories(overrides / "charImg");
  const Bytes background = readAll(kGenerated / "bitmap" / "157.bmp");
  const Bytes tile = readAll(kGenerated / "charImg" / "66.bmp");
  std::ofstream(overrides / "bitmap" / "143.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(background.data()),
             static_cast<std::streamsize>(background.size()));
  std::ofstream(overrides / "charImg" / "65.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(tile.data()), static_cast<std::streamsize>(tile.size()));
  const std::string command = std::string("\"") + TOLVARO_ASSETGEN_EXE + "\" \"" + out.string() +
                              "\" \"" + overrides.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(readAll(out / "bitmap" / "143.bmp"), background);
  EXPECT_EQ(readAll(out / "charImg" / "65.bmp"), tile);
  EXPECT_EQ(readAll(out / "bitmap" / "144.bmp"), readAll(kGenerated / "bitmap" / "144.bmp"));
  EXPECT_EQ(readAll(out / "charImg" / "66.bmp"), tile);
  fs::remove_all(scratch);
}

}  // namespace
