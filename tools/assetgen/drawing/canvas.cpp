#include "drawing/canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace tolvaro::assetgen {

Colour rgb(int r, int g, int b, double alpha) {
  return Colour{r / 255.0, g / 255.0, b / 255.0, alpha};
}

Colour mix(const Colour& from, const Colour& to, double t) {
  return Colour{from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
                from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t};
}

Colour lighter(const Colour& c, double t) {
  return mix(c, Colour{1, 1, 1, c.a}, t);
}
Colour darker(const Colour& c, double t) {
  return mix(c, Colour{0, 0, 0, c.a}, t);
}
Colour withAlpha(const Colour& c, double alpha) {
  return Colour{c.r, c.g, c.b, alpha};
}
Colour fromRgb(const Rgb& p) {
  return rgb(p.r, p.g, p.b);
}

Rgb toRgb(const Colour& c) {
  auto channel = [](double v) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(v * 255.0)), 0, 255));
  };
  return Rgb{channel(c.r), channel(c.g), channel(c.b)};
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::paintImage(const RgbImage& image, double x, double y) {
  cairo_surface_t* source =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width(), image.height());
  cairo_surface_flush(source);
  unsigned char* data = cairo_image_surface_get_data(source);
  const int stride = cairo_image_surface_get_stride(source);
  for (int row = 0; row < image.height(); ++row) {
    auto* line = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(row) * stride);
    for (int col = 0; col < image.width(); ++col) {
      const Rgb& p = image.at(col, row);
      line[col] = 0xFF000000u | (static_cast<uint32_t>(p.r) << 16) |
                  (static_cast<uint32_t>(p.g) << 8) | p.b;
    }
  }
  cairo_surface_mark_dirty(source);
  cairo_save(cr_);
  cairo_set_source_surface(cr_, source, x, y);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
  cairo_paint(cr_);
  cairo_restore(cr_);
  cairo_surface_destroy(source);
}

int Canvas::alphaAt(int x, int y) const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  const auto* line = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
  return static_cast<int>(line[x] >> 24);
}

namespace {

// Composites one premultiplied ARGB pixel over an opaque backdrop pixel.
Rgb over(uint32_t argb, const Rgb& under) {
  const int alpha = static_cast<int>(argb >> 24);
  auto channel = [&](int premultiplied, int below) {
    return static_cast<uint8_t>(
        std::clamp(premultiplied + (below * (255 - alpha) + 127) / 255, 0, 255));
  };
  return Rgb{channel(static_cast<int>((argb >> 16) & 0xFF), under.r),
             channel(static_cast<int>((argb >> 8) & 0xFF), under.g),
             channel(static_cast<int>(argb & 0xFF), under.b)};
}

int channelGap(const Rgb& a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

Rgb nudgedOffKey(Rgb p, const Rgb& key) {
  if (!(p == key)) return p;
  p.r = static_cast<uint8_t>(key.r < 128 ? key.r + 1 : key.r - 1);
  p.g = static_cast<uint8_t>(key.g < 128 ? key.g + 1 : key.g - 1);
  p.b = static_cast<uint8_t>(key.b < 128 ? key.b + 1 : key.b - 1);
  return p;
}

}  // namespace

RgbImage Canvas::flattenOver(const RgbImage& backdrop) const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  RgbImage result(width_, height_);
  for (int y = 0; y < height_; ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      const Rgb under =
          (x < backdrop.width() && y < backdrop.height()) ? backdrop.at(x, y) : kBlack;
      result.at(x, y) = over(line[x], under);
    }
  }
  return result;
}

RgbImage Canvas::flattenKeyed(const RgbImage& backdrop, Rgb key, int alphaThreshold) const {
  RgbImage result = flattenOver(backdrop);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Rgb& p = result.at(x, y);
      p = alphaAt(x, y) < alphaThreshold ? key : nudgedOffKey(p, key);
    }
  }
  return result;
}

RgbImage Canvas::flattenKeyedForPlaces(const std::vector<RgbImage>& places, Rgb key) const {
  RgbImage result = flattenOver(averageOf(places));
  std::vector<RgbImage> painted;
  for (const RgbImage& place : places) painted.push_back(flattenOver(place));
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Rgb& p = result.at(x, y);
      const int alpha = alphaAt(x, y);
      if (alpha == 0) {
        p = key;
        continue;
      }
      if (alpha < 255) {
        int keyedError = 0, blendedError = 0;
        for (size_t k = 0; k < places.size(); ++k) {
          keyedError += channelGap(places[k].at(x, y), painted[k].at(x, y));
          blendedError += channelGap(p, painted[k].at(x, y));
        }
        if (keyedError <= blendedError) {
          p = key;
          continue;
        }
      }
      p = nudgedOffKey(p, key);
    }
  }
  return result;
}

