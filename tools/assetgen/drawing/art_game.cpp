// The letter game: the letter tiles, the shot, the level caption and digits, the winning picture.
#include <cmath>
#include <string>

#include "drawing/art.h"
#include "drawing/characters.h"

namespace tolvaro::assetgen {
namespace {

RgbImage playfieldBackdrop(int width, int height) {
  return RgbImage(width, height, toRgb(playfieldColour()));
}

Colour hueColour(double hue, double saturation, double value) {
  const double h = std::fmod(hue, 1.0) * 6;
  const int sector = static_cast<int>(h);
  const double f = h - sector;
  const double p = value * (1 - saturation), q = value * (1 - saturation * f),
               t = value * (1 - saturation * (1 - f));
  switch (sector % 6) {
    case 0:
      return Colour{value, t, p, 1};
    case 1:
      return Colour{q, value, p, 1};
    case 2:
      return Colour{p, value, t, 1};
    case 3:
      return Colour{p, q, value, 1};
    case 4:
      return Colour{t, p, value, 1};
    default:
      return Colour{value, p, q, 1};
  }
}

// A letter bug: a pale beetle whose shell carries a bold dark letter, with a dark head, two
// antennae and three short legs either side, all set as whole pixels so that they stay crisp at
// 20 x 20. The shell spans the tile as the letter needs it, and it is lighter than a plain tile
// would be, so the letter reads at least as well.
RgbImage paintLetterTile(char letter) {
  const int index = letter - 'A';
  // Neighbouring letters get well separated hues.
  const double hue = std::fmod(index * 0.382, 1.0);
  const Colour base = hueColour(hue, 0.55, 1.0);
  const Colour outline = darker(base, 0.55);
  const Colour ink = darker(hueColour(hue, 0.9, 0.55), 0.45);
  Canvas canvas(20, 20);
  cairo_t* cr = canvas.cr();
  const RgbImage backdrop = playfieldBackdrop(20, 20);
  canvas.paintImage(backdrop);
  // Shell: its outline runs along pixel column 1 and 18 and rows 2 and 19.
  outlinedPanel(cr, 1.5, 2.5, 17, 17, 5.5, lighter(base, 0.7), lighter(base, 0.35), outline, 1);
  drawTextCentred(cr, std::string(1, letter), latinDisplayStyle(15, ink, rgb(0, 0, 0, 0), 0), 10,
                  11.5);
  RgbImage tile = canvas.flattenOver(backdrop);
  // Head on top of the shell, two light eyes in it, antennae splayed out from it.
  const Rgb head = toRgb(mix(ink, rgb(30, 24, 40), 0.5));
  for (int x = 8; x <= 11; ++x) tile.at(x, 0) = head;
  for (int y = 1; y <= 2; ++y) {
    for (int x = 7; x <= 12; ++x) tile.at(x, y) = head;
  }
  tile.at(8, 1) = tile.at(11, 1) = toRgb(rgb(255, 255, 255));
  tile.at(6, 0) = tile.at(13, 0) = head;
  // Legs just outside the shell: the front pair reaching forward, the back pair back.
  const Rgb leg = toRgb(outline);
  for (int x : {0, 19}) {
    for (int y : {5, 6, 11, 16, 17}) tile.at(x, y) = leg;
  }
  return tile;
}

RgbImage paintShot() {
  Canvas canvas(15, 15);
  cairo_t* cr = canvas.cr();
  const RgbImage backdrop = playfieldBackdrop(15, 15);
  canvas.paintImage(backdrop);
  glossyBall(cr, {7.5, 7.5, 6.8, 5.5, 5, 8, rgb(255, 190, 180), rgb(220, 30, 40), rgb(150, 20, 30),
                  1, 5.2, 4.8, 1.6, rgb(255, 255, 255, 0.9)});
  return canvas.flattenOver(backdrop);
}

void confetti(cairo_t* cr, double width, double height, int count, int salt) {
  const Colour colours[] = {rgb(255, 90, 120), rgb(255, 200, 40), rgb(80, 190, 255),
                            rgb(120, 220, 100), rgb(190, 120, 255)};
  for (int i = 0; i < count; ++i) {
    const uint32_t h = static_cast<uint32_t>(i * 7919 + salt * 104729);
    const double x = (h * 37 % 1000) / 1000.0 * width;
    const double y = (h * 91 % 1000) / 1000.0 * height;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, (h % 628) / 100.0);
    roundedRect(cr, -4, -2, 8, 4, 1.5);
    setColour(cr, withAlpha(colours[i % 5], 0.85));
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

RgbImage paintLevelCaption() {
  Canvas canvas(341, 67);
  cairo_t* cr = canvas.cr();
  const RgbImage backdrop = playfieldBackdrop(341, 67);
  canvas.paintImage(backdrop);
  // Ribbon tails.
  for (int side = 0; side < 2; ++side) {
    const double x = side == 0 ? 0 : 341;
    const double dir = side == 0 ? 1 : -1;
    cairo_new_path(cr);
    cairo_move_to(cr, x, 16);
    cairo_line_to(cr, x + dir * 40, 16);
    cairo_line_to(cr, x + dir * 40, 62);
    cairo_line_to(cr, x, 62);
    cairo_line_to(cr, x + dir * 14, 39);
    cairo_close_path(cr);
    setColour(cr, rgb(214, 60, 110));
    cairo_fill(cr);
  }
  outlinedPanel(cr, 28, 3, 285, 56, 18, rgb(255, 150, 90), rgb(255, 84, 140), rgb(255, 255, 255),
                3.5);
  roundedRect(cr, 34, 7, 273, 20, 10);
  setColour(cr, rgb(255, 255, 255, 0.25));
  cairo_fill(cr);
  TextStyle style = latinDisplayStyle(44, rgb(255, 255, 255), rgb(170, 30, 90), 6);
  style.letterSpacing = 9;
  style.shadow = rgb(120, 20, 60, 0.35);
  style.shadowDx = 2;
  style.shadowDy = 3;
  drawTextCentred(cr, "LEVEL", style, 170.5, 31);
  starPath(cr, 52, 31, 11, 5, 5);
  setColour(cr, rgb(255, 230, 80));
  cairo_fill(cr);
  starPath(cr, 289, 31, 11, 5, 5);
  cairo_fill(cr);
  return canvas.flattenOver(backdrop);
}

RgbImage paintDigitBadge(int digit) {
  static const Colour kBadgeColours[6] = {rgb(0, 0, 0),      rgb(80, 196, 90),   rgb(60, 150, 245),
                                          rgb(255, 150, 40), rgb(160, 100, 235), rgb(245, 70, 90)};
  const Colour base = kBadgeColours[digit];
  Canvas canvas(86, 86);
  cairo_t* cr = canvas.cr();
  const RgbImage backdrop = playfieldBackdrop(86, 86);
  canvas.paintImage(backdrop);
  // Scalloped rosette edge.
  starPath(cr, 43, 43, 42.5, 37, 16);
  setColour(cr, darker(base, 0.25));
  cairo_fill(cr);
  fillCircle(cr, 43, 43, 35, rgb(255, 255, 255));
  circlePath(cr, 43, 43, 31);
  fillRadial(cr, 36, 33, 3, 36, lighter(base, 0.5), base);
  TextStyle style = latinDisplayStyle(46, rgb(255, 255, 255), darker(base, 0.5), 6);
  style.shadow = rgb(0, 0, 0, 0.25);
  style.shadowDx = 1.5;
  style.shadowDy = 2.5;
  drawTextCentred(cr, std::to_string(digit), style, 43, 44);
  cairo_save(cr);
  cairo_translate(cr, 30, 24);
  cairo_rotate(cr, -0.7);
  ellipsePath(cr, 0, 0, 10, 4);
  setColour(cr, rgb(255, 255, 255, 0.45));
  cairo_fill(cr);
  cairo_restore(cr);
  sparkle(cr, 70, 16, 6, rgb(255, 240, 120));
  return canvas.flattenOver(backdrop);
}

RgbImage paintCongratulations() {
  Canvas canvas(400, 200);
  cairo_t* cr = canvas.cr();
  const RgbImage backdrop = playfieldBackdrop(400, 200);
  canvas.paintImage(backdrop);
  roundedRect(cr, 3, 3, 394, 194, 28);
  fillVertical(cr, 3, 197, rgb(255, 246, 176), rgb(255, 206, 110));
  cairo_save(cr);
  roundedRect(cr, 3, 3, 394, 194, 28);
  cairo_clip(cr);
  raysFrom(cr, 200, 70, 20, 400, rgb(255, 255, 255, 0.35));
  confetti(cr, 400, 200, 40, 3);
  cairo_restore(cr);
  roundedRect(cr, 3, 3, 394, 194, 28);
  setColour(cr, rgb(240, 120, 40));
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  TextStyle big = chineseLabelStyle(56, rgb(255, 80, 120), rgb(255, 255, 255), 9);
  big.letterSpacing = 8;
  big.shadow = rgb(160, 60, 20, 0.35);
  big.shadowDx = 2;
  big.shadowDy = 4;
  drawTextCentred(cr, "恭喜你", big, 200, 62);
  // Ribbon for the second line.
  outlinedPanel(cr, 88, 108, 224, 52, 14, rgb(120, 200, 255), rgb(50, 130, 230), rgb(255, 255, 255),
                3);
  TextStyle line = chineseLabelStyle(36, rgb(255, 255, 255), rgb(30, 80, 170), 6);
  line.letterSpacing = 4;
  drawTextCentred(cr, "完美爆机", line, 200, 134);
  LadybugLook happy;
  drawLadybug(cr, 46, 170, 66, happy);
  cairo_save(cr);
  cairo_translate(cr, 400, 0);
  cairo_scale(cr, -1, 1);
  LadybugLook friendBug;
  friendBug.shell = rgb(255, 170, 40);
  drawLadybug(cr, 46, 170, 66, friendBug);
  cairo_restore(cr);
  for (int i = 0; i < 3; ++i) {
    starPath(cr, 40 + i * 16, 34 - (i % 2) * 10, 9, 4, 5, 0.2 * i);
    setColour(cr, rgb(255, 220, 40));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(230, 140, 20));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    starPath(cr, 360 - i * 16, 34 - (i % 2) * 10, 9, 4, 5, 0.2 * i);
    setColour(cr, rgb(255, 220, 40));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(230, 140, 20));
    cairo_stroke(cr);
  }
  return canvas.flattenOver(backdrop);
}

}  // namespace

