// The painters of every picture the game shows, and the book they are collected in.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

// The game's layout (assets/Layout.h): each picture is painted to fit what lies around it
// where the game shows it.
#include "assets/Layout.h"
#include "drawing/canvas.h"
#include "formats/byte_writer.h"
#include "formats/image.h"

namespace tolvaro::assetgen {

// The part of `under` that the catalogue's picture `id` covers when drawn at (x, y) on it.
RgbImage coveredBy(int id, const RgbImage& under, int x, int y);

// The colour a picture of the catalogue is keyed on, if any.
std::optional<Rgb> keyColour(ColourKey key);

struct Picture {
  RgbImage image;
  int depth = 24;          // 24 or 8
  std::optional<Rgb> key;  // colour key of a transparently copied picture
};

class PictureBook {
 public:
  // Depth and colour key as the catalogue lists them for the id.
  void addResource(int id, RgbImage image);
  void addFile(const std::string& relativePath, RgbImage image);
  const RgbImage& resource(int id) const;
  const std::map<int, Picture>& resources() const { return resources_; }
  const std::map<std::string, RgbImage>& files() const { return files_; }

 private:
  std::map<int, Picture> resources_;
  std::map<std::string, RgbImage> files_;
};

// The three colour themes of the lobby: 0 blue, 1 violet, 2 turquoise.
struct Theme {
  Colour deep;
  Colour main;
  Colour light;
  Colour pale;
  Colour accent;
};
const Theme& themeFor(int index);

// The calm surface inside every playfield; pictures drawn onto the playfield use it in their
// corners so that they sit there seamlessly.
Colour playfieldColour();

void paintMenuPictures(PictureBook& book);
void paintLobbyPictures(PictureBook& book);
void paintGamePictures(PictureBook& book);
void paintAboutPictures(PictureBook& book);
void paintRecordPictures(PictureBook& book);

// The mascot at the bottom of the playfield that launches the shots: a round little bug in the
// grass, which it is cut off at groundY, with its mouth open upwards at (mouthX, mouthY), where
// the shot starts.
void drawShotLauncher(cairo_t* cr, double mouthX, double mouthY, double groundY,
                      const Theme& theme);

Bytes makeProgramIcon();
// The icon's panel colour, also the installed web page's theme colour.
inline const Colour kIconPanelBlue = rgb(60, 150, 240);
// The top of the main menu's sky, also the installed web page's background while it starts.
inline const Colour kMenuSkyTop = rgb(92, 176, 248);
void drawProgramIcon(cairo_t* cr);
// The program icon as a PNG of size x size pixels, for the desktop's icon themes.
bool writeProgramIconPng(int size, const std::filesystem::path& file);
Bytes makeAnimatedCursor();
// The web page's app manifest and its icons under `dir`: 192 and 512 pixels, and a maskable 512
// whose icon keeps inside the safe circle. False when a file could not be written.
bool writeWebAppFiles(const std::filesystem::path& dir);

// Shared lettering helpers.
TextStyle chineseLabelStyle(double pixelSize, const Colour& fill, const Colour& outline,
                            double outlineWidth);
TextStyle latinDisplayStyle(double pixelSize, const Colour& fill, const Colour& outline,
                            double outlineWidth);
// The product's logo: "Tolvaro" in candy letters with a Chinese subtitle under it.
void drawProductLogo(cairo_t* cr, double cx, double cy, double scale, const Colour& subtitleRibbon);

}  // namespace tolvaro::assetgen