void setColour(cairo_t* cr, const Colour& c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::min({radius, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void fillVertical(cairo_t* cr, double y0, double y1, const Colour& top, const Colour& bottom) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(pattern, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(pattern, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr, pattern);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

void fillRadial(cairo_t* cr, double cx, double cy, double r0, double r1, const Colour& inner,
                const Colour& outer) {
  cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, r0, cx, cy, r1);
  cairo_pattern_add_color_stop_rgba(pattern, 0, inner.r, inner.g, inner.b, inner.a);
  cairo_pattern_add_color_stop_rgba(pattern, 1, outer.r, outer.g, outer.b, outer.a);
  cairo_set_source(cr, pattern);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

void glossyBall(cairo_t* cr, const GlossyBall& ball) {
  cairo_new_path(cr);
  cairo_arc(cr, ball.cx, ball.cy, ball.radius, 0, 2 * M_PI);
  fillRadial(cr, ball.lightX, ball.lightY, 0.5, ball.lightReach, ball.inner, ball.outer);
  cairo_new_path(cr);
  cairo_arc(cr, ball.cx, ball.cy, ball.radius, 0, 2 * M_PI);
  setColour(cr, ball.outline);
  cairo_set_line_width(cr, ball.outlineWidth);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_arc(cr, ball.shineX, ball.shineY, ball.shineRadius, 0, 2 * M_PI);
  setColour(cr, ball.shine);
  cairo_fill(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double rotation) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    const double angle = rotation - M_PI / 2 + i * M_PI / points;
    const double r = (i % 2 == 0) ? outer : inner;
    const double x = cx + r * std::cos(angle);
    const double y = cy + r * std::sin(angle);
    if (i == 0) {
      cairo_move_to(cr, x, y);
    } else {
      cairo_line_to(cr, x, y);
    }
  }
  cairo_close_path(cr);
}

void heartPath(cairo_t* cr, double cx, double cy, double size) {
  const double s = size / 2;
  cairo_new_sub_path(cr);
  cairo_move_to(cr, cx, cy + s * 0.9);
  cairo_curve_to(cr, cx - s * 1.2, cy + s * 0.1, cx - s * 1.0, cy - s * 0.9, cx, cy - s * 0.35);
  cairo_curve_to(cr, cx + s * 1.0, cy - s * 0.9, cx + s * 1.2, cy + s * 0.1, cx, cy + s * 0.9);
  cairo_close_path(cr);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void outlinedPanel(cairo_t* cr, double x, double y, double w, double h, double radius,
                   const Colour& top, const Colour& bottom, const Colour& outline, double width) {
  roundedRect(cr, x, y, w, h, radius);
  fillVertical(cr, y, y + h, top, bottom);
  roundedRect(cr, x, y, w, h, radius);
  setColour(cr, outline);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void stitchedRoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius,
                         const Colour& c, double width, double dash, double gap) {
  roundedRect(cr, x, y, w, h, radius);
  setColour(cr, c);
  cairo_set_line_width(cr, width);
  const double dashes[] = {dash, gap};
  cairo_set_dash(cr, dashes, 2, 0);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void circlePath(cairo_t* cr, double cx, double cy, double radius) {
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
}

void fillCircle(cairo_t* cr, double cx, double cy, double radius, const Colour& c) {
  circlePath(cr, cx, cy, radius);
  setColour(cr, c);
  cairo_fill(cr);
}

void strokeCircle(cairo_t* cr, double cx, double cy, double radius, const Colour& c, double width) {
  circlePath(cr, cx, cy, radius);
  setColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void groundPath(cairo_t* cr, double left, double startY, std::initializer_list<CurveTo> curve,
                double right, double bottom) {
  cairo_new_path(cr);
  cairo_move_to(cr, left, startY);
  for (const CurveTo& c : curve) cairo_curve_to(cr, c.x1, c.y1, c.x2, c.y2, c.x, c.y);
  cairo_line_to(cr, right, bottom);
  cairo_line_to(cr, left, bottom);
  cairo_close_path(cr);
}

void raysFrom(cairo_t* cr, double cx, double cy, int count, double reach, const Colour& c) {
  for (int i = 0; i < count; ++i) {
    const double a0 = i * M_PI / (count / 2), a1 = a0 + M_PI / count;
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + std::cos(a0) * reach, cy + std::sin(a0) * reach);
    cairo_line_to(cr, cx + std::cos(a1) * reach, cy + std::sin(a1) * reach);
    cairo_close_path(cr);
    setColour(cr, c);
    cairo_fill(cr);
  }
}

void glossyRoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius,
                       const Colour& base, const Colour& outline, double outlineWidth) {
  roundedRect(cr, x, y, w, h, radius);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, y, 0, y + h);
  const Colour top = lighter(base, 0.35);
  const Colour bottom = darker(base, 0.18);
  cairo_pattern_add_color_stop_rgb(body, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(body, 0.55, base.r, base.g, base.b);
  cairo_pattern_add_color_stop_rgb(body, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  if (outlineWidth > 0) {
    setColour(cr, outline);
    cairo_set_line_width(cr, outlineWidth);
    cairo_stroke(cr);
  } else {
    cairo_new_path(cr);
  }
  // Gloss band on the upper half.
  const double inset = std::max(outlineWidth, 2.0) + 1;
  roundedRect(cr, x + inset, y + inset, w - 2 * inset, h * 0.45, std::max(radius - inset, 1.0));
  fillVertical(cr, y + inset, y + inset + h * 0.45, rgb(255, 255, 255, 0.55),
               rgb(255, 255, 255, 0.05));
}

void softShadow(cairo_t* cr, double x, double y, double w, double h, double radius, double spread,
                double alpha) {
  const int steps = 6;
  for (int i = steps; i >= 1; --i) {
    const double grow = spread * i / steps;
    roundedRect(cr, x - grow, y - grow, w + 2 * grow, h + 2 * grow, radius + grow);
    setColour(cr, rgb(0, 0, 0, alpha / steps));
    cairo_fill(cr);
  }
}

void sparkle(cairo_t* cr, double cx, double cy, double size, const Colour& c) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - size);
  cairo_curve_to(cr, cx + size * 0.12, cy - size * 0.12, cx + size * 0.12, cy - size * 0.12,
                 cx + size, cy);
  cairo_curve_to(cr, cx + size * 0.12, cy + size * 0.12, cx + size * 0.12, cy + size * 0.12, cx,
                 cy + size);
  cairo_curve_to(cr, cx - size * 0.12, cy + size * 0.12, cx - size * 0.12, cy + size * 0.12,
                 cx - size, cy);
  cairo_curve_to(cr, cx - size * 0.12, cy - size * 0.12, cx - size * 0.12, cy - size * 0.12, cx,
                 cy - size);
  cairo_close_path(cr);
  setColour(cr, c);
  cairo_fill(cr);
}

namespace {

PangoLayout* makeLayout(cairo_t* cr, const std::string& text, const TextStyle& style) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  // Pixel-exact sizes regardless of any resolution setting.
  pango_cairo_context_set_resolution(pango_layout_get_context(layout), 96.0);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout);

  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, style.family.c_str());
  pango_font_description_set_weight(font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font, style.pixelSize * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (style.letterSpacing != 0) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(
                                           static_cast<int>(style.letterSpacing * PANGO_SCALE)));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  pango_layout_set_text(layout, text.c_str(), -1);
  return layout;
}

TextExtents inkExtents(PangoLayout* layout) {
  PangoRectangle ink, logical;
  pango_layout_get_extents(layout, &ink, &logical);
  return TextExtents{
      static_cast<double>(ink.x) / PANGO_SCALE, static_cast<double>(ink.y) / PANGO_SCALE,
      static_cast<double>(ink.width) / PANGO_SCALE, static_cast<double>(ink.height) / PANGO_SCALE};
}

void renderLayout(cairo_t* cr, PangoLayout* layout, const TextStyle& style, double originX,
                  double originY) {
  if (style.shadow.a > 0) {
    cairo_save(cr);
    cairo_move_to(cr, originX + style.shadowDx, originY + style.shadowDy);
    pango_cairo_layout_path(cr, layout);
    if (style.outlineWidth > 0) {
      cairo_set_line_width(cr, style.outlineWidth);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      setColour(cr, style.shadow);
      cairo_stroke_preserve(cr);
    }
    setColour(cr, style.shadow);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  if (style.outlineWidth > 0 && style.outline.a > 0) {
    cairo_save(cr);
    cairo_move_to(cr, originX, originY);
    pango_cairo_layout_path(cr, layout);
    cairo_set_line_width(cr, style.outlineWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, style.outline);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  cairo_save(cr);
  cairo_move_to(cr, originX, originY);
  pango_cairo_layout_path(cr, layout);
  setColour(cr, style.fill);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

TextExtents measureText(cairo_t* cr, const std::string& text, const TextStyle& style) {
  PangoLayout* layout = makeLayout(cr, text, style);
  const TextExtents extents = inkExtents(layout);
  g_object_unref(layout);
  return extents;
}

void drawTextCentred(cairo_t* cr, const std::string& text, const TextStyle& style, double cx,
                     double cy) {
  PangoLayout* layout = makeLayout(cr, text, style);
  const TextExtents ink = inkExtents(layout);
  renderLayout(cr, layout, style, cx - ink.x - ink.width / 2, cy - ink.y - ink.height / 2);
  g_object_unref(layout);
}

void drawTextAligned(cairo_t* cr, const std::string& text, const TextStyle& style, double x,
                     double cy, bool alignLeft) {
  PangoLayout* layout = makeLayout(cr, text, style);
  const TextExtents ink = inkExtents(layout);
  const double originX = alignLeft ? x - ink.x : x - ink.x - ink.width;
  renderLayout(cr, layout, style, originX, cy - ink.y - ink.height / 2);
  g_object_unref(layout);
}

void drawTextOnBaseline(cairo_t* cr, const std::string& text, const TextStyle& style, double x,
                        double baseline, Align align) {
  PangoLayout* layout = makeLayout(cr, text, style);
  const TextExtents ink = inkExtents(layout);
  const double layoutBaseline =
      static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  double originX = x - ink.x;
  if (align == Align::kCentre) originX -= ink.width / 2;
  if (align == Align::kRight) originX -= ink.width;
  renderLayout(cr, layout, style, originX, baseline - layoutBaseline);
  g_object_unref(layout);
}

}  // namespace tolvaro::assetgen