void drawShotLauncher(cairo_t* cr, double mouthX, double mouthY, double groundY,
                      const Theme& theme) {
  const Colour body = theme.accent;
  const Colour outline = darker(theme.accent, 0.55);
  const double cx = mouthX, cy = groundY - 3;  // the body sits half sunk in the grass
  cairo_save(cr);
  cairo_rectangle(cr, cx - 40, mouthY - 30, 80, groundY - 1 - (mouthY - 30));
  cairo_clip(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  // Antennae, swung out to the sides so that nothing stands over the mouth.
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx + side * 8, cy - 8);
    cairo_curve_to(cr, cx + side * 12, cy - 17, cx + side * 19, cy - 19, cx + side * 23, cy - 16);
    setColour(cr, outline);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    fillCircle(cr, cx + side * 23, cy - 16, 2.6, theme.main);
  }
  // Round body.
  ellipsePath(cr, cx, cy, 21, 11);
  fillRadial(cr, cx - 7, cy - 6, 1, 24, lighter(body, 0.55), body);
  ellipsePath(cr, cx, cy, 21, 11);
  setColour(cr, outline);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Eyes either side of the mouth, looking up at the bugs.
  for (int side = -1; side <= 1; side += 2) {
    fillCircle(cr, cx + side * 12, cy - 3, 3.6, rgb(255, 255, 255));
    fillCircle(cr, cx + side * 11.5, cy - 4.2, 2, rgb(44, 30, 64));
    fillCircle(cr, cx + side * 11, cy - 5, 0.7, rgb(255, 255, 255));
    fillCircle(cr, cx + side * 16, cy + 1, 2.2, rgb(255, 120, 150, 0.7));
  }
  // The open mouth the shots leave from: a ring with a dark inside.
  fillCircle(cr, mouthX, mouthY + 1, 7, darker(body, 0.3));
  fillCircle(cr, mouthX, mouthY + 1, 5, rgb(120, 30, 50));
  fillCircle(cr, mouthX, mouthY + 2.5, 2.5, rgb(255, 120, 140));
  strokeCircle(cr, mouthX, mouthY + 1, 7, outline, 1.4);
  cairo_restore(cr);
}

void paintGamePictures(PictureBook& book) {
  book.addResource(kShotBitmap, paintShot());
  book.addResource(kLevelCaptionBitmap, paintLevelCaption());
  for (int level = 1; level <= 5; ++level)
    book.addResource(kLevelDigitBitmaps[level - 1], paintDigitBadge(level));
  book.addResource(kCongratsBitmap, paintCongratulations());
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    book.addFile("charImg/" + std::to_string(static_cast<int>(letter)) + ".bmp",
                 paintLetterTile(letter));
  }
}

}  // namespace tolvaro::assetgen
