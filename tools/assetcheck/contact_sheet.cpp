// tolvaro_contact_sheet_tool GENERATED_DIR OUT.png
//   Lays out every generated picture with its name, scaled to fit, plus the cursor frames, the
//   icon and a line of text drawn from the glyph set, into one PNG for looking at.
// tolvaro_contact_sheet_tool --zoom PICTURE.bmp FACTOR OUT.png
//   Enlarges one picture without smoothing, for looking at single pixels.
//   The lobby (idle, sliding in, sliding out) and the records screen of every theme come first,
//   drawn by the game itself on the headless host.
// tolvaro_contact_sheet_tool --scenes GENERATED_DIR OUT_DIR
//   Composes the screens the way the game draws them (colour keys, positions, pink text), to
//   check that the pictures line up with each other; the lobby and records screens of every
//   theme as the game draws them, full size.
#include <cairo.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "assets/BitmapCatalogue.h"
#include "assets/Layout.h"
#include "base/Bmp.h"
#include "base/Bytes.h"
#include "base/GlyphFile.h"
#include "drawing/canvas.h"
#include "formats/byte_writer.h"
#include "game_screens.h"

namespace fs = std::filesystem;
using namespace tolvaro::assetgen;
namespace glyphfile = tolvaro::glyphfile;

namespace {

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Tile {
  std::string label;
  RgbImage image;
};

RgbImage fromPixels(int width, int height, const std::vector<uint32_t>& pixels) {
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      image.at(x, y) =
          Rgb{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
    }
  }
  return image;
}

// A BMP file as the game decodes it, and its depth; nothing when the game could not read it.
struct DecodedBmp {
  RgbImage image;
  int bitsPerPixel = 0;
};
std::optional<DecodedBmp> decodeBmp(const Bytes& file) {
  const tolvaro::Picture picture = tolvaro::decodeBitmap(file);
  const std::optional<tolvaro::BitmapInfo> info = tolvaro::readBitmapInfo(file);
  if (picture.empty() || !info) return std::nullopt;
  return DecodedBmp{fromPixels(picture.width, picture.height, picture.pixels), info->bitsPerPixel};
}

// Decodes the DIB of an icon or cursor image (24 or 32 bit, XOR + AND) over a grey checker.
RgbImage decodeIconDib(const Bytes& b, size_t at) {
  const int width = static_cast<int>(tolvaro::readLe32(b, at + 4));
  const int height = static_cast<int>(tolvaro::readLe32(b, at + 8)) / 2;
  const int bits = tolvaro::readLe16(b, at + 14);
  const int bytesPerPixel = bits / 8;
  const int colourStride = ((width * bits + 31) / 32) * 4;
  const int maskStride = ((width + 31) / 32) * 4;
  const size_t colourStart = at + 40;
  const size_t maskStart = colourStart + static_cast<size_t>(colourStride) * height;
  RgbImage image(width, height);
  for (int row = 0; row < height; ++row) {
    const int y = height - 1 - row;
    for (int x = 0; x < width; ++x) {
      const size_t p = colourStart + static_cast<size_t>(row) * colourStride + x * bytesPerPixel;
      const bool masked =
          (b[maskStart + static_cast<size_t>(row) * maskStride + x / 8] >> (7 - x % 8)) & 1;
      const uint8_t checker = ((x / 4 + y / 4) % 2) ? 200 : 150;
      Rgb colour{b[p + 2], b[p + 1], b[p]};
      if (bytesPerPixel == 4) {
        const int alpha = b[p + 3];
        auto blend = [&](int c) {
          return static_cast<uint8_t>((c * alpha + checker * (255 - alpha)) / 255);
        };
        colour = Rgb{blend(colour.r), blend(colour.g), blend(colour.b)};
      } else if (masked) {
        colour = Rgb{checker, checker, checker};
      }
      image.at(x, y) = colour;
    }
  }
  return image;
}

