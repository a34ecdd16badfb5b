// Main menu, exit box and load-game list.
#include <cmath>
#include <string>
#include <vector>

#include "drawing/art.h"
#include "drawing/characters.h"

namespace tolvaro::assetgen {
namespace {

constexpr int kScreenW = 1024;
constexpr int kScreenH = 768;
constexpr int kBranchTop = 404;  // the caterpillar walks on this line

// The settings notice is written in the game's 16-pixel text over the menu's last frame, from
// this x on; the branch and its leaves stay left of it.
constexpr int kNoticeLeft = tolvaro::kSettingsNoticeX;

void paintSkyAndMeadow(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, kScreenW, kScreenH);
  fillVertical(cr, 0, 470, kMenuSkyTop, rgb(196, 232, 255));
  // Sun with soft rays.
  const double sunX = 960, sunY = 70;
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6 + 0.1;
    cairo_new_path(cr);
    cairo_move_to(cr, sunX + std::cos(a - 0.09) * 60, sunY + std::sin(a - 0.09) * 60);
    cairo_line_to(cr, sunX + std::cos(a) * 105, sunY + std::sin(a) * 105);
    cairo_line_to(cr, sunX + std::cos(a + 0.09) * 60, sunY + std::sin(a + 0.09) * 60);
    cairo_close_path(cr);
    setColour(cr, rgb(255, 236, 140, 0.55));
    cairo_fill(cr);
  }
  circlePath(cr, sunX, sunY, 52);
  fillRadial(cr, sunX - 12, sunY - 12, 4, 56, rgb(255, 250, 200), rgb(255, 204, 60));
  drawCloud(cr, 610, 84, 170, rgb(255, 255, 255));
  drawCloud(cr, 820, 170, 120, rgb(250, 252, 255));
  drawCloud(cr, 90, 250, 130, rgb(252, 253, 255));
  drawCloud(cr, 480, 330, 100, rgb(246, 250, 255));

  // Far hills.
  groundPath(cr, 0, 470, {{180, 400, 360, 420, 520, 460}, {680, 420, 860, 390, 1024, 450}},
             kScreenW, kScreenH);
  fillVertical(cr, 390, 620, rgb(168, 226, 132), rgb(122, 200, 100));
  // Near meadow.
  groundPath(cr, 0, 560, {{240, 520, 520, 600, 700, 580}, {860, 565, 960, 590, 1024, 575}},
             kScreenW, kScreenH);
  fillVertical(cr, 520, 768, rgb(112, 204, 84), rgb(70, 160, 62));
  // A path winding through the meadow.
  cairo_new_path(cr);
  cairo_move_to(cr, 330, 768);
  cairo_curve_to(cr, 380, 690, 560, 660, 600, 590);
  cairo_line_to(cr, 640, 592);
  cairo_curve_to(cr, 640, 670, 520, 700, 500, 768);
  cairo_close_path(cr);
  fillVertical(cr, 590, 768, rgb(250, 226, 170), rgb(236, 196, 130));
}

