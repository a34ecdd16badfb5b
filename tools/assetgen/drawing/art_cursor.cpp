// The program icon and the animated mouse cursor.
#include <cmath>

#include "drawing/art.h"
#include "drawing/characters.h"
#include "formats/ani_writer.h"
#include "formats/icon_writer.h"

namespace tolvaro::assetgen {
namespace {

constexpr int kSize = 32;

// Reads the canvas back as straight-alpha BGRA.
std::vector<uint8_t> straightBgra(const Canvas& canvas) {
  const RgbImage black = canvas.flattenOver(RgbImage(canvas.width(), canvas.height(), kBlack));
  std::vector<uint8_t> bgra;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const int alpha = canvas.alphaAt(x, y);
      const Rgb& p = black.at(x, y);  // premultiplied colour over black
      auto unpremultiply = [&](int c) {
        return alpha == 0 ? 0 : std::min(255, (c * 255 + alpha / 2) / alpha);
      };
      bgra.push_back(static_cast<uint8_t>(unpremultiply(p.b)));
      bgra.push_back(static_cast<uint8_t>(unpremultiply(p.g)));
      bgra.push_back(static_cast<uint8_t>(unpremultiply(p.r)));
      bgra.push_back(static_cast<uint8_t>(alpha));
    }
  }
  return bgra;
}

void arrowPath(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 1.5, 1.5);
  cairo_line_to(cr, 1.5, 23);
  cairo_line_to(cr, 7, 18);
  cairo_line_to(cr, 11, 27);
  cairo_line_to(cr, 15, 25.2);
  cairo_line_to(cr, 11.2, 16.5);
  cairo_line_to(cr, 18.5, 16.5);
  cairo_close_path(cr);
}

}  // namespace

// The icon as drawn at 32 x 32; other sizes scale the drawing.
void drawProgramIcon(cairo_t* cr) {
  outlinedPanel(cr, 1, 1, 30, 30, 8, rgb(150, 220, 255), kIconPanelBlue, rgb(20, 70, 160), 1.5);
  groundPath(cr, 1, 25, {{10, 21, 22, 27, 31, 23}}, 31, 31);
  cairo_save(cr);
  roundedRect(cr, 1.5, 1.5, 29, 29, 7.5);
  cairo_clip(cr);
  setColour(cr, rgb(110, 200, 80));
  groundPath(cr, 1, 25, {{10, 21, 22, 27, 31, 23}}, 31, 31);
  cairo_fill(cr);
  cairo_restore(cr);
  LadybugLook look;
  drawLadybug(cr, 13, 21, 23, look);
}

Bytes makeProgramIcon() {
  Canvas canvas(kSize, kSize);
  drawProgramIcon(canvas.cr());
  const RgbImage image = canvas.flattenOver(RgbImage(kSize, kSize, kBlack));
  std::vector<bool> transparent(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) transparent[y * kSize + x] = canvas.alphaAt(x, y) < 128;
  }
  return encodeIcon24(image, transparent);
}

bool writeProgramIconPng(int size, const std::filesystem::path& file) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  cairo_scale(cr, size / double(kSize), size / double(kSize));
  drawProgramIcon(cr);
  cairo_surface_t* surface = cairo_get_target(cr);
  cairo_surface_flush(surface);
  return cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
}

Bytes makeAnimatedCursor() {
  constexpr int kFrames = 8;
  std::vector<CursorFrame> frames;
  for (int i = 0; i < kFrames; ++i) {
    const double phase = 2 * M_PI * i / kFrames;
    Canvas canvas(kSize, kSize);
    cairo_t* cr = canvas.cr();
    // Candy arrow whose colour drifts through the rainbow.
    const double hue = static_cast<double>(i) / kFrames;
    const Colour tint{0.5 + 0.5 * std::cos(2 * M_PI * hue),
                      0.5 + 0.5 * std::cos(2 * M_PI * (hue - 1.0 / 3)),
                      0.5 + 0.5 * std::cos(2 * M_PI * (hue - 2.0 / 3)), 1};
    const Colour fill = mix(tint, rgb(255, 255, 255), 0.35);
    arrowPath(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, rgb(255, 255, 255));
    cairo_set_line_width(cr, 3.5);
    cairo_stroke(cr);
    arrowPath(cr);
    fillVertical(cr, 1, 27, lighter(fill, 0.4), fill);
    arrowPath(cr);
    setColour(cr, rgb(40, 30, 80));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // A twinkling star beside the arrow.
    const double twinkle = 0.6 + 0.4 * std::cos(phase);
    sparkle(cr, 24, 9, 6.5 * twinkle, rgb(255, 214, 40));
    sparkle(cr, 24, 9, 3.2 * twinkle, rgb(255, 255, 220));
    sparkle(cr, 27, 22, 3.5 * (1.4 - twinkle), rgb(255, 140, 200));
    CursorFrame frame;
    frame.bgra = straightBgra(canvas);
    frame.hotspotX = 1;
    frame.hotspotY = 1;
    frames.push_back(std::move(frame));
  }
  std::vector<uint32_t> rates(kFrames, 8);  // jiffies of 1/60 s
  std::vector<uint32_t> sequence;
  for (int i = 0; i < kFrames; ++i) sequence.push_back(static_cast<uint32_t>(i));
  return encodeAnimatedCursor(frames, rates, sequence);
}

}  // namespace tolvaro::assetgen
