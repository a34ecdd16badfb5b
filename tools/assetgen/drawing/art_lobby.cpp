// The lobby's three colour themes: backgrounds, frame panels (the playfield), title pictures,
// buttons, info boxes and their labels; plus the spare title picture 175.
#include <cmath>
#include <string>

#include "drawing/art.h"
#include "drawing/characters.h"

namespace tolvaro::assetgen {
namespace {

constexpr int kScreenW = 1024;
constexpr int kScreenH = 768;
// The middle of the playfield, from the title picture's left edge.
constexpr int kPlayfieldMiddleInTitle = kLobbyPanelX + 20 + 566 / 2 - kLobbyTitleX;

const char* const kLabelTexts[8] = {"开始", "保存", "选项", "退出", "其它", "等级", "得分", "其它"};

// Deterministic scatter for decorations.
double scatter(int i, int salt, double range) {
  uint32_t h = static_cast<uint32_t>(i) * 2654435761u ^ static_cast<uint32_t>(salt) * 40503u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return (h % 10000) / 10000.0 * range;
}

// The buttons slide along the right-hand column over the bare sky: nothing else is painted
// there, so their corners, blended against that sky, sit right wherever they pass.
constexpr double kButtonColumnLeft = 690;
constexpr double kButtonColumnTop = 94;
constexpr double kButtonColumnBottom = 436;

bool touchesButtonColumn(double cx, double cy, double radius) {
  return cx + radius > kButtonColumnLeft && cy + radius > kButtonColumnTop &&
         cy - radius < kButtonColumnBottom;
}

void paintDaySky(cairo_t* cr, const Theme& theme) {
  cairo_rectangle(cr, 0, 0, kScreenW, kScreenH);
  fillVertical(cr, 0, kScreenH, rgb(64, 142, 236), rgb(176, 220, 255));
  for (int i = 0; i < 9; ++i) {
    const double width = 90 + scatter(i, 3, 90);
    double x = scatter(i, 1, 1024), y = 40 + scatter(i, 2, 520);
    // A cloud that would drift into the buttons' column moves below it, over the hills.
    if (touchesButtonColumn(x, y, width * 0.6)) y = kButtonColumnBottom + 40 + scatter(i, 8, 60);
    drawCloud(cr, x, y, width, rgb(250, 252, 255));
  }
  // Blue mountains and a pale blue lake shore.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 640);
  for (int i = 0; i <= 8; ++i) {
    const double x = i * 128;
    cairo_line_to(cr, x + 64, 560 + scatter(i, 4, 50));
    cairo_line_to(cr, x + 128, 630 + scatter(i, 5, 20));
  }
  cairo_line_to(cr, 1024, 768);
  cairo_line_to(cr, 0, 768);
  cairo_close_path(cr);
  fillVertical(cr, 560, 768, rgb(120, 170, 240), theme.deep);
  groundPath(cr, 0, 700, {{300, 670, 700, 720, 1024, 690}}, kScreenW, kScreenH);
  fillVertical(cr, 670, 768, rgb(96, 200, 140), rgb(50, 150, 110));
  for (int i = 0; i < 8; ++i) {
    drawFlower(cr, 20 + i * 130 + scatter(i, 6, 40), 730 + scatter(i, 7, 25), 22,
               i % 2 ? rgb(255, 255, 250) : rgb(255, 170, 200), rgb(255, 210, 70), 5);
  }
  drawButterfly(cr, 30, 300, 36, rgb(120, 190, 255), 0.2);
  drawBee(cr, 995, 60, 40, 0.3);
}

void paintNightGarden(cairo_t* cr, const Theme& theme) {
  cairo_rectangle(cr, 0, 0, kScreenW, kScreenH);
  fillVertical(cr, 0, kScreenH, rgb(58, 28, 112), rgb(176, 120, 226));
  for (int i = 0; i < 90; ++i) {
    const double x = scatter(i, 11, 1024), y = scatter(i, 12, 600);
    if (touchesButtonColumn(x, y, 9)) continue;
    if (i % 6 == 0) {
      sparkle(cr, x, y, 5 + scatter(i, 13, 4), rgb(255, 250, 220, 0.9));
    } else {
      fillCircle(cr, x, y, 1 + scatter(i, 14, 1.5), rgb(255, 255, 240, 0.5 + scatter(i, 15, 0.5)));
    }
  }
  // Moon.
  circlePath(cr, 960, 42, 52);
  fillRadial(cr, 960, 42, 30, 52, rgb(255, 250, 220, 0.35), rgb(255, 250, 220, 0));
  circlePath(cr, 960, 42, 30);
  fillRadial(cr, 952, 34, 4, 34, rgb(255, 252, 235), rgb(250, 226, 160));
  // Violet hills.
  for (int layer = 0; layer < 2; ++layer) {
    cairo_new_path(cr);
    const double base = 620 + layer * 60;
    cairo_move_to(cr, 0, base);
    cairo_curve_to(cr, 250, base - 70 + layer * 30, 600, base + 40, 1024, base - 50);
    cairo_line_to(cr, 1024, 768);
    cairo_line_to(cr, 0, 768);
    cairo_close_path(cr);
    fillVertical(cr, base - 70, 768, layer == 0 ? rgb(140, 90, 200) : rgb(110, 62, 170),
                 layer == 0 ? theme.deep : darker(theme.deep, 0.2));
  }
  for (int i = 0; i < 24; ++i) {
    const double x = scatter(i, 16, 1024), y = 120 + scatter(i, 17, 640);
    const double size = 5 + scatter(i, 18, 4);
    if (touchesButtonColumn(x, y, size * 3)) continue;
    drawFirefly(cr, x, y, size, rgb(255, 240, 120));
  }
  for (int i = 0; i < 7; ++i) {
    drawFlower(cr, 30 + i * 150 + scatter(i, 19, 40), 735 + scatter(i, 20, 20), 24,
               i % 2 ? rgb(255, 180, 230) : rgb(220, 200, 255), rgb(255, 230, 120), 6);
  }
}

void paintLagoon(cairo_t* cr, const Theme& theme) {
  cairo_rectangle(cr, 0, 0, kScreenW, kScreenH);
  fillVertical(cr, 0, kScreenH, rgb(120, 236, 226), rgb(10, 140, 156));
  // Light rays from the surface.
  for (int i = 0; i < 7; ++i) {
    const double x = 60 + i * 150 + scatter(i, 21, 40);
    if (x + 50 + 110 * kButtonColumnBottom / 768 > kButtonColumnLeft) continue;
    cairo_new_path(cr);
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x + 50, 0);
    cairo_line_to(cr, x + 160, 768);
    cairo_line_to(cr, x + 60, 768);
    cairo_close_path(cr);
    setColour(cr, rgb(255, 255, 255, 0.07));
    cairo_fill(cr);
  }
  // Sand, seaweed, shells.
  groundPath(cr, 0, 700, {{300, 680, 700, 725, 1024, 695}}, kScreenW, kScreenH);
  fillVertical(cr, 680, 768, rgb(250, 230, 170), rgb(226, 196, 130));
  for (int i = 0; i < 9; ++i) {
    const double x = 20 + i * 120 + scatter(i, 22, 60);
    const double h = 80 + scatter(i, 23, 110);
    cairo_new_path(cr);
    cairo_move_to(cr, x - 6, 712);
    cairo_curve_to(cr, x - 30, 712 - h * 0.4, x + 30, 712 - h * 0.7, x, 712 - h);
    cairo_curve_to(cr, x + 40, 712 - h * 0.6, x - 16, 712 - h * 0.3, x + 8, 712);
    cairo_close_path(cr);
    fillVertical(cr, 712 - h, 712, rgb(90, 210, 120), rgb(30, 140, 90));
  }
  for (int i = 0; i < 50; ++i) {
    const double r = 3 + scatter(i, 24, 12);
    const double x = scatter(i, 25, 1024), y = scatter(i, 26, 680);
    if (touchesButtonColumn(x, y, r + 1)) continue;
    circlePath(cr, x, y, r);
    setColour(cr, rgb(255, 255, 255, 0.18));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(255, 255, 255, 0.55));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    fillCircle(cr, x - r * 0.35, y - r * 0.35, r * 0.25, rgb(255, 255, 255, 0.7));
  }
  for (int i = 0; i < 4; ++i) {
    const double x = 100 + i * 260 + scatter(i, 27, 60);
    starPath(cr, x, 735 + scatter(i, 28, 15), 16, 7, 5, 0.2 * i);
    setColour(cr, i % 2 ? rgb(255, 150, 90) : rgb(255, 120, 150));
    cairo_fill_preserve(cr);
    setColour(cr, darker(theme.accent, 0.3));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
}

RgbImage paintBackground(int index) {
  Canvas canvas(kScreenW, kScreenH);
  const Theme& theme = themeFor(index);
  if (index == 0) paintDaySky(canvas.cr(), theme);
  if (index == 1) paintNightGarden(canvas.cr(), theme);
  if (index == 2) paintLagoon(canvas.cr(), theme);
  return canvas.flattenOver(RgbImage(kScreenW, kScreenH));
}

// The frame panel: a thick glossy frame round the playfield where the letter bugs fall.
RgbImage paintFramePanel(int index, const RgbImage& background) {
  const Theme& theme = themeFor(index);
  Canvas canvas(606, 676);
  cairo_t* cr = canvas.cr();
  const RgbImage backdrop =
      coveredBy(kThemeBitmaps[index].framePanel, background, kLobbyPanelX, kLobbyPanelRestY);
  canvas.paintImage(backdrop);
  softShadow(cr, 2, 4, 602, 670, 30, 2, 0.3);
  roundedRect(cr, 1, 1, 604, 674, 30);
  fillVertical(cr, 0, 676, lighter(theme.main, 0.25), darker(theme.main, 0.15));
  roundedRect(cr, 1, 1, 604, 674, 30);
  setColour(cr, theme.deep);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  roundedRect(cr, 6, 6, 594, 40, 20);
  setColour(cr, rgb(255, 255, 255, 0.22));
  cairo_fill(cr);
  // Stitching along the frame.
  stitchedRoundedRect(cr, 9, 9, 588, 658, 24, rgb(255, 255, 255, 0.55), 1.5, 6, 5);
  // The playfield.
  const Colour field = playfieldColour();
  roundedRect(cr, 20, 20, 566, 640, 16);
  setColour(cr, field);
  cairo_fill(cr);
  cairo_save(cr);
  roundedRect(cr, 20, 20, 566, 640, 16);
  cairo_clip(cr);
  // Faint polka dots: a little texture that cannot be mistaken for a falling letter.
  for (int row = 0; row < 16; ++row) {
    for (int col = 0; col < 14; ++col) {
      fillCircle(cr, 38 + col * 40 + (row % 2) * 20, 44 + row * 40, 4, withAlpha(theme.main, 0.07));
    }
  }
  // Inner shadow under the frame's top edge.
  cairo_rectangle(cr, 20, 20, 566, 10);
  fillVertical(cr, 20, 30, rgb(0, 0, 0, 0.10), rgb(0, 0, 0, 0));
  // Grass along the bottom and the flower that shoots at the bugs.
  cairo_new_path(cr);
  cairo_move_to(cr, 20, 652);
  for (int i = 0; i <= 57; ++i) cairo_line_to(cr, 20 + i * 10, 648 + (i % 2) * 5);
  cairo_line_to(cr, 586, 660);
  cairo_line_to(cr, 20, 660);
  cairo_close_path(cr);
  setColour(cr, rgb(120, 200, 90));
  cairo_fill(cr);
  cairo_restore(cr);
  drawShotLauncher(cr, 310.5, 647.5, 660, theme);
  roundedRect(cr, 20, 20, 566, 640, 16);
  setColour(cr, darker(theme.main, 0.3));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  return canvas.flattenOver(backdrop);
}

// The title picture: the product's logo on a themed sign, with the cast around it. The sign
// starts `signLeft` pixels into the picture and ends 3 pixels before its right edge; around it
// the picture shows the playfield it is copied onto.
RgbImage paintTitle(int pictureWidth, int height, int signLeft, const Theme& theme,
                    const RgbImage& backdrop) {
  Canvas canvas(pictureWidth, height);
  cairo_t* cr = canvas.cr();
  canvas.paintImage(backdrop);
  cairo_translate(cr, signLeft - 3, 0);
  const int width = pictureWidth - signLeft + 3;
  roundedRect(cr, 3, 3, width - 6, height - 6, 26);
  fillVertical(cr, 0, height, lighter(theme.light, 0.55), theme.light);
  cairo_save(cr);
  roundedRect(cr, 3, 3, width - 6, height - 6, 26);
  cairo_clip(cr);
  // Sunburst behind the logo.
  for (int i = 0; i < 16; ++i) {
    const double a0 = i * M_PI / 8, a1 = a0 + M_PI / 16;
    cairo_new_path(cr);
    cairo_move_to(cr, width / 2.0, height * 0.42);
    cairo_line_to(cr, width / 2.0 + std::cos(a0) * width, height * 0.42 + std::sin(a0) * width);
    cairo_line_to(cr, width / 2.0 + std::cos(a1) * width, height * 0.42 + std::sin(a1) * width);
    cairo_close_path(cr);
    setColour(cr, rgb(255, 255, 255, 0.28));
    cairo_fill(cr);
  }
  // Grass hill along the bottom.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, height - 46);
  cairo_curve_to(cr, width * 0.3, height - 76, width * 0.7, height - 30, width, height - 58);
  cairo_line_to(cr, width, height);
  cairo_line_to(cr, 0, height);
  cairo_close_path(cr);
  fillVertical(cr, height - 76, height, rgb(150, 222, 100), rgb(86, 176, 70));
  cairo_restore(cr);
  roundedRect(cr, 3, 3, width - 6, height - 6, 26);
  setColour(cr, rgb(255, 255, 255));
  cairo_set_line_width(cr, 5);
  cairo_stroke_preserve(cr);
  setColour(cr, theme.deep);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);