void paintTreeAndBranch(cairo_t* cr) {
  const Colour bark = rgb(150, 96, 58);
  const Colour barkDark = rgb(112, 68, 40);
  // Trunk at the left edge.
  cairo_new_path(cr);
  cairo_move_to(cr, -10, 768);
  cairo_curve_to(cr, 30, 640, 20, 520, 40, 330);
  cairo_line_to(cr, 90, 330);
  cairo_curve_to(cr, 80, 520, 100, 650, 140, 768);
  cairo_close_path(cr);
  fillVertical(cr, 330, 768, bark, barkDark);
  // The branch the caterpillar walks on: flat on top through the animation strip, its tip short
  // of the settings notice, which is written over this part of the menu.
  const double tip = kNoticeLeft - 8;
  cairo_new_path(cr);
  cairo_move_to(cr, 60, kBranchTop + 18);
  cairo_curve_to(cr, 100, kBranchTop - 2, 140, kBranchTop, 180, kBranchTop);
  cairo_line_to(cr, tip - 30, kBranchTop);
  cairo_curve_to(cr, tip - 14, kBranchTop, tip - 4, kBranchTop + 3, tip, kBranchTop + 7);
  cairo_curve_to(cr, tip - 6, kBranchTop + 13, tip - 18, kBranchTop + 16, tip - 30,
                 kBranchTop + 16);
  cairo_line_to(cr, 180, kBranchTop + 17);
  cairo_curve_to(cr, 130, kBranchTop + 20, 100, kBranchTop + 34, 80, kBranchTop + 50);
  cairo_close_path(cr);
  fillVertical(cr, kBranchTop, kBranchTop + 30, rgb(176, 118, 72), barkDark);
  cairo_new_path(cr);
  cairo_move_to(cr, 180, kBranchTop + 9);
  cairo_line_to(cr, tip - 36, kBranchTop + 9);
  setColour(cr, rgb(128, 80, 48, 0.5));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Leaves at the branch tip, reaching up and back, away from the notice, and on the trunk.
  auto leaf = [&](double x, double y, double size, double angle) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, size * 0.3, -size * 0.35, size * 0.8, -size * 0.3, size, 0);
    cairo_curve_to(cr, size * 0.8, size * 0.3, size * 0.3, size * 0.35, 0, 0);
    fillVertical(cr, -size * 0.35, size * 0.35, rgb(140, 220, 90), rgb(70, 160, 60));
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, size * 0.9, 0);
    setColour(cr, rgb(60, 130, 50, 0.6));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_restore(cr);
  };
  leaf(tip - 6, kBranchTop + 12, 30, 2.0);
  leaf(tip - 20, kBranchTop + 15, 26, 2.5);
  leaf(160, kBranchTop + 18, 34, 2.3);
  // Canopy peeking in at the top left, behind nothing important.
  const double puffs[][3] = {{20, 300, 70}, {90, 330, 50}, {-20, 380, 60}, {60, 260, 46}};
  for (const auto& p : puffs) {
    circlePath(cr, p[0], p[1], p[2]);
    fillRadial(cr, p[0] - p[2] * 0.3, p[1] - p[2] * 0.4, 4, p[2] * 1.1, rgb(140, 214, 96),
               rgb(76, 164, 66));
  }
  drawFlower(cr, 40, 300, 26, rgb(255, 150, 190), rgb(255, 220, 80), 5);
  drawFlower(cr, 100, 350, 22, rgb(255, 255, 250), rgb(255, 200, 60), 5);
}

void paintMeadowDetails(cairo_t* cr) {
  for (int i = 0; i < 26; ++i) {
    const double x = 150 + (i * 151) % 880;
    const double y = 610 + (i * 67) % 150;
    if (x > 660 && y < 600) continue;
    drawGrassTuft(cr, x, y, 18 + (i % 4) * 4, rgb(64, 150, 52));
  }
  const Colour petals[] = {rgb(255, 110, 150), rgb(255, 200, 60), rgb(170, 130, 255),
                           rgb(255, 255, 250), rgb(255, 140, 80)};
  for (int i = 0; i < 14; ++i) {
    const double x = 170 + (i * 211) % 840;
    const double y = 640 + (i * 53) % 110;
    drawFlower(cr, x, y, 22 + (i % 3) * 6, petals[i % 5], rgb(255, 214, 70), 5 + i % 2);
  }
  drawMushroom(cr, 250, 720, 60, rgb(236, 70, 70));
  drawMushroom(cr, 290, 735, 36, rgb(255, 140, 60));
  drawMushroom(cr, 980, 700, 48, rgb(236, 70, 70));
}

