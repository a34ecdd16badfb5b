// The installable web page's manifest and icons, drawn from the program icon.
#include <cmath>
#include <cstdio>
#include <fstream>

#include "drawing/art.h"

namespace tolvaro::assetgen {
namespace {

constexpr int kIconDrawnSize = 32;
// A maskable icon may be cut to any shape inside the circle of 40% of its size round its centre;
// the rounded icon at 60% of the size keeps its corners inside it.
constexpr double kMaskableIconShare = 0.6;

struct WebIcon {
  const char* file;
  int size;
  bool maskable;
};
constexpr WebIcon kWebIcons[] = {
    {"icon-192.png", 192, false},
    {"icon-512.png", 512, false},
    {"icon-maskable-512.png", 512, true},
};

std::string hexColour(const Colour& c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<int>(std::lround(c.r * 255)),
                static_cast<int>(std::lround(c.g * 255)), static_cast<int>(std::lround(c.b * 255)));
  return text;
}

bool writeIcon(const WebIcon& icon, const std::filesystem::path& file) {
  Canvas canvas(icon.size, icon.size);
  cairo_t* cr = canvas.cr();
  double scale = icon.size / double(kIconDrawnSize);
  if (icon.maskable) {
    setColour(cr, kIconPanelBlue);
    cairo_paint(cr);
    const double drawn = icon.size * kMaskableIconShare;
    cairo_translate(cr, (icon.size - drawn) / 2, (icon.size - drawn) / 2);
    scale = drawn / kIconDrawnSize;
  }
  cairo_scale(cr, scale, scale);
  drawProgramIcon(cr);
  cairo_surface_t* surface = cairo_get_target(cr);
  cairo_surface_flush(surface);
  return cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
}

std::string manifest() {
  std::string icons;
  for (const WebIcon& icon : kWebIcons) {
    const std::string size = std::to_string(icon.size);
    if (!icons.empty()) icons += ",\n";
    icons += "    {\"src\": \"" + std::string(icon.file) + "\", \"sizes\": \"" + size + "x" + size +
             "\", \"type\": \"image/png\", \"purpose\": \"" + (icon.maskable ? "maskable" : "any") +
             "\"}";
  }
  return "{\n"
         "  \"name\": \"Tolvaro 打字游戏\",\n"
         "  \"short_name\": \"打字游戏\",\n"
         "  \"lang\": \"zh-CN\",\n"
         "  \"start_url\": \"./\",\n"
         "  \"scope\": \"./\",\n"
         "  \"display\": \"fullscreen\",\n"
         "  \"display_override\": [\"fullscreen\", \"standalone\"],\n"
         "  \"orientation\": \"landscape\",\n"
         "  \"theme_color\": \"" + hexColour(kIconPanelBlue) + "\",\n"
         "  \"background_color\": \"" + hexColour(kMenuSkyTop) + "\",\n"
         "  \"icons\": [\n" + icons + "\n  ]\n}\n";
}

}  // namespace

bool writeWebAppFiles(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  bool written = true;
  for (const WebIcon& icon : kWebIcons) written = writeIcon(icon, dir / icon.file) && written;
  std::ofstream out(dir / "manifest.webmanifest", std::ios::binary | std::ios::trunc);
  out << manifest();
  return written && static_cast<bool>(out);
}

}  // namespace tolvaro::assetgen