  const double scale = width / 528.0;
  drawProductLogo(cr, width / 2.0, height * 0.40, 1.05 * scale, theme.accent);
  LadybugLook look;
  drawLadybug(cr, 70 * scale, height - 40, 78 * scale, look);
  CaterpillarLook caterpillar;
  caterpillar.segments = 4;
  caterpillar.segmentRadius = 12 * scale;
  caterpillar.letters = "ABCD";
  caterpillar.wavePhase = 1.2;
  drawCaterpillar(cr, width - 190 * scale, height - 22, caterpillar);
  drawBee(cr, width - 70 * scale, 54 * scale, 56 * scale, 0.5);
  drawButterfly(cr, 62 * scale, 60 * scale, 44 * scale, theme.accent, 0.4);
  drawFlower(cr, 170 * scale, height - 30, 26 * scale, rgb(255, 150, 190), rgb(255, 220, 80), 5);
  drawFlower(cr, 300 * scale, height - 22, 22 * scale, rgb(255, 255, 250), rgb(255, 200, 60), 5);
  cairo_identity_matrix(cr);
  return canvas.flattenOver(backdrop);
}

// A button fills its whole block: a candy bar with small rounded corners, the corners painted
// over `corner`, the sky of the column the buttons slide along.
RgbImage paintButton(const Theme& theme, const Colour& corner, bool hovered) {
  Canvas canvas(240, 50);
  cairo_t* cr = canvas.cr();
  const RgbImage backdrop(240, 50, toRgb(corner));
  canvas.paintImage(backdrop);
  const Colour base = hovered ? lighter(theme.main, 0.18) : theme.main;
  glossyRoundedRect(cr, 1.25, 1.25, 237.5, 47.5, 9, base, theme.deep, 2.5);
  // A fine light line inside the outline, a little bevel.
  roundedRect(cr, 4, 4, 232, 42, 6);
  setColour(cr, rgb(255, 255, 255, 0.35));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (hovered) {
    cairo_new_path(cr);
    ellipsePath(cr, 120, 25, 100, 22);
    fillRadial(cr, 120, 25, 0, 100, rgb(255, 255, 220, 0.75), rgb(255, 255, 220, 0));
  }
  // Emblem on the left: a round badge with a star.
  circlePath(cr, 38, 25, 15);
  fillRadial(cr, 34, 21, 2, 16, rgb(255, 255, 255), lighter(theme.light, 0.3));
  strokeCircle(cr, 38, 25, 15, theme.deep, 2);
  starPath(cr, 38, 26, 10, 4.5, 5);
  setColour(cr, hovered ? rgb(255, 170, 40) : theme.accent);
  cairo_fill(cr);
  // Chevrons on the right.
  for (int i = 0; i < 2; ++i) {
    cairo_new_path(cr);
    cairo_move_to(cr, 194 + i * 12, 17);
    cairo_line_to(cr, 202 + i * 12, 25);
    cairo_line_to(cr, 194 + i * 12, 33);
    setColour(cr, rgb(255, 255, 255, hovered ? 0.95 : 0.7));
    cairo_set_line_width(cr, 3.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  }
  return canvas.flattenOver(backdrop);
}

// An info box is a square-cornered board that fills its block, since the three boxes sit over
// different scenery. The game shows 63 rows of it; a taller picture repeats the bottom edge.
RgbImage paintInfoBox(const Theme& theme, int height) {
  constexpr int kShown = kInfoBoxShownSize.height;
  Canvas canvas(270, height);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 270, height);
  setColour(cr, theme.deep);
  cairo_fill(cr);
  cairo_rectangle(cr, 2, 2, 266, kShown - 4);
  fillVertical(cr, 2, kShown - 2, lighter(theme.light, 0.2), theme.light);
  cairo_rectangle(cr, 3.5, 3.5, 263, kShown - 7);
  setColour(cr, rgb(255, 255, 255, 0.6));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Label plate.
  roundedRect(cr, 8, 7, 86, kShown - 14, 9);
  fillVertical(cr, 7, kShown - 7, lighter(theme.main, 0.15), darker(theme.main, 0.1));
  // Text window, light so the pink numbers read well.
  roundedRect(cr, 97, 7, 165, kShown - 14, 8);
  setColour(cr, rgb(255, 253, 246));
  cairo_fill(cr);
  roundedRect(cr, 97, 7, 165, 6, 3);
  setColour(cr, rgb(0, 0, 0, 0.06));
  cairo_fill(cr);
  roundedRect(cr, 97, 7, 165, kShown - 14, 8);
  setColour(cr, darker(theme.light, 0.25));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  return canvas.flattenOver(RgbImage(270, height));
}