void paintMenuBackground(PictureBook& book) {
  Canvas canvas(kScreenW, kScreenH);
  cairo_t* cr = canvas.cr();
  paintSkyAndMeadow(cr);
  paintTreeAndBranch(cr);
  paintMeadowDetails(cr);
  drawLetterBubble(cr, 470, 260, 24, "A", rgb(255, 120, 120));
  drawLetterBubble(cr, 520, 200, 18, "B", rgb(90, 190, 255));
  drawLetterBubble(cr, 440, 470, 20, "C", rgb(120, 210, 100));
  drawButterfly(cr, 560, 640, 40, rgb(255, 160, 60), 0.6);
  drawBee(cr, 330, 500, 46, 0.4);
  drawProductLogo(cr, 300, 120, 1.0, rgb(255, 120, 60));
  book.addResource(kMenuBackgroundBitmap, canvas.flattenOver(RgbImage(kScreenW, kScreenH)));
}

// The menu items: glossy candy bars, blue at rest, green under the pointer.
enum class ItemIcon { kPlay, kFolder, kGear, kInfo, kDoor };

void drawItemIcon(cairo_t* cr, ItemIcon icon, double cx, double cy, const Colour& ink) {
  cairo_new_path(cr);
  setColour(cr, ink);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  switch (icon) {
    case ItemIcon::kPlay:
      cairo_move_to(cr, cx - 5, cy - 8);
      cairo_line_to(cr, cx + 8, cy);
      cairo_line_to(cr, cx - 5, cy + 8);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case ItemIcon::kFolder:
      roundedRect(cr, cx - 9, cy - 5, 18, 13, 2);
      cairo_fill(cr);
      roundedRect(cr, cx - 9, cy - 8, 8, 5, 1.5);
      cairo_fill(cr);
      break;
    case ItemIcon::kGear:
      for (int i = 0; i < 8; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, i * M_PI / 4);
        cairo_rectangle(cr, -2.5, -10, 5, 5);
        cairo_fill(cr);
        cairo_restore(cr);
      }
      cairo_arc(cr, cx, cy, 7, 0, 2 * M_PI);
      cairo_fill(cr);
      break;
    case ItemIcon::kInfo:
      cairo_arc(cr, cx, cy - 7, 2.4, 0, 2 * M_PI);
      cairo_fill(cr);
      roundedRect(cr, cx - 2.2, cy - 3, 4.4, 12, 2);
      cairo_fill(cr);
      break;
    case ItemIcon::kDoor:
      roundedRect(cr, cx - 7, cy - 9, 12, 18, 2);
      cairo_set_line_width(cr, 2.6);
      cairo_stroke(cr);
      cairo_move_to(cr, cx - 1, cy);
      cairo_line_to(cr, cx + 10, cy);
      cairo_move_to(cr, cx + 6, cy - 4);
      cairo_line_to(cr, cx + 10, cy);
      cairo_line_to(cr, cx + 6, cy + 4);
      cairo_stroke(cr);
      break;
  }
}

RgbImage paintMenuItem(const RgbImage& backdrop, const std::string& text, ItemIcon icon,
                       bool hovered) {
  Canvas canvas(263, 51);
  cairo_t* cr = canvas.cr();
  canvas.paintImage(backdrop);
  const Colour base = hovered ? rgb(76, 196, 82) : rgb(52, 134, 234);
  const Colour outline = hovered ? rgb(30, 118, 42) : rgb(24, 72, 160);
  softShadow(cr, 4, 6, 255, 42, 21, 3, 0.25);
  glossyRoundedRect(cr, 2.5, 2.5, 258, 44, 22, base, outline, 2.5);
  // Icon badge.
  circlePath(cr, 27, 24.5, 15);
  fillRadial(cr, 23, 20, 2, 16, rgb(255, 255, 255), lighter(base, 0.7));
  strokeCircle(cr, 27, 24.5, 15, outline, 2);
  drawItemIcon(cr, icon, 27, 24.5, darker(base, 0.2));
  if (hovered) {
    sparkle(cr, 236, 14, 6, rgb(255, 255, 220));
    sparkle(cr, 246, 30, 4, rgb(255, 255, 220));
  }
  TextStyle style = chineseLabelStyle(27, rgb(255, 255, 255), darker(base, 0.5), 5);
  style.letterSpacing = text.size() <= 6 ? 14 : 4;  // two-character items are spread out
  drawTextCentred(cr, text, style, 148, 24.5);
  return canvas.flattenOver(backdrop);
}

