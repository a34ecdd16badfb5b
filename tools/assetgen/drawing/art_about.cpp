// The about slideshow's cards, shown on a black screen (so their corners are black).
#include <cmath>
#include <string>

#include "drawing/art.h"
#include "drawing/characters.h"

namespace tolvaro::assetgen {
namespace {

void cardBody(cairo_t* cr, double width, double height, const Colour& top, const Colour& bottom,
              const Colour& border) {
  roundedRect(cr, 2, 2, width - 4, height - 4, 26);
  fillVertical(cr, 0, height, top, bottom);
  roundedRect(cr, 2, 2, width - 4, height - 4, 26);
  setColour(cr, border);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  stitchedRoundedRect(cr, 10, 10, width - 20, height - 20, 19, rgb(255, 255, 255, 0.6), 1.5, 7, 5);
}

RgbImage finish(const Canvas& canvas) {
  return canvas.flattenOver(RgbImage(canvas.width(), canvas.height()));
}

RgbImage paintTitleCard() {
  Canvas canvas(500, 250);
  cairo_t* cr = canvas.cr();
  cardBody(cr, 500, 250, rgb(150, 214, 255), rgb(214, 240, 255), rgb(40, 110, 210));
  cairo_save(cr);
  roundedRect(cr, 4, 4, 492, 242, 24);
  cairo_clip(cr);
  raysFrom(cr, 250, 100, 18, 500, rgb(255, 255, 255, 0.3));
  groundPath(cr, 0, 214, {{150, 190, 350, 236, 500, 204}}, 500, 250);
  fillVertical(cr, 190, 250, rgb(150, 222, 100), rgb(86, 176, 70));
  cairo_restore(cr);
  drawProductLogo(cr, 250, 96, 0.95, rgb(255, 110, 70));
  TextStyle tagline = chineseLabelStyle(17, rgb(30, 90, 180), rgb(255, 255, 255), 4);
  drawTextCentred(cr, "和虫虫一起，快乐认字母", tagline, 250, 196);
  LadybugLook look;
  drawLadybug(cr, 58, 226, 56, look);
  drawBee(cr, 440, 40, 40, 0.2);
  drawFlower(cr, 450, 222, 24, rgb(255, 150, 190), rgb(255, 220, 80), 5);
  return finish(canvas);
}

RgbImage paintMakerCard() {
  Canvas canvas(800, 600);
  cairo_t* cr = canvas.cr();
  cardBody(cr, 800, 600, rgb(24, 36, 92), rgb(60, 70, 150), rgb(255, 214, 90));
  for (int i = 0; i < 70; ++i) {
    const double x = 30 + (i * 173) % 740, y = 30 + (i * 97) % 540;
    if (i % 7 == 0) {
      sparkle(cr, x, y, 6, rgb(255, 250, 220, 0.85));
    } else {
      fillCircle(cr, x, y, 1.2 + (i % 3) * 0.6, rgb(255, 255, 240, 0.6));
    }
  }
  // The emblem: a firefly carrying its light inside a golden ring.
  const double cx = 400, cy = 250;
  circlePath(cr, cx, cy, 170);
  fillRadial(cr, cx, cy, 60, 170, rgb(255, 230, 120, 0.35), rgb(255, 230, 120, 0));
  circlePath(cr, cx, cy, 120);
  fillRadial(cr, cx - 30, cy - 40, 10, 130, rgb(70, 90, 180), rgb(30, 40, 110));
  strokeCircle(cr, cx, cy, 120, rgb(255, 210, 80), 8);
  strokeCircle(cr, cx, cy, 108, rgb(255, 240, 170, 0.7), 2);
  // Firefly: glowing tail, body, wings, face.
  circlePath(cr, cx - 30, cy + 36, 70);
  fillRadial(cr, cx - 30, cy + 36, 0, 70, rgb(255, 250, 150, 0.95), rgb(255, 230, 80, 0));
  ellipsePath(cr, cx - 30, cy + 36, 30, 26);
  fillRadial(cr, cx - 38, cy + 28, 2, 32, rgb(255, 255, 220), rgb(255, 220, 60));
  for (int side = 0; side < 2; ++side) {
    cairo_save(cr);
    cairo_translate(cr, cx + 6 + side * 24, cy - 36);
    cairo_rotate(cr, -0.6 + side * 0.9);
    ellipsePath(cr, 0, 0, 22, 40);
    setColour(cr, rgb(220, 240, 255, 0.75));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(150, 190, 240));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  ellipsePath(cr, cx + 14, cy + 6, 34, 30);
  fillRadial(cr, cx + 4, cy - 6, 2, 40, rgb(120, 110, 200), rgb(70, 60, 140));
  circlePath(cr, cx + 52, cy - 10, 28);
  fillRadial(cr, cx + 44, cy - 20, 2, 30, rgb(140, 130, 220), rgb(80, 70, 160));
  fillCircle(cr, cx + 60, cy - 16, 9, rgb(252, 252, 250));
  fillCircle(cr, cx + 63, cy - 15, 5, rgb(30, 30, 60));
  fillCircle(cr, cx + 61, cy - 18, 2, rgb(255, 255, 255));
  cairo_new_path(cr);
  cairo_arc(cr, cx + 60, cy - 2, 9, 0.4, 1.9);
  setColour(cr, rgb(255, 230, 240));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  for (int i = 0; i < 2; ++i) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx + 50 + i * 12, cy - 34);
    cairo_curve_to(cr, cx + 52 + i * 14, cy - 60, cx + 66 + i * 16, cy - 70, cx + 76 + i * 16,
                   cy - 72);
    setColour(cr, rgb(70, 60, 140));
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    fillCircle(cr, cx + 76 + i * 16, cy - 72, 6, rgb(255, 220, 90));
  }
  TextStyle name = chineseLabelStyle(64, rgb(255, 226, 110), rgb(120, 60, 10), 8);
  name.letterSpacing = 10;
  name.shadow = rgb(0, 0, 0, 0.35);
  name.shadowDx = 3;
  name.shadowDy = 4;
  drawTextCentred(cr, "小萤火工作室", name, 400, 452);
  TextStyle latin = latinDisplayStyle(26, rgb(220, 230, 255), rgb(0, 0, 0, 0), 0);
  latin.letterSpacing = 6;
  drawTextCentred(cr, "LITTLE FIREFLY STUDIO", latin, 400, 516);
  return finish(canvas);
}