std::vector<RgbImage> decodeAnimatedCursor(const Bytes& b) {
  std::vector<RgbImage> frames;
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string tag(b.begin() + at, b.begin() + at + 4);
    const uint32_t size = tolvaro::readLe32(b, at + 4);
    if (tag == "LIST") {
      at += 12;  // descend into the frame list
      continue;
    }
    if (tag == "icon") frames.push_back(decodeIconDib(b, at + 8 + 22));
    at += 8 + size + (size % 2);
  }
  return frames;
}

// Renders a GBK line with the game's glyph file, pink on a colourful stripe, at 1:1.
RgbImage glyphSample(const Bytes& glyphs, const std::string& utf8) {
  std::string gbk(utf8.size() * 2, '\0');
  iconv_t cd = iconv_open("GBK", "UTF-8");
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* out = gbk.data();
  size_t outLeft = gbk.size();
  iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  gbk.resize(gbk.size() - outLeft);
  const int width = static_cast<int>(gbk.size()) * 8 + 8;
  RgbImage image(width, 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < width; ++x) {
      image.at(x, y) = (x / 40) % 2 ? Rgb{140, 196, 255} : Rgb{255, 236, 150};
    }
  }
  const Rgb pink{245, 71, 181};
  int penX = 4;
  for (size_t i = 0; i < gbk.size();) {
    const auto lead = static_cast<uint8_t>(gbk[i]);
    if (lead < 0x80) {
      const size_t at = glyphfile::halfGlyphOffset(lead);
      for (int row = 0; row < 16; ++row) {
        for (int col = 0; col < 8; ++col) {
          if ((glyphs[at + row] >> (7 - col)) & 1) image.at(penX + col, 4 + row) = pink;
        }
      }
      penX += 8;
      i += 1;
    } else {
      const auto trail = static_cast<uint8_t>(gbk[i + 1]);
      const size_t at = glyphfile::fullGlyphOffset(lead, trail);
      for (int row = 0; row < 16; ++row) {
        const int bits = (glyphs[at + row * 2] << 8) | glyphs[at + row * 2 + 1];
        for (int col = 0; col < 16; ++col) {
          if ((bits >> (15 - col)) & 1) image.at(penX + col, 4 + row) = pink;
        }
      }
      penX += 16;
      i += 2;
    }
  }
  return image;
}

void writePng(const RgbImage& image, double scale, const fs::path& out) {
  Canvas canvas(static_cast<int>(image.width() * scale), static_cast<int>(image.height() * scale));
  cairo_scale(canvas.cr(), scale, scale);
  canvas.paintImage(image);
  cairo_surface_write_to_png(cairo_get_target(canvas.cr()), out.c_str());
}

std::vector<Tile> gameScreenTiles(const fs::path& generated) {
  std::vector<Tile> tiles;
  const fs::path workDir =
      fs::temp_directory_path() / ("tolvaro-contact-sheet-" + std::to_string(::getpid()));
  for (const auto& screen : tolvaro::assetcheck::composeGameScreens(generated, workDir)) {
    tiles.push_back({screen.name, fromPixels(screen.width, screen.height, screen.pixels)});
  }
  if (tiles.empty()) std::fprintf(stderr, "the game did not start: no composed screens\n");
  return tiles;
}

int zoom(const fs::path& picture, double factor, const fs::path& out) {
  const auto decoded = decodeBmp(readFile(picture));
  if (!decoded) {
    std::fprintf(stderr, "cannot read %s\n", picture.c_str());
    return 1;
  }
  writePng(decoded->image, factor, out);
  return 0;
}