void paintMenuItems(PictureBook& book) {
  const RgbImage& background = book.resource(kMenuBackgroundBitmap);
  struct Item {
    const char* text;
    ItemIcon icon;
  };
  const Item items[kMenuItemCount] = {{"开始游戏", ItemIcon::kPlay},
                                      {"载入游戏", ItemIcon::kFolder},
                                      {"设置", ItemIcon::kGear},
                                      {"关于", ItemIcon::kInfo},
                                      {"退出游戏", ItemIcon::kDoor}};
  for (int k = 0; k < kMenuItemCount; ++k) {
    const RgbImage backdrop =
        coveredBy(kMenuItemBitmaps[k][0], background, kMenuItemRestX, menuItemY(k));
    for (const bool hovered : {false, true}) {
      book.addResource(kMenuItemBitmaps[k][hovered],
                       paintMenuItem(backdrop, items[k].text, items[k].icon, hovered));
    }
  }
}

// The hover marker: a ladybug on white, white being its colour key.
void paintMenuMarker(PictureBook& book) {
  Canvas canvas(110, 110);
  LadybugLook look;
  drawLadybug(canvas.cr(), 50, 66, 96, look);
  // The marker stands beside one of the five items; the colour key cuts rather than blends, so
  // each edge pixel is keyed or blended for the five places together.
  std::vector<RgbImage> places;
  for (int k = 0; k < 5; ++k)
    places.push_back(coveredBy(kMenuMarkerBitmap, book.resource(kMenuBackgroundBitmap),
                               kMenuMarkerX, menuItemY(k) - kMenuMarkerAboveItem));
  book.addResource(kMenuMarkerBitmap, canvas.flattenKeyedForPlaces(places, kWhite));
}

void drawExitButton(cairo_t* cr, double x, double y, const char* text, const Colour& base,
                    bool lit) {
  if (lit) {
    roundedRect(cr, x - 1, y - 1, 79, 28, 14);
    setColour(cr, rgb(255, 255, 200, 0.7));
    cairo_fill(cr);
  }
  glossyRoundedRect(cr, x + 1.5, y + 1.5, 74, 23, 11.5, base, darker(base, 0.45), 2);
  TextStyle style = chineseLabelStyle(18, rgb(255, 255, 255), darker(base, 0.5), 3.5);
  drawTextCentred(cr, text, style, x + 38.5, y + 13);
  if (lit) sparkle(cr, x + 66, y + 7, 4, rgb(255, 255, 230));
}

// 否 (stay) is the inviting choice, a bright green; 是 (quit) a quiet grey that turns to a
// warning red-orange only under the pointer.
const Colour kExitYesIdle = rgb(176, 160, 156);
const Colour kExitNoIdle = rgb(64, 188, 88);
const Colour kExitYesLit = rgb(242, 104, 64);
const Colour kExitNoLit = rgb(40, 214, 84);

