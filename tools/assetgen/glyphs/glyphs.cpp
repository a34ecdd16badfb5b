#include "glyphs/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/GlyphFile.h"

namespace tolvaro::assetgen {
namespace {

using glyphfile::kCellHeight;
using glyphfile::kFullWidth;
using glyphfile::kHalfWidth;

// Latin letters sit on this baseline (text top + 13) so that descenders fit the 16-row cell;
// ideographs fill the whole em box, rows 0 to 15, as the bitmap song draws them.
constexpr int kLatinBaseline = 13;
constexpr int kIdeographBaseline = 14;

using Cell = std::array<std::array<bool, kFullWidth>, kCellHeight>;

struct Rendered {
  int left = 0, top = 0, width = 0, rows = 0, advance = 0;
  std::vector<std::vector<bool>> ink;  // [row][col]
};

class FontFace {
 public:
  FontFace(FT_Library library, const std::string& path, int index, bool bitmapStrike) {
    if (FT_New_Face(library, path.c_str(), index, &face_) != 0) {
      throw std::runtime_error("cannot open font " + path);
    }
    if (bitmapStrike) {
      FT_Select_Size(face_, 0);
    } else {
      FT_Set_Pixel_Sizes(face_, 0, kCellHeight);
    }
  }
  ~FontFace() { FT_Done_Face(face_); }
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  bool has(char32_t codepoint) const { return FT_Get_Char_Index(face_, codepoint) != 0; }

  Rendered render(char32_t codepoint) const {
    Rendered result;
    const FT_UInt index = FT_Get_Char_Index(face_, codepoint);
    if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
      return result;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    result.left = slot->bitmap_left;
    result.top = slot->bitmap_top;
    result.width = static_cast<int>(bitmap.width);
    result.rows = static_cast<int>(bitmap.rows);
    result.advance = static_cast<int>(slot->advance.x >> 6);
    result.ink.assign(result.rows, std::vector<bool>(result.width, false));
    for (int row = 0; row < result.rows; ++row) {
      const unsigned char* line = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
      for (int col = 0; col < result.width; ++col) {
        result.ink[row][col] = (line[col / 8] >> (7 - col % 8)) & 1;
      }
    }
    return result;
  }

 private:
  FT_Face face_ = nullptr;
};

// Narrows a glyph to `target` columns by OR-merging the most alike neighbouring columns, which
// keeps strokes and drops only the widest gaps.
void narrowTo(Rendered& glyph, int target) {
  while (glyph.width > target) {
    int bestColumn = 0;
    int bestDifference = INT32_MAX;
    for (int col = 0; col + 1 < glyph.width; ++col) {
      int difference = 0;
      for (int row = 0; row < glyph.rows; ++row)
        difference += glyph.ink[row][col] != glyph.ink[row][col + 1];
      // Prefer merging near the middle, where round letters have their widest part.
      const int fromMiddle = std::abs(2 * col + 1 - glyph.width);
      const int score = difference * 64 + fromMiddle;
      if (score < bestDifference) {
        bestDifference = score;
        bestColumn = col;
      }
    }
    for (int row = 0; row < glyph.rows; ++row) {
      glyph.ink[row][bestColumn] = glyph.ink[row][bestColumn] || glyph.ink[row][bestColumn + 1];
      glyph.ink[row].erase(glyph.ink[row].begin() + bestColumn + 1);
    }
    --glyph.width;
  }
}

// Places a glyph in a cell of `cellWidth` columns on `baseline`; glyphs that would reach below
// the cell are lifted, taller ones lose their top rows.
Cell place(const Rendered& glyph, int cellWidth, int baseline) {
  Cell cell{};
  if (glyph.width == 0 || glyph.rows == 0) return cell;
  int x0 = glyph.left + (cellWidth - std::max(glyph.advance, glyph.left + glyph.width)) / 2;
  x0 = std::clamp(x0, 0, std::max(0, cellWidth - glyph.width));
  int y0 = baseline - glyph.top;
  if (y0 + glyph.rows > kCellHeight) y0 = kCellHeight - glyph.rows;
  for (int row = 0; row < glyph.rows; ++row) {
    const int y = y0 + row;
    if (y < 0 || y >= kCellHeight) continue;
    for (int col = 0; col < glyph.width; ++col) {
      const int x = x0 + col;
      if (x >= 0 && x < cellWidth && glyph.ink[row][col]) cell[y][x] = true;
    }
  }
  return cell;
}

// Thickens vertical strokes by one pixel to the right, never closing a gap between two strokes,
// so the thin bitmap song reads like a bold system font over the game's colourful pictures.
void embolden(Cell& cell, int cellWidth) {
  for (auto& row : cell) {
    const auto old = row;
    for (int x = 1; x < cellWidth; ++x) {
      const bool rightIsInk = x + 1 < cellWidth && old[x + 1];
      if (!old[x] && old[x - 1] && !rightIsInk) row[x] = true;
    }
  }
}

bool blank(const Cell& cell) {
  for (const auto& row : cell) {
    for (bool bit : row) {
      if (bit) return false;
    }
  }
  return true;
}

// GBK to one Unicode code point with glibc's converter; nothing for codes that are not characters.
class GbkDecoder {
 public:
  GbkDecoder() : cd_(iconv_open("UTF-32LE", "GBK")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv has no GBK converter");
  }
  ~GbkDecoder() { iconv_close(cd_); }
  GbkDecoder(const GbkDecoder&) = delete;
  GbkDecoder& operator=(const GbkDecoder&) = delete;

