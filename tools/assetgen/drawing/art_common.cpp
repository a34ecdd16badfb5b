#include <stdexcept>

#include "drawing/art.h"
#include "drawing/characters.h"

namespace tolvaro::assetgen {

std::optional<Rgb> keyColour(ColourKey key) {
  switch (key) {
    case ColourKey::White:
      return kWhite;
    case ColourKey::Black:
      return kBlack;
    case ColourKey::None:
      break;
  }
  return std::nullopt;
}

RgbImage coveredBy(int id, const RgbImage& under, int x, int y) {
  const BitmapSize size = bitmapSize(id);
  return under.crop(x, y, size.width, size.height);
}

void PictureBook::addResource(int id, RgbImage image) {
  const BitmapEntry& entry = bitmapEntry(id);
  resources_[id] = Picture{std::move(image), entry.depth, keyColour(entry.key)};
}

void PictureBook::addFile(const std::string& relativePath, RgbImage image) {
  files_[relativePath] = std::move(image);
}

const RgbImage& PictureBook::resource(int id) const {
  const auto found = resources_.find(id);
  if (found == resources_.end())
    throw std::logic_error("picture painted out of order: " + std::to_string(id));
  return found->second.image;
}

const Theme& themeFor(int index) {
  static const Theme kThemes[3] = {
      {rgb(22, 70, 158), rgb(48, 132, 232), rgb(140, 196, 255), rgb(226, 240, 255),
       rgb(255, 204, 48)},
      {rgb(84, 38, 146), rgb(146, 88, 222), rgb(206, 170, 255), rgb(243, 234, 255),
       rgb(255, 150, 200)},
      {rgb(0, 112, 120), rgb(22, 184, 186), rgb(128, 232, 224), rgb(224, 250, 247),
       rgb(255, 168, 64)},
  };
  return kThemes[index];
}

Colour playfieldColour() {
  return rgb(252, 250, 240);
}

TextStyle chineseLabelStyle(double pixelSize, const Colour& fill, const Colour& outline,
                            double outlineWidth) {
  TextStyle style;
  style.family = kChineseFamily;
  style.pixelSize = pixelSize;
  style.bold = true;
  style.fill = fill;
  style.outline = outline;
  style.outlineWidth = outlineWidth;
  return style;
}

TextStyle latinDisplayStyle(double pixelSize, const Colour& fill, const Colour& outline,
                            double outlineWidth) {
  TextStyle style = chineseLabelStyle(pixelSize, fill, outline, outlineWidth);
  style.family = kLatinFamily;
  return style;
}

void drawProductLogo(cairo_t* cr, double cx, double cy, double scale,
                     const Colour& subtitleRibbon) {
  static const Colour kLetterColours[] = {rgb(255, 92, 92),  rgb(255, 166, 40), rgb(250, 210, 40),
                                          rgb(90, 200, 90),  rgb(60, 170, 240), rgb(150, 110, 240),
                                          rgb(255, 110, 190)};
  const std::string word = "Tolvaro";
  const double size = 86 * scale;
  // Measure each letter so the word can be centred with a little bounce per letter.
  TextStyle style = latinDisplayStyle(size, rgb(255, 255, 255), rgb(255, 255, 255), 12 * scale);
  double widths[7];
  double total = 0;
  for (int i = 0; i < 7; ++i) {
    widths[i] = measureText(cr, word.substr(i, 1), style).width + 6 * scale;
    total += widths[i];
  }
  double x = cx - total / 2;
  for (int i = 0; i < 7; ++i) {
    const double letterCx = x + widths[i] / 2;
    const double bounce = ((i % 2 == 0) ? -5 : 5) * scale;
    const double tilt = ((i % 3) - 1) * 0.08;
    cairo_save(cr);
    cairo_translate(cr, letterCx, cy - 18 * scale + bounce);
    cairo_rotate(cr, tilt);
    TextStyle shadow = style;
    shadow.fill = rgb(40, 40, 90, 0.28);
    shadow.outline = rgb(40, 40, 90, 0.28);
    drawTextCentred(cr, word.substr(i, 1), shadow, 3 * scale, 5 * scale);
    TextStyle letter = style;
    letter.fill = kLetterColours[i];
    letter.outline = rgb(255, 255, 255);
    drawTextCentred(cr, word.substr(i, 1), letter, 0, 0);
    // A gloss stripe across the letter's upper half.
    TextStyle gloss = letter;
    gloss.fill = rgb(255, 255, 255, 0.28);
    gloss.outlineWidth = 0;
    cairo_save(cr);
    cairo_rectangle(cr, -size, -size, 2 * size, size * 0.9);
    cairo_clip(cr);
    drawTextCentred(cr, word.substr(i, 1), gloss, 0, 0);
    cairo_restore(cr);
    cairo_restore(cr);
    x += widths[i];
  }
  // Subtitle ribbon.
  const double ribbonW = 250 * scale;
  const double ribbonH = 44 * scale;
  const double ribbonY = cy + 40 * scale;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - ribbonW / 2 - 22 * scale, ribbonY + 4 * scale);
  cairo_line_to(cr, cx - ribbonW / 2 + 6 * scale, ribbonY + ribbonH / 2 + 4 * scale);
  cairo_line_to(cr, cx - ribbonW / 2 - 22 * scale, ribbonY + ribbonH + 4 * scale);
  cairo_line_to(cr, cx - ribbonW / 2 + 10 * scale, ribbonY + ribbonH + 4 * scale);
  cairo_line_to(cr, cx - ribbonW / 2 + 10 * scale, ribbonY + 4 * scale);
  cairo_close_path(cr);
  cairo_move_to(cr, cx + ribbonW / 2 + 22 * scale, ribbonY + 4 * scale);
  cairo_line_to(cr, cx + ribbonW / 2 - 6 * scale, ribbonY + ribbonH / 2 + 4 * scale);
  cairo_line_to(cr, cx + ribbonW / 2 + 22 * scale, ribbonY + ribbonH + 4 * scale);
  cairo_line_to(cr, cx + ribbonW / 2 - 10 * scale, ribbonY + ribbonH + 4 * scale);
  cairo_line_to(cr, cx + ribbonW / 2 - 10 * scale, ribbonY + 4 * scale);
  cairo_close_path(cr);
  setColour(cr, darker(subtitleRibbon, 0.25));
  cairo_fill(cr);
  roundedRect(cr, cx - ribbonW / 2, ribbonY, ribbonW, ribbonH, 8 * scale);
  fillVertical(cr, ribbonY, ribbonY + ribbonH, lighter(subtitleRibbon, 0.25), subtitleRibbon);
  roundedRect(cr, cx - ribbonW / 2, ribbonY, ribbonW, ribbonH, 8 * scale);
  setColour(cr, darker(subtitleRibbon, 0.35));
  cairo_set_line_width(cr, 2.5 * scale);
  cairo_stroke(cr);
  TextStyle subtitle =
      chineseLabelStyle(28 * scale, rgb(255, 255, 255), darker(subtitleRibbon, 0.45), 4 * scale);
  subtitle.letterSpacing = 4 * scale;
  drawTextCentred(cr, "字母虫虫", subtitle, cx, ribbonY + ribbonH / 2);
}

}  // namespace tolvaro::assetgen
