// The game's own 16-pixel bitmap glyph set covering every GBK character ("TGLY" file).
#pragma once

#include <string>

#include "formats/byte_writer.h"

namespace tolvaro::assetgen {

struct GlyphSources {
  std::string bitmapFont;   // WenQuanYi bitmap song, 16 px strike (PCF)
  std::string outlineFont;  // WenQuanYi Micro Hei collection
  int outlineProportionalIndex = 0;
  int outlineMonoIndex = 1;
};

struct GlyphSetReport {
  int fullWidthFromBitmap = 0;
  int fullWidthFromOutline = 0;
  int fullWidthMissing = 0;  // GBK characters neither font has (left blank)
  int halfWidthFromBitmap = 0;
  int halfWidthFromOutline = 0;
};

// Throws std::runtime_error when a font cannot be opened.
Bytes buildGlyphSet(const GlyphSources& sources, GlyphSetReport* report);

}  // namespace tolvaro::assetgen
