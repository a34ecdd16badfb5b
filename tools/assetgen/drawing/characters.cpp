#include "drawing/characters.h"

#include <cmath>

namespace tolvaro::assetgen {
namespace {

void strokeWith(cairo_t* cr, const Colour& c, double width) {
  setColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

// A cartoon eye: white, pupil looking forward, catch-light; `blink` squashes it shut.
void drawEye(cairo_t* cr, double x, double y, double radius, double lookX, double blink,
             const Colour& dark) {
  const double open = std::max(0.08, 1.0 - blink);
  if (open < 0.3) {
    cairo_new_path(cr);
    cairo_move_to(cr, x - radius * 0.9, y);
    cairo_curve_to(cr, x - radius * 0.4, y + radius * 0.45, x + radius * 0.4, y + radius * 0.45,
                   x + radius * 0.9, y);
    strokeWith(cr, dark, radius * 0.3);
    return;
  }
  ellipsePath(cr, x, y, radius * 0.85, radius * open);
  setColour(cr, rgb(252, 252, 250));
  cairo_fill_preserve(cr);
  strokeWith(cr, dark, radius * 0.16);
  ellipsePath(cr, x + lookX * radius * 0.3, y + radius * 0.1 * open, radius * 0.5,
              radius * 0.55 * open);
  setColour(cr, dark);
  cairo_fill(cr);
  fillCircle(cr, x + lookX * radius * 0.3 - radius * 0.18, y - radius * 0.22 * open, radius * 0.2,
             rgb(252, 252, 252));
}

}  // namespace

void drawLadybug(cairo_t* cr, double cx, double cy, double length, const LadybugLook& look) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  const double s = length / 100.0;
  cairo_scale(cr, s, s);
  const Colour outline = look.dark;

  // Legs first, so the shell covers their roots.
  for (int i = 0; i < 3; ++i) {
    const double baseX = -22 + i * 20;
    const double swing = 5 * std::sin(look.legPhase + i * 2.1);
    cairo_new_path(cr);
    cairo_move_to(cr, baseX, 2);
    cairo_line_to(cr, baseX + swing - 3, 13);
    cairo_line_to(cr, baseX + swing + 2, 16);
    strokeWith(cr, outline, 5);
  }

  // Head with antennae.
  for (int i = 0; i < 2; ++i) {
    const double bob = 3 * std::sin(look.antennaPhase + i * 1.3);
    const double baseX = 34 + i * 8;
    const double tipX = 44 + i * 12;
    const double tipY = -46 + i * 4 + bob;
    cairo_new_path(cr);
    cairo_move_to(cr, baseX, -14);
    cairo_curve_to(cr, baseX + 2, -30, tipX - 8, tipY + 4, tipX, tipY);
    strokeWith(cr, outline, 3.5);
    fillCircle(cr, tipX, tipY, 4.5, outline);
  }
  fillCircle(cr, 40, -4, 19, lighter(look.dark, 0.12));

  // Shell: a dome, lit from the upper left.
  cairo_new_path(cr);
  cairo_move_to(cr, -46, 4);
  cairo_curve_to(cr, -48, -40, 36, -48, 32, 4);
  cairo_curve_to(cr, 10, 9, -24, 9, -46, 4);
  cairo_close_path(cr);
  cairo_pattern_t* shell = cairo_pattern_create_radial(-18, -26, 4, -6, -12, 54);
  const Colour bright = lighter(look.shell, 0.35);
  const Colour deep = darker(look.shell, 0.25);
  cairo_pattern_add_color_stop_rgb(shell, 0, bright.r, bright.g, bright.b);
  cairo_pattern_add_color_stop_rgb(shell, 0.55, look.shell.r, look.shell.g, look.shell.b);
  cairo_pattern_add_color_stop_rgb(shell, 1, deep.r, deep.g, deep.b);
  cairo_set_source(cr, shell);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(shell);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  const double spots[][3] = {
      {-26, -10, 8}, {-2, -26, 7.5}, {16, -8, 7.5}, {-8, -2, 6}, {-38, -24, 5}};
  for (const auto& spot : spots) fillCircle(cr, spot[0], spot[1], spot[2], look.dark);
  cairo_restore(cr);
  strokeWith(cr, outline, 3.5);
  // Shine.
  cairo_save(cr);
  cairo_translate(cr, -20, -28);
  cairo_rotate(cr, -0.45);
  ellipsePath(cr, 0, 0, 11, 5);
  setColour(cr, rgb(255, 255, 255, 0.6));
  cairo_fill(cr);
  cairo_restore(cr);

