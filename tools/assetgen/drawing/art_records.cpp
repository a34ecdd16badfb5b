// The records board, its marker, and the name-entry dialog's face and buttons.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "drawing/art.h"
#include "drawing/characters.h"

namespace tolvaro::assetgen {
namespace {

// The game's 16-pixel text has its baseline 13 pixels below the text top.
constexpr int kTextBaseline = 13;

void drawBoardButton(cairo_t* cr, double x, double y, double w, double h, const char* text,
                     const Colour& base) {
  glossyRoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, h / 2, base, darker(base, 0.45), 1.8);
  TextStyle style = chineseLabelStyle(15, rgb(255, 255, 255), darker(base, 0.5), 3);
  style.letterSpacing = 8;
  drawTextCentred(cr, text, style, x + w / 2, y + h / 2);
}

RgbImage paintBoard() {
  Canvas canvas(570, 400);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 570, 400);
  fillVertical(cr, 0, 400, rgb(255, 196, 80), rgb(236, 128, 44));
  cairo_rectangle(cr, 1.5, 1.5, 567, 397);
  setColour(cr, rgb(170, 80, 20));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // Paper.
  outlinedPanel(cr, 9, 9, 552, 382, 18, rgb(255, 252, 240), rgb(255, 240, 214), rgb(200, 110, 40),
                2);

  // Title with a crown on either side.
  TextStyle title = chineseLabelStyle(34, rgb(230, 50, 60), rgb(255, 214, 90), 6);
  title.letterSpacing = 12;
  title.shadow = rgb(150, 60, 20, 0.3);
  title.shadowDx = 2;
  title.shadowDy = 2;
  drawTextCentred(cr, "龍虎榜", title, 285, 34);
  for (int side = 0; side < 2; ++side) {
    const double cx = side == 0 ? 180 : 390;
    const auto crown = [&] {
      cairo_new_path(cr);
      cairo_move_to(cr, cx - 18, 44);
      for (const auto& [dx, y] :
           {std::pair{-20, 22}, {-9, 32}, {0, 18}, {9, 32}, {20, 22}, {18, 44}})
        cairo_line_to(cr, cx + dx, y);
      cairo_close_path(cr);
    };
    crown();
    fillVertical(cr, 18, 44, rgb(255, 236, 120), rgb(245, 170, 30));
    crown();
    setColour(cr, rgb(190, 110, 20));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    fillCircle(cr, cx, 36, 3, rgb(240, 70, 90));
  }

  const Colour medal[6] = {rgb(255, 200, 40),  rgb(190, 200, 215), rgb(226, 150, 90),
                           rgb(150, 200, 245), rgb(150, 200, 245), rgb(150, 200, 245)};
  TextStyle label = latinDisplayStyle(12, rgb(130, 80, 40), rgb(0, 0, 0, 0), 0);
  for (int row = 0; row < 6; ++row) {
    const double top = kRecordsRowTop[row];
    // A light strip for the pink values.
    roundedRect(cr, 14, top - 5, 542, 26, 12);
    setColour(cr, row % 2 == 0 ? rgb(255, 255, 252) : rgb(255, 249, 236));
    cairo_fill(cr);
    roundedRect(cr, 14, top - 5, 542, 26, 12);
    setColour(cr, rgb(240, 200, 150));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Rank pill.
    roundedRect(cr, 17, top - 3, 54, 22, 11);
    fillVertical(cr, top - 3, top + 19, lighter(medal[row], 0.35), medal[row]);
    roundedRect(cr, 17, top - 3, 54, 22, 11);
    setColour(cr, darker(medal[row], 0.35));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    TextStyle rank = latinDisplayStyle(12, rgb(90, 60, 30), rgb(0, 0, 0, 0), 0);
    drawTextOnBaseline(cr, "no." + std::to_string(row + 1), rank, 44, top + kTextBaseline,
                       Align::kCentre);
    drawTextOnBaseline(cr, "name:", label, kRecordsNameColumn - 5, top + kTextBaseline,
                       Align::kRight);
    drawTextOnBaseline(cr, "useTime:", label, kRecordsTimeColumn - 5, top + kTextBaseline,
                       Align::kRight);
    drawTextOnBaseline(cr, "score:", label, kRecordsScoreColumn - 5, top + kTextBaseline,
                       Align::kRight);
  }
  drawBoardButton(cr, 146, 363, 102, 25, "确定", rgb(30, 176, 170));
  drawBoardButton(cr, 306, 363, 105, 25, "清除", rgb(250, 130, 60));
  return canvas.flattenOver(RgbImage(570, 400));
}

RgbImage paintRecordsMarker(const RgbImage& board) {
  Canvas canvas(22, 22);
  cairo_t* cr = canvas.cr();
  glossyBall(cr, {11, 11, 9.5, 8.5, 8, 11, rgb(255, 150, 140), rgb(220, 20, 40), rgb(150, 10, 30),
                  1.2, 8, 7.5, 2.4, rgb(255, 255, 255, 0.85)});
  // The marker marks one of the six rows, whose strips alternate in colour: its edge pixels are
  // keyed or blended for the six places together, the colour key cutting rather than blending.
  std::vector<RgbImage> places;
  for (const int top : kRecordsRowTop)
    places.push_back(
        coveredBy(kRecordsMarkerBitmap, board, kRecordsMarkerX, top - kRecordsMarkerAboveText));
  return canvas.flattenKeyedForPlaces(places, kBlack);
}