int contactSheet(const fs::path& generated, const fs::path& out) {
  std::vector<Tile> tiles = gameScreenTiles(generated);
  std::vector<fs::path> bitmaps;
  for (const auto& entry : fs::directory_iterator(generated / "bitmap"))
    bitmaps.push_back(entry.path());
  std::sort(bitmaps.begin(), bitmaps.end(), [](const fs::path& a, const fs::path& b) {
    return std::stoi(a.stem().string()) < std::stoi(b.stem().string());
  });
  for (const fs::path& path : bitmaps) {
    const auto decoded = decodeBmp(readFile(path));
    if (!decoded) continue;
    tiles.push_back({path.stem().string() + " (" + std::to_string(decoded->bitsPerPixel) + " bit)",
                     decoded->image});
  }
  for (int frame : {1, 9, 17, 25, 33, 41, 49}) {
    const auto decoded =
        decodeBmp(readFile(generated / "03_16" / ("chongzi" + std::to_string(frame) + ".bmp")));
    if (decoded) tiles.push_back({"chongzi" + std::to_string(frame), decoded->image});
  }
  RgbImage letters(26 * 22, 22, Rgb{252, 250, 240});
  for (int code = 65; code <= 90; ++code) {
    const auto decoded =
        decodeBmp(readFile(generated / "charImg" / (std::to_string(code) + ".bmp")));
    if (decoded) letters.paste(decoded->image, (code - 65) * 22 + 1, 1);
  }
  tiles.push_back({"charImg 65-90", letters});
  const Bytes icon = readFile(generated / "icon" / "141.ico");
  if (icon.size() > 22) tiles.push_back({"icon 141", decodeIconDib(icon, 22)});
  const auto cursorFrames = decodeAnimatedCursor(readFile(generated / "mouse6.ani"));
  for (size_t i = 0; i < cursorFrames.size(); ++i) {
    tiles.push_back({"ani " + std::to_string(i), cursorFrames[i]});
  }
  const Bytes glyphs = readFile(generated / "glyphs" / "gbk16.bin");
  if (glyphs.size() == glyphfile::kFileSize) {
    tiles.push_back({"glyphs", glyphSample(glyphs, "祝君好运! 龍虎榜 score: 1100 Tolvaro Mg.jpq")});
    tiles.push_back({"glyphs", glyphSample(glyphs, "正在建设中。。请按 Esc 回到主菜单")});
  }

  // Shelf layout: every tile fits a 300 x 230 box; small tiles are enlarged by whole factors.
  constexpr int kSheetWidth = 1900;
  constexpr double kBoxW = 300, kBoxH = 230;
  struct Placed {
    const Tile* tile;
    double x, y, scale;
  };
  std::vector<Placed> placed;
  double x = 10, y = 10, shelf = 0;
  for (const Tile& tile : tiles) {
    double scale = std::min(kBoxW / tile.image.width(), kBoxH / tile.image.height());
    scale = scale >= 1 ? std::min(4.0, std::floor(scale)) : scale;
    const double w = tile.image.width() * scale;
    const double h = tile.image.height() * scale + 18;
    if (x + w > kSheetWidth - 10) {
      x = 10;
      y += shelf + 12;
      shelf = 0;
    }
    placed.push_back({&tile, x, y, scale});
    x += std::max(w, 90.0) + 14;
    shelf = std::max(shelf, h);
  }
  const int height = static_cast<int>(y + shelf + 12);
  Canvas sheet(kSheetWidth, height);
  cairo_t* cr = sheet.cr();
  cairo_rectangle(cr, 0, 0, kSheetWidth, height);
  setColour(cr, rgb(96, 96, 104));
  cairo_fill(cr);
  TextStyle caption;
  caption.family = kLatinFamily;
  caption.pixelSize = 12;
  caption.bold = false;
  caption.fill = rgb(255, 255, 255);
  for (const Placed& p : placed) {
    cairo_save(cr);
    cairo_translate(cr, p.x, p.y);
    cairo_scale(cr, p.scale, p.scale);
    sheet.paintImage(p.tile->image);
    cairo_restore(cr);
    drawTextOnBaseline(cr, p.tile->label, caption, p.x, p.y + p.tile->image.height() * p.scale + 14,
                       Align::kLeft);
  }
  cairo_surface_write_to_png(cairo_get_target(cr), out.c_str());
  std::printf("contact sheet: %zu pictures -> %s\n", tiles.size(), out.c_str());
  return 0;
}

// --- scenes: the screens composed the way the game draws them, for checking alignment ---------