  // Face.
  drawEye(cr, 46, -9, 8.5, 1.0, 0, look.dark);
  fillCircle(cr, 50, 4, 3.6, rgb(255, 140, 170, 0.85));
  cairo_new_path(cr);
  if (look.happy) {
    cairo_arc(cr, 48, 2, 6, 0.35, 1.9);
  } else {
    cairo_arc(cr, 48, 10, 5, 3.6, 5.8);
  }
  strokeWith(cr, rgb(250, 230, 235), 2.4);
  cairo_restore(cr);
}

double drawCaterpillar(cairo_t* cr, double tailX, double groundY, const CaterpillarLook& look) {
  const double r = look.segmentRadius;
  const double spacing = r * 1.45;
  struct Segment {
    double x, y;
  };
  Segment segments[16];
  const int n = std::min(look.segments, 15);
  for (int i = 0; i < n; ++i) {
    // The hump travels from the tail towards the head as the phase grows.
    const double wave = std::sin(look.wavePhase - i * 0.95);
    const double lift = look.humpHeight * std::max(0.0, wave);
    const double squeeze = 1.5 * std::cos(look.wavePhase - i * 0.95);
    segments[i] = Segment{tailX + r + i * spacing + squeeze, groundY - r - 2 - lift};
  }
  const double headLift = look.humpHeight * 0.35 * (1 + std::sin(look.wavePhase - n * 0.95));
  const Segment head{segments[n - 1].x + spacing * 1.15, groundY - r * 1.45 - 2 - headLift};
  const Colour outline = darker(look.body, 0.55);

  // Feet.
  for (int i = 0; i < n; ++i) {
    const double footX = segments[i].x;
    cairo_new_path(cr);
    cairo_move_to(cr, footX - 3, segments[i].y + r * 0.6);
    cairo_line_to(cr, footX - 3, std::min(groundY - 1.0, segments[i].y + r + 3));
    cairo_move_to(cr, footX + 3, segments[i].y + r * 0.6);
    cairo_line_to(cr, footX + 3, std::min(groundY - 1.0, segments[i].y + r + 3));
    strokeWith(cr, outline, 2.6);
  }
  // Body, tail first, so each segment overlaps the one behind it.
  for (int i = 0; i < n; ++i) {
    const Colour base = (i % 2 == 0) ? look.body : look.bodyAlt;
    circlePath(cr, segments[i].x, segments[i].y, r);
    fillRadial(cr, segments[i].x - r * 0.35, segments[i].y - r * 0.4, r * 0.1, r * 1.2,
               lighter(base, 0.45), base);
    circlePath(cr, segments[i].x, segments[i].y, r);
    strokeWith(cr, outline, 1.8);
    if (i < static_cast<int>(look.letters.size())) {
      TextStyle style;
      style.family = kLatinFamily;
      style.pixelSize = r * 1.15;
      style.fill = rgb(255, 255, 255);
      style.outline = withAlpha(outline, 0.9);
      style.outlineWidth = 2.2;
      drawTextCentred(cr, std::string(1, look.letters[i]), style, segments[i].x,
                      segments[i].y + 0.5);
    }
  }
  // Antennae.
  for (int i = 0; i < 2; ++i) {
    const double sway = 2.5 * std::sin(look.wavePhase * 2 + i);
    const double baseX = head.x - 2 + i * 6;
    const double tipX = head.x + 1 + i * 9 + sway;
    const double tipY = head.y - r * 1.9 + i * 1.5;
    cairo_new_path(cr);
    cairo_move_to(cr, baseX, head.y - r * 0.8);
    cairo_curve_to(cr, baseX, head.y - r * 1.4, tipX - 3, tipY + 3, tipX, tipY);
    strokeWith(cr, outline, 2);
    fillCircle(cr, tipX, tipY, 2.6, rgb(255, 120, 150));
  }
  // Head.
  const double hr = r * 1.22;
  circlePath(cr, head.x, head.y, hr);
  fillRadial(cr, head.x - hr * 0.3, head.y - hr * 0.4, hr * 0.1, hr * 1.2, lighter(look.head, 0.45),
             look.head);
  circlePath(cr, head.x, head.y, hr);
  strokeWith(cr, outline, 1.8);
  drawEye(cr, head.x + hr * 0.3, head.y - hr * 0.2, hr * 0.38, 1.0, look.blink, rgb(40, 40, 60));
  fillCircle(cr, head.x + hr * 0.55, head.y + hr * 0.35, hr * 0.16, rgb(255, 130, 160, 0.8));
  cairo_new_path(cr);
  cairo_arc(cr, head.x + hr * 0.45, head.y + hr * 0.2, hr * 0.3, 0.4, 1.9);
  strokeWith(cr, rgb(60, 70, 40), 1.6);
  return head.x + hr;
}

void drawBee(cairo_t* cr, double cx, double cy, double size, double wingPhase) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  const double s = size / 100.0;
  cairo_scale(cr, s, s);
  const Colour dark = rgb(50, 40, 60);
  // Wings.
  const double lift = 6 * std::sin(wingPhase);
  for (int i = 0; i < 2; ++i) {
    cairo_save(cr);
    cairo_translate(cr, -6 + i * 14, -24 - lift);
    cairo_rotate(cr, -0.5 + i * 0.7);
    ellipsePath(cr, 0, 0, 14, 22);
    setColour(cr, rgb(215, 240, 255, 0.8));
    cairo_fill_preserve(cr);
    strokeWith(cr, rgb(120, 160, 200), 2.5);
    cairo_restore(cr);
  }
  // Body with stripes.
  ellipsePath(cr, 0, 0, 36, 26);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  fillRadial(cr, -10, -10, 2, 40, rgb(255, 236, 120), rgb(250, 190, 30));
  for (int i = 0; i < 3; ++i) {
    cairo_rectangle(cr, -24 + i * 18, -30, 8, 60);
    setColour(cr, dark);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  ellipsePath(cr, 0, 0, 36, 26);
  strokeWith(cr, dark, 3);
  // Stinger and face.
  cairo_new_path(cr);
  cairo_move_to(cr, -35, -4);
  cairo_line_to(cr, -46, 0);
  cairo_line_to(cr, -35, 4);
  setColour(cr, dark);
  cairo_fill(cr);
  drawEye(cr, 20, -6, 8, 1, 0, dark);
  fillCircle(cr, 26, 8, 3.5, rgb(255, 130, 150, 0.85));
  cairo_new_path(cr);
  cairo_arc(cr, 22, 6, 5, 0.3, 1.9);
  strokeWith(cr, dark, 2.2);
  cairo_restore(cr);
}

void drawButterfly(cairo_t* cr, double cx, double cy, double size, const Colour& wing,
                   double flap) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  const double s = size / 100.0;
  cairo_scale(cr, s, s);
  const double open = 0.75 + 0.25 * std::cos(flap);
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(cr);
    cairo_scale(cr, side * open, 1);
    ellipsePath(cr, 20, -14, 22, 18);
    ellipsePath(cr, 16, 14, 15, 13);
    fillRadial(cr, 18, -4, 2, 34, lighter(wing, 0.5), wing);
    ellipsePath(cr, 20, -14, 22, 18);
    ellipsePath(cr, 16, 14, 15, 13);
    strokeWith(cr, darker(wing, 0.45), 2.5);
    fillCircle(cr, 24, -16, 6, rgb(255, 255, 240, 0.85));
    cairo_restore(cr);
  }
  ellipsePath(cr, 0, 0, 4.5, 24);
  setColour(cr, rgb(70, 50, 80));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, -1, -22);
  cairo_curve_to(cr, -4, -32, -10, -36, -13, -38);
  cairo_move_to(cr, 1, -22);
  cairo_curve_to(cr, 4, -32, 10, -36, 13, -38);
  strokeWith(cr, rgb(70, 50, 80), 2);
  cairo_restore(cr);
}

