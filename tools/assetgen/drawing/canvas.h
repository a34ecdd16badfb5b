// A cairo drawing surface plus the small vocabulary of shapes, gradients and lettering that all
// the pictures are painted with.
#pragma once

#include <cairo.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "formats/image.h"

namespace tolvaro::assetgen {

struct Colour {
  double r = 0;
  double g = 0;
  double b = 0;
  double a = 1;
};

Colour rgb(int r, int g, int b, double alpha = 1.0);
Colour mix(const Colour& from, const Colour& to, double t);
Colour lighter(const Colour& c, double t);  // towards white
Colour darker(const Colour& c, double t);   // towards black
Colour withAlpha(const Colour& c, double alpha);
Colour fromRgb(const Rgb& p);
Rgb toRgb(const Colour& c);

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void paintImage(const RgbImage& image, double x = 0, double y = 0);

  // Straight alpha (0..255) of one pixel.
  int alphaAt(int x, int y) const;
  // The painting composited over `backdrop` (same size); fully opaque result.
  RgbImage flattenOver(const RgbImage& backdrop) const;
  // As flattenOver, except that pixels whose alpha is below `alphaThreshold` become `key`, and no
  // painted pixel is left equal to `key` (it is nudged by one step).
  RgbImage flattenKeyed(const RgbImage& backdrop, Rgb key, int alphaThreshold = 128) const;
  // For a keyed sprite drawn at several places (each a backdrop of the canvas's size): every
  // pixel becomes either `key`, showing the place itself, or one colour, the painting over the
  // places' average, whichever is nearer, summed over the places, to the painting as it would
  // look over each place. Pixels the painting covers wholly are never keyed.
  RgbImage flattenKeyedForPlaces(const std::vector<RgbImage>& places, Rgb key) const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// --- paths and fills ---------------------------------------------------------------------------
void setColour(cairo_t* cr, const Colour& c);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void fillVertical(cairo_t* cr, double y0, double y1, const Colour& top, const Colour& bottom);
void fillRadial(cairo_t* cr, double cx, double cy, double r0, double r1, const Colour& inner,
                const Colour& outer);
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double rotation = 0);
void heartPath(cairo_t* cr, double cx, double cy, double size);
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
// A circle as a fresh path; filled or outlined in one colour.
void circlePath(cairo_t* cr, double cx, double cy, double radius);
void fillCircle(cairo_t* cr, double cx, double cy, double radius, const Colour& c);
void strokeCircle(cairo_t* cr, double cx, double cy, double radius, const Colour& c, double width);
// Ground (a hill, a meadow, a beach) as a fresh path: from (left, startY) along Bezier segments,
// then closed along the bottom edge, from `right` back to `left`.
struct CurveTo {
  double x1, y1, x2, y2, x, y;
};
void groundPath(cairo_t* cr, double left, double startY, std::initializer_list<CurveTo> curve,
                double right, double bottom);
// `count` wedges from (cx, cy) out to `reach`, evenly spaced, each half a step wide: the rays
// behind a title or a prize.
void raysFrom(cairo_t* cr, double cx, double cy, int count, double reach, const Colour& c);
// A rounded panel filled top to bottom from `top` to `bottom`, then outlined.
void outlinedPanel(cairo_t* cr, double x, double y, double w, double h, double radius,
                   const Colour& top, const Colour& bottom, const Colour& outline, double width);
// Stitching: a dashed rounded outline of `dash` on, `gap` off.
void stitchedRoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius,
                         const Colour& c, double width, double dash, double gap);
// A glossy candy surface: gradient body, outline, light band on the upper half.
void glossyRoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius,
                       const Colour& base, const Colour& outline, double outlineWidth);
// A shiny ball: a radial gradient lit from (lightX, lightY), an outline and a small shine.
struct GlossyBall {
  double cx, cy, radius;
  double lightX, lightY, lightReach;
  Colour inner, outer, outline;
  double outlineWidth;
  double shineX, shineY, shineRadius;
  Colour shine;
};
void glossyBall(cairo_t* cr, const GlossyBall& ball);
void softShadow(cairo_t* cr, double x, double y, double w, double h, double radius, double spread,
                double alpha);
void sparkle(cairo_t* cr, double cx, double cy, double size, const Colour& c);

// --- lettering ----------------------------------------------------------------------------------
inline constexpr const char* kChineseFamily = "WenQuanYi Micro Hei";
inline constexpr const char* kLatinFamily = "DejaVu Sans";

struct TextStyle {
  std::string family = kChineseFamily;
  double pixelSize = 20;
  bool bold = true;
  Colour fill = rgb(255, 255, 255);
  Colour outline = rgb(0, 0, 0, 0);
  double outlineWidth = 0;  // drawn centred on the glyph edge, under the fill
  Colour shadow = rgb(0, 0, 0, 0);
  double shadowDx = 0;
  double shadowDy = 0;
  double letterSpacing = 0;  // pixels
};

struct TextExtents {
  double x = 0;  // ink box relative to the layout origin
  double y = 0;
  double width = 0;
  double height = 0;
};

TextExtents measureText(cairo_t* cr, const std::string& text, const TextStyle& style);
// Centres the ink of the text on (cx, cy).
void drawTextCentred(cairo_t* cr, const std::string& text, const TextStyle& style, double cx,
                     double cy);
// Ink starts at x (alignLeft) or ends at x (!alignLeft); vertically the ink is centred on cy.
void drawTextAligned(cairo_t* cr, const std::string& text, const TextStyle& style, double x,
                     double cy, bool alignLeft);
// Places the text's baseline on `baseline`; x is the ink's left edge, centre or right edge.
enum class Align { kLeft, kCentre, kRight };
void drawTextOnBaseline(cairo_t* cr, const std::string& text, const TextStyle& style, double x,
                        double baseline, Align align);

}  // namespace tolvaro::assetgen