void paintExitBox(PictureBook& book) {
  Canvas canvas(250, 90);
  cairo_t* cr = canvas.cr();
  outlinedPanel(cr, 2, 2, 246, 86, 18, rgb(255, 251, 232), rgb(255, 232, 196), rgb(238, 140, 44),
                3.5);
  TextStyle question = chineseLabelStyle(18, rgb(120, 64, 30), rgb(255, 255, 255), 0);
  drawTextCentred(cr, "真的要退出游戏吗？", question, 120, 26);
  drawExitButton(cr, kExitYesHighlightX - kExitBoxRestX, kExitHighlightY - kExitBoxY, "是",
                 kExitYesIdle, false);
  drawExitButton(cr, kExitNoHighlightX - kExitBoxRestX, kExitHighlightY - kExitBoxY, "否",
                 kExitNoIdle, false);
  LadybugLook look;
  look.happy = false;
  drawLadybug(cr, 205, 74, 50, look);
  const RgbImage backdrop =
      coveredBy(kExitBoxBitmap, book.resource(kMenuBackgroundBitmap), kExitBoxRestX, kExitBoxY);
  book.addResource(kExitBoxBitmap, canvas.flattenKeyed(backdrop, kBlack));

  // The highlighted buttons cover the box's own buttons exactly.
  const RgbImage& box = book.resource(kExitBoxBitmap);
  struct Highlight {
    int id, x;
    const char* text;
    Colour colour;
  };
  const Highlight highlights[] = {
      {kExitYesBitmap, kExitYesHighlightX - kExitBoxRestX, "是", kExitYesLit},
      {kExitNoBitmap, kExitNoHighlightX - kExitBoxRestX, "否", kExitNoLit}};
  for (const Highlight& h : highlights) {
    Canvas button(77, 26);
    const RgbImage under = coveredBy(h.id, box, h.x, kExitHighlightY - kExitBoxY);
    button.paintImage(under);
    drawExitButton(button.cr(), 0, 0, h.text, h.colour, true);
    book.addResource(h.id, button.flattenOver(under));
  }
}

// Load-game list: a lilac panel with six empty slots and a Back button, placed within the panel
// as the game shows them.
constexpr int kSlotRowLeft = g_slotRowX - g_slotPanelX;
constexpr int slotRowTop(int row) {
  return g_slotRowY[row] - g_slotPanelY;
}
constexpr int kSlotBackLeft = g_slotBackX - g_slotPanelX;
constexpr int kSlotBackTop = g_slotBackY - g_slotPanelY;

void drawSlot(cairo_t* cr, double x, double y, int number, bool lit) {
  if (lit) {
    roundedRect(cr, x + 0.5, y + 0.5, 240, 27, 13);
    fillVertical(cr, y, y + 28, rgb(200, 150, 255), rgb(146, 86, 232));
    roundedRect(cr, x + 0.5, y + 0.5, 240, 27, 13);
    setColour(cr, rgb(255, 255, 255, 0.9));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    roundedRect(cr, x + 4, y + 3, 232, 10, 5);
    setColour(cr, rgb(255, 255, 255, 0.3));
    cairo_fill(cr);
    sparkle(cr, x + 20, y + 14, 7, rgb(255, 250, 220));
    sparkle(cr, x + 221, y + 14, 7, rgb(255, 250, 220));
    return;
  }
  roundedRect(cr, x + 1, y + 1, 239, 26, 12);
  fillVertical(cr, y, y + 28, rgb(252, 249, 255), rgb(238, 230, 252));
  roundedRect(cr, x + 1, y + 1, 239, 26, 12);
  setColour(cr, rgb(178, 146, 228));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  fillCircle(cr, x + 18, y + 14, 9, rgb(196, 170, 240));
  TextStyle numberStyle = latinDisplayStyle(12, rgb(255, 255, 255), rgb(0, 0, 0, 0), 0);
  drawTextCentred(cr, std::to_string(number), numberStyle, x + 18, y + 14);
  // A dotted line marks the slot as empty.
  cairo_new_path(cr);
  for (double dx = 40; dx < 225; dx += 9) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + dx, y + 14, 1.5, 0, 2 * M_PI);
  }
  setColour(cr, rgb(200, 184, 236));
  cairo_fill(cr);
}