RgbImage paintLabel(const std::string& text, const Theme& theme,
                    const std::vector<RgbImage>& places) {
  Canvas canvas(75, 36);
  TextStyle style = chineseLabelStyle(25, rgb(255, 255, 255), theme.deep, 5);
  style.letterSpacing = 2;
  style.shadow = rgb(0, 0, 0, 0.3);
  style.shadowDx = 1;
  style.shadowDy = 1;
  drawTextCentred(canvas.cr(), text, style, 37.5, 17.5);
  RgbImage label = canvas.flattenKeyedForPlaces(places, kBlack);
  return label;
}

// The mean sky under the corners of the five buttons at rest.
Colour buttonCornerColour(const RgbImage& background) {
  constexpr int kCorner = 10;
  double sum[3] = {0, 0, 0};
  int count = 0;
  for (int top : kLobbyButtonY) {
    for (int cy : {top, top + 50 - kCorner}) {
      for (int cx : {kLobbyButtonRestX, kLobbyButtonRestX + 240 - kCorner}) {
        for (int y = cy; y < cy + kCorner; ++y) {
          for (int x = cx; x < cx + kCorner; ++x) {
            const Rgb& p = background.at(x, y);
            sum[0] += p.r;
            sum[1] += p.g;
            sum[2] += p.b;
            ++count;
          }
        }
      }
    }
  }
  return rgb(static_cast<int>(std::lround(sum[0] / count)),
             static_cast<int>(std::lround(sum[1] / count)),
             static_cast<int>(std::lround(sum[2] / count)));
}