enum class StaffIcon { kPencil, kKeyboard, kPalette };

void drawStaffIcon(cairo_t* cr, StaffIcon icon, double cx, double cy) {
  circlePath(cr, cx, cy, 58);
  fillRadial(cr, cx - 16, cy - 18, 4, 60, rgb(255, 255, 255), rgb(236, 240, 250));
  strokeCircle(cr, cx, cy, 58, rgb(255, 255, 255), 5);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  switch (icon) {
    case StaffIcon::kPencil:
      cairo_rotate(cr, -0.75);
      roundedRect(cr, -34, -9, 52, 18, 3);
      fillVertical(cr, -9, 9, rgb(255, 214, 70), rgb(250, 170, 30));
      cairo_rectangle(cr, -40, -9, 10, 18);
      setColour(cr, rgb(255, 130, 160));
      cairo_fill(cr);
      cairo_new_path(cr);
      cairo_move_to(cr, 18, -9);
      cairo_line_to(cr, 38, 0);
      cairo_line_to(cr, 18, 9);
      cairo_close_path(cr);
      setColour(cr, rgb(250, 220, 180));
      cairo_fill(cr);
      cairo_new_path(cr);
      cairo_move_to(cr, 31, -3);
      cairo_line_to(cr, 38, 0);
      cairo_line_to(cr, 31, 3);
      cairo_close_path(cr);
      setColour(cr, rgb(80, 70, 90));
      cairo_fill(cr);
      break;
    case StaffIcon::kKeyboard:
      roundedRect(cr, -40, -22, 80, 44, 8);
      fillVertical(cr, -22, 22, rgb(130, 180, 250), rgb(70, 130, 230));
      for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 6; ++col) {
          roundedRect(cr, -34 + col * 11.5, -16 + row * 11, 9, 8, 2);
          setColour(cr, rgb(255, 255, 255));
          cairo_fill(cr);
        }
      }
      {
        TextStyle key = latinDisplayStyle(9, rgb(60, 110, 210), rgb(0, 0, 0, 0), 0);
        drawTextCentred(cr, "A", key, -29.5, -12);
      }
      break;
    case StaffIcon::kPalette:
      cairo_new_path(cr);
      cairo_move_to(cr, 0, -36);
      cairo_curve_to(cr, 40, -36, 46, 10, 26, 24);
      cairo_curve_to(cr, 10, 34, 10, 14, -4, 26);
      cairo_curve_to(cr, -24, 40, -44, 20, -40, -4);
      cairo_curve_to(cr, -38, -26, -20, -36, 0, -36);
      cairo_close_path(cr);
      fillVertical(cr, -36, 36, rgb(250, 220, 170), rgb(230, 190, 130));
      {
        const double blobs[][2] = {{-22, -12}, {-6, -24}, {14, -20}, {24, -2}, {-24, 10}};
        const Colour paints[] = {rgb(240, 70, 80), rgb(255, 200, 40), rgb(80, 190, 90),
                                 rgb(70, 140, 240), rgb(180, 100, 230)};
        for (int i = 0; i < 5; ++i) {
          fillCircle(cr, blobs[i][0], blobs[i][1], 7, paints[i]);
        }
      }
      break;
  }
  cairo_restore(cr);
}