class Screen {
 public:
  Screen(const fs::path& generated, const Bytes& glyphs)
      : generated_(generated), glyphs_(glyphs), image_(1024, 768) {}
  RgbImage picture(int id) const {
    const auto decoded = decodeBmp(readFile(generated_ / "bitmap" / (std::to_string(id) + ".bmp")));
    return decoded ? decoded->image : RgbImage(1, 1, Rgb{255, 0, 255});
  }
  RgbImage file(const std::string& relative) const {
    const auto decoded = decodeBmp(readFile(generated_ / relative));
    return decoded ? decoded->image : RgbImage(1, 1, Rgb{255, 0, 255});
  }
  void opaque(const RgbImage& p, int x, int y) { image_.paste(p, x, y); }
  void opaque(int id, int x, int y) { opaque(picture(id), x, y); }
  void keyed(int id, int x, int y, Rgb key) {
    const RgbImage p = picture(id);
    for (int row = 0; row < p.height(); ++row) {
      for (int col = 0; col < p.width(); ++col) {
        const int dx = x + col, dy = y + row;
        if (p.at(col, row) != key && dx >= 0 && dy >= 0 && dx < 1024 && dy < 768)
          image_.at(dx, dy) = p.at(col, row);
      }
    }
  }
  void text(const std::string& utf8, int x, int y) {
    if (glyphs_.size() != glyphfile::kFileSize) return;
    const RgbImage sample = glyphSample(glyphs_, utf8);
    // glyphSample paints on a stripe; copy only the pink ink.
    for (int row = 0; row < 16; ++row) {
      for (int col = 0; col + 4 < sample.width(); ++col) {
        const Rgb& p = sample.at(col + 4, row + 4);
        if (p == Rgb{245, 71, 181} && x + col < 1024 && y + row < 768)
          image_.at(x + col, y + row) = p;
      }
    }
  }
  const RgbImage& image() const { return image_; }

 private:
  fs::path generated_;
  const Bytes& glyphs_;
  RgbImage image_;
};