void drawFlower(cairo_t* cr, double cx, double cy, double size, const Colour& petals,
                const Colour& centre, int petalCount) {
  const double r = size / 2;
  const auto petalPath = [&](int i) {
    const double angle = i * 2 * M_PI / petalCount;
    cairo_save(cr);
    cairo_translate(cr, cx + std::cos(angle) * r * 0.55, cy + std::sin(angle) * r * 0.55);
    cairo_rotate(cr, angle);
    ellipsePath(cr, 0, 0, r * 0.5, r * 0.32);
    cairo_restore(cr);
  };
  for (int i = 0; i < petalCount; ++i) {
    petalPath(i);
    fillRadial(cr, cx, cy, r * 0.2, r, lighter(petals, 0.55), petals);
  }
  for (int i = 0; i < petalCount; ++i) {
    petalPath(i);
    strokeWith(cr, darker(petals, 0.25), std::max(1.0, r * 0.06));
  }
  circlePath(cr, cx, cy, r * 0.3);
  fillRadial(cr, cx - r * 0.1, cy - r * 0.1, 0, r * 0.32, lighter(centre, 0.5), centre);
}

void drawCloud(cairo_t* cr, double cx, double cy, double width, const Colour& colour) {
  const double u = width / 100.0;
  const double puffs[][3] = {{-30, 6, 20}, {-10, -8, 26}, {16, -4, 22}, {34, 8, 16}, {4, 10, 20}};
  cairo_new_path(cr);
  for (const auto& puff : puffs) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + puff[0] * u, cy + puff[1] * u, puff[2] * u, 0, 2 * M_PI);
  }
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  fillVertical(cr, cy - 34 * u, cy + 30 * u, lighter(colour, 0.4), darker(colour, 0.06));
}