  char32_t decode(uint8_t lead, uint8_t trail) {
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    unsigned char out[8] = {};
    char* inPtr = in;
    size_t inLeft = 2;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const size_t converted = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
    if (converted == static_cast<size_t>(-1) || inLeft != 0 || sizeof out - outLeft != 4) return 0;
    const char32_t codepoint =
        out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
    // Private-use code points are user-defined GBK areas with no agreed character.
    if (codepoint >= 0xE000 && codepoint <= 0xF8FF) return 0;
    return codepoint;
  }

 private:
  iconv_t cd_;
};

}  // namespace

Bytes buildGlyphSet(const GlyphSources& sources, GlyphSetReport* report) {
  GlyphSetReport counts;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("cannot start FreeType");
  Bytes out;
  {
    const FontFace song(library, sources.bitmapFont, 0, true);
    const FontFace hei(library, sources.outlineFont, sources.outlineProportionalIndex, false);
    const FontFace heiMono(library, sources.outlineFont, sources.outlineMonoIndex, false);

    out.reserve(glyphfile::kFileSize);
    out.insert(out.end(), std::begin(glyphfile::kMagic), std::end(glyphfile::kMagic));
    out.insert(out.end(), {glyphfile::kVersion & 0xFF, glyphfile::kVersion >> 8, kCellHeight,
                           kHalfWidth, kFullWidth});
    out.resize(glyphfile::kHeaderSize, 0);

    // Half-width table: printable ASCII from the bitmap song, narrowed to 8 columns where needed.
    for (int code = 0; code < 256; ++code) {
      Cell cell{};
      if (code >= 0x21 && code <= 0x7E) {
        Rendered glyph = song.render(static_cast<char32_t>(code));
        if (glyph.width > 0) {
          // One column is kept free for emboldening.
          if (glyph.width > kHalfWidth - 1) {
            narrowTo(glyph, kHalfWidth - 1);
            glyph.left = 0;
            glyph.advance = kHalfWidth - 1;
          }
          cell = place(glyph, kHalfWidth - 1, kLatinBaseline);
          embolden(cell, kHalfWidth);
          ++counts.halfWidthFromBitmap;
        } else {
          cell = place(heiMono.render(static_cast<char32_t>(code)), kHalfWidth, kLatinBaseline);
          ++counts.halfWidthFromOutline;
        }
      }
      for (int row = 0; row < kCellHeight; ++row) {
        uint8_t bits = 0;
        for (int col = 0; col < kHalfWidth; ++col) {
          if (cell[row][col]) bits |= static_cast<uint8_t>(0x80 >> col);
        }
        out.push_back(bits);
      }
    }

    // Full-width table.
    GbkDecoder decoder;
    for (int lead = glyphfile::kFirstLead; lead <= glyphfile::kLastLead; ++lead) {
      for (int trail = glyphfile::kFirstTrail; trail <= glyphfile::kLastTrail; ++trail) {
        Cell cell{};
        const char32_t codepoint =
            trail == 0x7F ? 0
                          : decoder.decode(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
        if (codepoint != 0) {
          const bool fromSong = song.has(codepoint);
          const Rendered glyph = fromSong ? song.render(codepoint) : hei.render(codepoint);
          // Narrow (Latin-like) designs keep the Latin baseline; square ones fill the em box.
          const int baseline = glyph.advance >= 12 ? kIdeographBaseline : kLatinBaseline;
          cell = place(glyph, kFullWidth, baseline);
          embolden(cell, kFullWidth);
          if (fromSong) {
            ++counts.fullWidthFromBitmap;
          } else if (!blank(cell) || hei.has(codepoint)) {
            ++counts.fullWidthFromOutline;
          } else {
            ++counts.fullWidthMissing;
          }
        }
        for (int row = 0; row < kCellHeight; ++row) {
          uint8_t high = 0, low = 0;
          for (int col = 0; col < 8; ++col) {
            if (cell[row][col]) high |= static_cast<uint8_t>(0x80 >> col);
            if (cell[row][col + 8]) low |= static_cast<uint8_t>(0x80 >> col);
          }
          out.push_back(high);
          out.push_back(low);
        }
      }
    }
  }
  FT_Done_FreeType(library);
  if (report != nullptr) *report = counts;
  return out;
}

}  // namespace tolvaro::assetgen