// Dialog buttons: a candy pill on a shadow base; the hovered one is lifted by two pixels.
RgbImage paintDialogButton(const RgbImage& backdrop, const char* text, bool hovered) {
  Canvas canvas(93, 29);
  cairo_t* cr = canvas.cr();
  canvas.paintImage(backdrop);
  const Colour base = hovered ? rgb(255, 112, 172) : rgb(28, 172, 168);
  const double bodyTop = hovered ? 1 : 3;
  roundedRect(cr, 2, bodyTop + 3, 89, 23, 11.5);
  setColour(cr, rgb(170, 120, 150, 0.55));
  cairo_fill(cr);
  glossyRoundedRect(cr, 2, bodyTop, 89, 23, 11.5, base, darker(base, 0.45), 1.8);
  TextStyle style = chineseLabelStyle(16, rgb(255, 255, 255), darker(base, 0.5), 3);
  style.letterSpacing = 8;
  drawTextCentred(cr, text, style, 46.5, bodyTop + 11.5);
  if (hovered) sparkle(cr, 80, bodyTop + 6, 4, rgb(255, 255, 220));
  return canvas.flattenOver(backdrop);
}

RgbImage paintDialogFaceWithoutButtons() {
  Canvas canvas(320, 160);
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 320, 160);
  fillVertical(cr, 0, 160, rgb(255, 246, 250), rgb(255, 222, 236));
  for (int i = 0; i < 10; ++i) {
    const double x = 12 + (i * 97) % 300, y = 50 + (i * 53) % 100;
    if ((x > 76 && x < 240 && y > 64 && y < 104) || (y > 104 && x > 56 && x < 264)) continue;
    sparkle(cr, x, y, 4 + i % 3, rgb(255, 190, 220));
  }
  cairo_rectangle(cr, 1, 1, 318, 158);
  setColour(cr, rgb(236, 120, 170));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  TextStyle title = chineseLabelStyle(22, rgb(226, 56, 124), rgb(255, 255, 255), 5);
  title.letterSpacing = 2;
  drawTextCentred(cr, "恭喜登上龍虎榜", title, 150, 28);
  // Circular emblem: a golden medal with a star and ribbons.
  const double ex = 277, ey = 74;
  for (int side = 0; side < 2; ++side) {
    cairo_new_path(cr);
    const double dx = side == 0 ? -10 : 10;
    cairo_move_to(cr, ex + dx - 7, ey + 14);
    cairo_line_to(cr, ex + dx * 1.6 - 7, ey + 44);
    cairo_line_to(cr, ex + dx * 1.6, ey + 38);
    cairo_line_to(cr, ex + dx * 1.6 + 7, ey + 44);
    cairo_line_to(cr, ex + dx + 7, ey + 14);
    cairo_close_path(cr);
    setColour(cr, side == 0 ? rgb(80, 150, 240) : rgb(240, 80, 120));
    cairo_fill(cr);
  }
  circlePath(cr, ex, ey, 27);
  fillRadial(cr, ex - 8, ey - 9, 2, 30, rgb(255, 246, 170), rgb(245, 170, 30));
  strokeCircle(cr, ex, ey, 27, rgb(200, 120, 20), 2);
  strokeCircle(cr, ex, ey, 21, rgb(255, 255, 255, 0.6), 1.5);
  starPath(cr, ex, ey + 1, 14, 6, 5);
  setColour(cr, rgb(255, 110, 90));
  cairo_fill(cr);
  // Label and the plain area where the edit box sits.
  TextStyle label = chineseLabelStyle(18, rgb(150, 60, 110), rgb(255, 255, 255), 3);
  drawTextAligned(cr, "大名", label, 78, 84, false);
  cairo_rectangle(cr, 81, 69, 154, 30);
  setColour(cr, rgb(240, 170, 200));
  cairo_fill(cr);
  cairo_rectangle(cr, 83, 71, 150, 26);
  setColour(cr, rgb(255, 255, 255));
  cairo_fill(cr);
  LadybugLook look;
  drawLadybug(cr, 28, 142, 40, look);
  return canvas.flattenOver(RgbImage(320, 160));
}

void paintDialog(PictureBook& book) {
  const RgbImage plain = paintDialogFaceWithoutButtons();
  constexpr int kLiftedY = kDialogButtonY - kDialogButtonHoverLift;
  const RgbImage normalUnder =
      coveredBy(kDialogConfirmBitmap, plain, kConfirmButtonX, kDialogButtonY);
  const RgbImage normalUnderClear =
      coveredBy(kDialogClearBitmap, plain, kClearButtonX, kDialogButtonY);
  const RgbImage liftedUnder =
      coveredBy(kDialogConfirmHoveredBitmap, plain, kConfirmButtonX, kLiftedY);
  const RgbImage liftedUnderClear =
      coveredBy(kDialogClearHoveredBitmap, plain, kClearButtonX, kLiftedY);
  book.addResource(kDialogConfirmBitmap, paintDialogButton(normalUnder, "确定", false));
  book.addResource(kDialogClearBitmap, paintDialogButton(normalUnderClear, "清除", false));
  book.addResource(kDialogConfirmHoveredBitmap, paintDialogButton(liftedUnder, "确定", true));
  book.addResource(kDialogClearHoveredBitmap, paintDialogButton(liftedUnderClear, "清除", true));
  RgbImage face = plain;
  face.paste(book.resource(kDialogConfirmBitmap), kConfirmButtonX, kDialogButtonY);
  face.paste(book.resource(kDialogClearBitmap), kClearButtonX, kDialogButtonY);
  book.addResource(kNameDialogBitmap, face);
}

}  // namespace

void paintRecordPictures(PictureBook& book) {
  book.addResource(kRecordsBoardBitmap, paintBoard());
  book.addResource(kRecordsMarkerBitmap, paintRecordsMarker(book.resource(kRecordsBoardBitmap)));
  paintDialog(book);
}

}  // namespace tolvaro::assetgen