int scenes(const fs::path& generated, const fs::path& outDir) {
  using namespace tolvaro;
  fs::create_directories(outDir);
  const Bytes glyphs = readFile(generated / "glyphs" / "gbk16.bin");
  const Rgb black{0, 0, 0}, white{255, 255, 255};
  {
    Screen s(generated, glyphs);
    s.opaque(kMenuBackgroundBitmap, 0, 0);
    s.keyed(kMenuMarkerBitmap, kMenuMarkerX, menuItemY(1) - kMenuMarkerAboveItem, white);
    for (int k = 0; k < kMenuItemCount; ++k)
      s.opaque(kMenuItemBitmaps[k][k == 1], kMenuItemRestX, menuItemY(k));
    s.opaque(s.file("03_16/chongzi1.bmp"), kMenuBugX, kMenuBugY);
    writePng(s.image(), 1, outDir / "menu.png");
    s.keyed(kExitBoxBitmap, kExitBoxRestX, kExitBoxY, black);
    s.opaque(kExitYesBitmap, kExitYesHighlightX, kExitHighlightY);
    writePng(s.image(), 1, outDir / "exit.png");
  }
  {
    Screen s(generated, glyphs);
    s.opaque(kMenuBackgroundBitmap, 0, 0);
    s.keyed(kSlotPanelBitmap, g_slotPanelX, g_slotPanelY, black);
    s.opaque(kSlotRowBitmap, g_slotRowX, g_slotRowY[1]);
    writePng(s.image(), 1, outDir / "loadgame.png");
  }
  for (int t = 0; t < 3; ++t) {
    const ThemeBitmaps& th = kThemeBitmaps[t];
    Screen s(generated, glyphs);
    s.opaque(th.background, 0, 0);
    s.opaque(th.framePanel, kLobbyPanelX, kLobbyPanelRestY);
    s.opaque(th.title, kLobbyTitleX, kLobbyTitleY);
    for (int b = 0; b < kLobbyButtonCount; ++b) {
      s.opaque(b == 2 ? th.buttonHovered : th.button, kLobbyButtonRestX, kLobbyButtonY[b]);
      s.keyed(th.buttonLabels[b], kLobbyButtonRestX + kLobbyLabelOffsetX,
              kLobbyButtonY[b] + kLobbyLabelOffsetY, black);
    }
    auto infoBoxes = [&] {
      for (int i = 0; i < 3; ++i) {
        s.opaque(th.infoBox, kInfoBoxX, kInfoBoxY[i]);
        s.keyed(th.infoLabels[i], kInfoBoxX + kInfoLabelOffsetX, kInfoBoxY[i] + kInfoLabelOffsetY,
                black);
      }
      s.text("1", kInfoTextX, kInfoTextY[0]);
      s.text("250", kInfoTextX, kInfoTextY[1]);
    };
    infoBoxes();
    s.text("祝君好运!", kInfoTextX, kInfoTextY[2]);
    writePng(s.image(), 1, outDir / ("lobby" + std::to_string(t) + ".png"));
    // The playing frame: panel, tiles, a shot, the info boxes with best score and time.
    s.opaque(th.framePanel, kLobbyPanelX, kLobbyPanelRestY);
    infoBoxes();
    for (int i = 0; i < 8; ++i) {
      s.opaque(s.file("charImg/" + std::to_string(65 + (i * 5) % 26) + ".bmp"), 150 + i * 55,
               74 + i * 70);
    }
    s.opaque(kShotBitmap, 350, 600);
    s.text("100", kInfoTextX, 655);
    s.text("37", kInfoTextX, 675);
    if (t == 1) {
      s.opaque(kLevelCaptionBitmap, 193, 240);
      s.opaque(kLevelDigitBitmaps[2], 320, 312);
    }
    if (t == 2) s.opaque(kCongratsBitmap, 163, 240);
    writePng(s.image(), 1, outDir / ("play" + std::to_string(t) + ".png"));
  }
  {
    Screen s(generated, glyphs);
    s.opaque(kThemeBitmaps[1].background, 0, 0);
    s.opaque(kRecordsBoardBitmap, kRecordsBoardX, kRecordsBoardY);
    const char* names[6] = {"Lily", "小明", "someone", "ABCDEFG", "龍虎", "Tom"};
    for (int r = 0; r < 6; ++r) {
      const int y = kRecordsBoardY + kRecordsRowTop[r];
      s.text(names[r], kRecordsBoardX + kRecordsNameColumn, y);
      s.text(std::to_string(100 + r * 37), kRecordsBoardX + kRecordsTimeColumn, y);
      s.text(std::to_string(1100 - r * 150), kRecordsBoardX + kRecordsScoreColumn, y);
    }
    s.keyed(kRecordsMarkerBitmap, kRecordsBoardX + kRecordsMarkerX,
            kRecordsBoardY + kRecordsRowTop[1] - kRecordsMarkerAboveText, black);
    writePng(s.image(), 1, outDir / "records.png");
  }
  {
    Screen s(generated, glyphs);
    s.opaque(kMenuBackgroundBitmap, 0, 0);
    s.opaque(kNameDialogBitmap, 352, 304);
    s.opaque(kDialogConfirmHoveredBitmap, 352 + kConfirmButtonX,
             304 + kDialogButtonY - kDialogButtonHoverLift);
    writePng(s.image(), 1, outDir / "dialog.png");
  }
  for (const Tile& tile : gameScreenTiles(generated)) {
    std::string name = "game " + tile.label;
    std::replace(name.begin(), name.end(), ' ', '-');
    writePng(tile.image, 1, outDir / (name + ".png"));
  }
  std::printf("scenes -> %s\n", outDir.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--zoom")
    return zoom(argv[2], std::stod(argv[3]), argv[4]);
  if (argc == 4 && std::string(argv[1]) == "--scenes") return scenes(argv[2], argv[3]);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s GENERATED_DIR OUT.png | --zoom PICTURE.bmp FACTOR OUT.png\n",
                 argv[0]);
    return 2;
  }
  return contactSheet(argv[1], argv[2]);
}