void drawMushroom(cairo_t* cr, double cx, double groundY, double size, const Colour& cap) {
  const double u = size / 100.0;
  cairo_new_path(cr);
  roundedRect(cr, cx - 14 * u, groundY - 46 * u, 28 * u, 46 * u, 10 * u);
  fillVertical(cr, groundY - 46 * u, groundY, rgb(255, 246, 225), rgb(235, 215, 185));
  cairo_new_path(cr);
  cairo_move_to(cr, cx - 48 * u, groundY - 40 * u);
  cairo_curve_to(cr, cx - 46 * u, groundY - 100 * u, cx + 46 * u, groundY - 100 * u, cx + 48 * u,
                 groundY - 40 * u);
  cairo_close_path(cr);
  fillVertical(cr, groundY - 95 * u, groundY - 40 * u, lighter(cap, 0.25), cap);
  const double dots[][3] = {{-22, -62, 8}, {8, -78, 7}, {26, -56, 6}};
  for (const auto& dot : dots)
    fillCircle(cr, cx + dot[0] * u, groundY + dot[1] * u, dot[2] * u, rgb(255, 250, 240));
}

void drawGrassTuft(cairo_t* cr, double cx, double groundY, double height, const Colour& colour) {
  const double offsets[] = {-0.5, -0.2, 0.1, 0.4};
  for (size_t i = 0; i < 4; ++i) {
    const double lean = offsets[i] * height * 0.6;
    const double h = height * (0.7 + 0.3 * ((i * 7) % 4) / 3.0);
    cairo_new_path(cr);
    cairo_move_to(cr, cx + offsets[i] * height * 0.3 - height * 0.08, groundY);
    cairo_curve_to(cr, cx + lean * 0.2, groundY - h * 0.5, cx + lean * 0.5, groundY - h * 0.8,
                   cx + lean, groundY - h);
    cairo_curve_to(cr, cx + lean * 0.5 + height * 0.05, groundY - h * 0.7,
                   cx + lean * 0.2 + height * 0.05, groundY - h * 0.4,
                   cx + offsets[i] * height * 0.3 + height * 0.08, groundY);
    cairo_close_path(cr);
    setColour(cr, i % 2 == 0 ? colour : lighter(colour, 0.2));
    cairo_fill(cr);
  }
}

void drawLetterBubble(cairo_t* cr, double cx, double cy, double radius, const std::string& letter,
                      const Colour& colour) {
  circlePath(cr, cx, cy, radius);
  fillRadial(cr, cx - radius * 0.35, cy - radius * 0.4, radius * 0.1, radius * 1.1,
             lighter(colour, 0.6), colour);
  circlePath(cr, cx, cy, radius);
  strokeWith(cr, darker(colour, 0.3), std::max(1.5, radius * 0.1));
  TextStyle style;
  style.family = kLatinFamily;
  style.pixelSize = radius * 1.25;
  style.fill = rgb(255, 255, 255);
  style.outline = darker(colour, 0.45);
  style.outlineWidth = std::max(2.0, radius * 0.18);
  drawTextCentred(cr, letter, style, cx, cy);
  cairo_save(cr);
  cairo_translate(cr, cx - radius * 0.45, cy - radius * 0.5);
  cairo_rotate(cr, -0.6);
  ellipsePath(cr, 0, 0, radius * 0.28, radius * 0.13);
  setColour(cr, rgb(255, 255, 255, 0.7));
  cairo_fill(cr);
  cairo_restore(cr);
}

void drawFirefly(cairo_t* cr, double cx, double cy, double size, const Colour& glow) {
  circlePath(cr, cx, cy, size * 1.6);
  fillRadial(cr, cx, cy, 0, size * 1.6, withAlpha(glow, 0.7), withAlpha(glow, 0));
  fillCircle(cr, cx, cy, size * 0.35, lighter(glow, 0.7));
}

}  // namespace tolvaro::assetgen