RgbImage paintStaffCard(const char* job, const char* person, const char* personLatin,
                        StaffIcon icon, const Colour& tone) {
  Canvas canvas(400, 250);
  cairo_t* cr = canvas.cr();
  cardBody(cr, 400, 250, lighter(tone, 0.75), lighter(tone, 0.45), darker(tone, 0.2));
  // Job title ribbon across the top.
  outlinedPanel(cr, 110, 22, 180, 56, 16, lighter(tone, 0.2), darker(tone, 0.1), rgb(255, 255, 255),
                3);
  TextStyle jobStyle = chineseLabelStyle(36, rgb(255, 255, 255), darker(tone, 0.45), 6);
  jobStyle.letterSpacing = 14;
  drawTextCentred(cr, job, jobStyle, 200, 50);
  drawStaffIcon(cr, icon, 104, 160);
  TextStyle nameStyle = chineseLabelStyle(40, darker(tone, 0.55), rgb(255, 255, 255), 6);
  nameStyle.letterSpacing = 4;
  drawTextCentred(cr, person, nameStyle, 276, 150);
  TextStyle latinStyle = latinDisplayStyle(16, darker(tone, 0.4), rgb(0, 0, 0, 0), 0);
  latinStyle.bold = false;
  drawTextCentred(cr, personLatin, latinStyle, 276, 192);
  sparkle(cr, 360, 40, 8, rgb(255, 250, 210));
  sparkle(cr, 40, 48, 6, rgb(255, 250, 210));
  return finish(canvas);
}

RgbImage paintDedicationCard() {
  Canvas canvas(600, 250);
  cairo_t* cr = canvas.cr();
  cardBody(cr, 600, 250, rgb(255, 236, 244), rgb(255, 210, 226), rgb(230, 100, 150));
  for (int i = 0; i < 12; ++i) {
    const double x = 40 + (i * 137) % 520, y = 30 + (i * 71) % 190;
    heartPath(cr, x, y, 14 + (i % 3) * 4);
    setColour(cr, rgb(255, 120, 160, 0.25));
    cairo_fill(cr);
  }
  heartPath(cr, 300, 56, 48);
  fillRadial(cr, 292, 46, 2, 30, rgb(255, 170, 190), rgb(240, 60, 110));
  TextStyle line1 = chineseLabelStyle(30, rgb(200, 50, 110), rgb(255, 255, 255), 6);
  drawTextCentred(cr, "献给每一个正在认识字母的小朋友", line1, 300, 122);
  TextStyle line2 = chineseLabelStyle(22, rgb(120, 80, 160), rgb(255, 255, 255), 5);
  drawTextCentred(cr, "愿你玩得开心，学得快乐！", line2, 300, 168);
  CaterpillarLook caterpillar;
  caterpillar.segments = 3;
  caterpillar.segmentRadius = 12;
  caterpillar.letters = "ABC";
  caterpillar.wavePhase = 0.8;
  drawCaterpillar(cr, 36, 226, caterpillar);
  LadybugLook look;
  cairo_save(cr);
  cairo_translate(cr, 600, 0);
  cairo_scale(cr, -1, 1);
  drawLadybug(cr, 60, 222, 60, look);
  cairo_restore(cr);
  return finish(canvas);
}

}  // namespace

void paintAboutPictures(PictureBook& book) {
  book.addResource(kAboutCardBitmaps[0], paintTitleCard());
  book.addResource(kAboutCardBitmaps[1], paintMakerCard());
  book.addResource(kAboutCardBitmaps[2], paintStaffCard("设计", "林小禾", "Lin Xiaohe",
                                                        StaffIcon::kPencil, rgb(255, 120, 170)));
  book.addResource(kAboutCardBitmaps[3], paintStaffCard("程序", "陈一舟", "Chen Yizhou",
                                                        StaffIcon::kKeyboard, rgb(70, 150, 240)));
  book.addResource(kAboutCardBitmaps[4], paintStaffCard("美术", "苏果果", "Su Guoguo",
                                                        StaffIcon::kPalette, rgb(90, 190, 110)));
  book.addResource(kAboutCardBitmaps[5], paintDedicationCard());
}

}  // namespace tolvaro::assetgen