void paintTheme(PictureBook& book, int index) {
  const ThemeBitmaps& ids = kThemeBitmaps[index];
  const Theme& theme = themeFor(index);
  book.addResource(ids.background, paintBackground(index));
  const RgbImage& background = book.resource(ids.background);
  book.addResource(ids.framePanel, paintFramePanel(index, background));
  const RgbImage& frame = book.resource(ids.framePanel);
  const BitmapSize title = bitmapSize(ids.title);
  book.addResource(
      ids.title,
      paintTitle(title.width, title.height, 2 * kPlayfieldMiddleInTitle - title.width + 3, theme,
                 frame.crop(kLobbyTitleX - kLobbyPanelX, kLobbyTitleY - kLobbyPanelRestY,
                            title.width, title.height)));
  const Colour corner = buttonCornerColour(background);
  book.addResource(ids.button, paintButton(theme, corner, false));
  book.addResource(ids.buttonHovered, paintButton(theme, corner, true));
  book.addResource(ids.infoBox, paintInfoBox(theme, bitmapSize(ids.infoBox).height));
  // A button label sits on the normal or the lit face; an info label on its box.
  const std::vector<RgbImage> buttonLabelPlaces = {
      coveredBy(ids.buttonLabels[0], book.resource(ids.button), kLobbyLabelOffsetX,
                kLobbyLabelOffsetY),
      coveredBy(ids.buttonLabels[0], book.resource(ids.buttonHovered), kLobbyLabelOffsetX,
                kLobbyLabelOffsetY)};
  const std::vector<RgbImage> infoLabelPlaces = {coveredBy(
      ids.infoLabels[0], book.resource(ids.infoBox), kInfoLabelOffsetX, kInfoLabelOffsetY)};
  for (int i = 0; i < 5; ++i)
    book.addResource(ids.buttonLabels[i], paintLabel(kLabelTexts[i], theme, buttonLabelPlaces));
  for (int i = 0; i < 3; ++i)
    book.addResource(ids.infoLabels[i], paintLabel(kLabelTexts[5 + i], theme, infoLabelPlaces));
}

}  // namespace

void paintLobbyPictures(PictureBook& book) {
  for (int index = 0; index < 3; ++index) paintTheme(book, index);
  // The spare title picture: the same sign in warm sunset colours, on the blue playfield.
  const Theme sunset{rgb(180, 70, 30), rgb(255, 140, 60), rgb(255, 200, 120), rgb(255, 240, 220),
                     rgb(90, 170, 240)};
  const BitmapSize spare = bitmapSize(kSpareTitleBitmap);
  book.addResource(kSpareTitleBitmap, paintTitle(spare.width, spare.height, 3, sunset,
                                                 book.resource(kThemeBitmaps[0].framePanel)
                                                     .crop(kLobbyTitleX - kLobbyPanelX,
                                                           kLobbyTitleY - kLobbyPanelRestY,
                                                           spare.width, spare.height)));
}

}  // namespace tolvaro::assetgen