void drawBackButton(cairo_t* cr, double x, double y, bool lit) {
  const Colour base = lit ? rgb(255, 120, 190) : rgb(150, 100, 222);
  if (lit) {
    roundedRect(cr, x, y, 83, 25, 12.5);
    setColour(cr, rgb(255, 220, 245));
    cairo_fill(cr);
  }
  glossyRoundedRect(cr, x + 2, y + 1.5, 79, 22, 11, base, darker(base, 0.45), 2);
  TextStyle style = chineseLabelStyle(16, rgb(255, 255, 255), darker(base, 0.5), 3);
  style.letterSpacing = 6;
  drawTextCentred(cr, "返回", style, x + 41.5, y + 12.5);
}

void paintSlotPanel(PictureBook& book) {
  Canvas canvas(305, 405);
  cairo_t* cr = canvas.cr();
  softShadow(cr, 6, 8, 293, 393, 24, 4, 0.25);
  outlinedPanel(cr, 3, 3, 299, 399, 24, rgb(240, 230, 255), rgb(214, 196, 250), rgb(120, 80, 192),
                4);
  TextStyle title = chineseLabelStyle(22, rgb(255, 255, 255), rgb(110, 66, 180), 4.5);
  title.letterSpacing = 3;
  drawTextCentred(cr, "载入游戏", title, 152.5, 30);
  sparkle(cr, 70, 30, 7, rgb(255, 210, 90));
  sparkle(cr, 236, 30, 7, rgb(255, 210, 90));
  for (int i = 0; i < 6; ++i) drawSlot(cr, kSlotRowLeft, slotRowTop(i), i + 1, false);
  drawBackButton(cr, kSlotBackLeft, kSlotBackTop, false);
  const RgbImage backdrop =
      coveredBy(kSlotPanelBitmap, book.resource(kMenuBackgroundBitmap), g_slotPanelX, g_slotPanelY);
  book.addResource(kSlotPanelBitmap, canvas.flattenKeyed(backdrop, kBlack));

  const RgbImage& panel = book.resource(kSlotPanelBitmap);
  {
    Canvas bar(241, 28);
    const RgbImage under = coveredBy(kSlotRowBitmap, panel, kSlotRowLeft, slotRowTop(0));
    bar.paintImage(under);
    drawSlot(bar.cr(), 0, 0, 1, true);
    book.addResource(kSlotRowBitmap, bar.flattenOver(under));
  }
  {
    Canvas back(83, 25);
    const RgbImage under = coveredBy(kSlotBackBitmap, panel, kSlotBackLeft, kSlotBackTop);
    back.paintImage(under);
    drawBackButton(back.cr(), 0, 0, true);
    book.addResource(kSlotBackBitmap, back.flattenOver(under));
  }
}

// The bug animation: a letter caterpillar crawling on the branch of the menu background, whose
// own pixels form each frame's backdrop so the strip blends in.
void paintBugFrames(PictureBook& book) {
  const RgbImage backdrop =
      book.resource(kMenuBackgroundBitmap)
          .crop(kMenuBugX, kMenuBugY, kMenuBugFrameWidth, kMenuBugFrameHeight);
  for (int frame = 1; frame <= kMenuBugFrameCount; ++frame) {
    const double phase = 2 * M_PI * (frame - 1) / kMenuBugFrameCount;
    Canvas canvas(204, 51);
    canvas.paintImage(backdrop);
    CaterpillarLook look;
    look.segments = 4;
    look.segmentRadius = 10.5;
    look.letters = "ABCD";
    look.wavePhase = phase;
    look.humpHeight = 6;
    const double creep = 3 * std::sin(phase);
    drawCaterpillar(canvas.cr(), 8 + creep, kBranchTop - kMenuBugY, look);
    book.addFile("03_16/chongzi" + std::to_string(frame) + ".bmp", canvas.flattenOver(backdrop));
  }
}

}  // namespace

void paintMenuPictures(PictureBook& book) {
  paintMenuBackground(book);
  paintMenuItems(book);
  paintMenuMarker(book);
  paintExitBox(book);
  paintSlotPanel(book);
  paintBugFrames(book);
}

}  // namespace tolvaro::assetgen
