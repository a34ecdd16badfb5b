// tolvaro_assetgen OUTPUT_DIR [OVERRIDES_DIR]
// Paints, composes and encodes every picture, sound, cursor and glyph the game loads, and writes
// them under OUTPUT_DIR. A file under OVERRIDES_DIR replaces the generated file of the same
// relative path byte for byte.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "assets/BitmapCatalogue.h"
#include "drawing/art.h"
#include "formats/bmp_writer.h"
#include "formats/quantize.h"
#include "formats/wave_writer.h"
#include "glyphs/glyphs.h"
#include "sound/sound.h"

// Fontconfig and pango keep process-lifetime caches that LeakSanitizer would report when the
// generator runs inside a sanitizer build.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libpango\nleak:libcairo\nleak:libglib\nleak:libgobject\n"
         "leak:libharfbuzz\nleak:libpixman\nleak:libfreetype\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

namespace tolvaro::assetgen {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

Bytes encodePicture(const Picture& picture) {
  if (picture.depth == 24) return encodeBmp24(picture.image);
  const IndexedImage indexed = quantize(picture.image, picture.key);
  return encodeBmp8(indexed.width, indexed.height, indexed.indices, indexed.palette);
}

// The size the game stretches a working-directory file to, if it is one of its pictures.
std::optional<BitmapSize> fileSize(const std::string& relativePath) {
  for (int n = 1; n <= kMenuBugFrameCount; ++n) {
    if (relativePath == "03_16/chongzi" + std::to_string(n) + ".bmp")
      return BitmapSize{kMenuBugFrameWidth, kMenuBugFrameHeight};
  }
  for (int code = 'A'; code <= 'Z'; ++code) {
    if (relativePath == "charImg/" + std::to_string(code) + ".bmp")
      return BitmapSize{kLetterTileSize, kLetterTileSize};
  }
  return std::nullopt;
}

int writeBitmaps(const PictureBook& book, const fs::path& out) {
  int problems = 0;
  for (const BitmapEntry& entry : kBitmapCatalogue) {
    const auto found = book.resources().find(entry.id);
    if (found == book.resources().end()) {
      std::fprintf(stderr, "bitmap %d was not painted\n", entry.id);
      ++problems;
      continue;
    }
    const Picture& picture = found->second;
    if (picture.image.width() != entry.width || picture.image.height() != entry.height) {
      std::fprintf(stderr, "bitmap %d painted as %dx%d, catalogue wants %dx%d\n", entry.id,
                   picture.image.width(), picture.image.height(), entry.width, entry.height);
      ++problems;
      continue;
    }
    writeFile(out / "bitmap" / (std::to_string(entry.id) + ".bmp"), encodePicture(picture));
  }
  if (book.resources().size() != kBitmapCatalogue.size()) {
    std::fprintf(stderr, "painted %zu bitmaps, catalogue lists %zu\n", book.resources().size(),
                 kBitmapCatalogue.size());
    ++problems;
  }
  std::size_t gamePictureFiles = 0;
  for (const auto& [relativePath, image] : book.files()) {
    if (const auto size = fileSize(relativePath)) {
      ++gamePictureFiles;
      if (image.width() != size->width || image.height() != size->height) {
        std::fprintf(stderr, "%s painted as %dx%d, the game loads it as %dx%d\n",
                     relativePath.c_str(), image.width(), image.height(), size->width,
                     size->height);
        ++problems;
        continue;
      }
    }
    writeFile(out / relativePath, encodeBmp24(image));
  }
  if (gamePictureFiles != kMenuBugFrameCount + 26) {
    std::fprintf(stderr, "painted %zu of the %d bug frames and letter tiles\n", gamePictureFiles,
                 kMenuBugFrameCount + 26);
    ++problems;
  }
  return problems;
}

int applyOverrides(const fs::path& overrides, const fs::path& out) {
  if (overrides.empty() || !fs::is_directory(overrides)) return 0;
  int applied = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(overrides)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), overrides);
    if (relative == "README.md") continue;
    fs::create_directories((out / relative).parent_path());
    fs::copy_file(entry.path(), out / relative, fs::copy_options::overwrite_existing);
    std::printf("override: %s\n", relative.string().c_str());
    ++applied;
  }
  return applied;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int run(const fs::path& out, const fs::path& overrides) {
  const auto start = std::chrono::steady_clock::now();
  PictureBook book;
  paintMenuPictures(book);
  paintLobbyPictures(book);
  paintGamePictures(book);
  paintAboutPictures(book);
  paintRecordPictures(book);
  const double paintSeconds = secondsSince(start);
  int problems = writeBitmaps(book, out);
  writeFile(out / "icon" / "141.ico", makeProgramIcon());
  fs::create_directories(out / "icon" / "hicolor");
  for (int size : {16, 32, 48, 64, 128, 256}) {
    if (!writeProgramIconPng(size, out / "icon" / "hicolor" / (std::to_string(size) + ".png"))) {
      ++problems;
    }
  }
  if (!writeWebAppFiles(out / "web")) ++problems;
  writeFile(out / "mouse6.ani", makeAnimatedCursor());
  const double pictureSeconds = secondsSince(start);

  for (const SoundAsset& sound : composeSounds()) {
    writeFile(out / "wave" / (std::to_string(sound.id) + ".wav"),
              encodeWave(sound.format, sound.samples, static_cast<uint32_t>(sound.id)));
  }
  const double soundSeconds = secondsSince(start);

  GlyphSources sources{"/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf",
                       "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 0, 1};
  GlyphSetReport report;
  writeFile(out / "glyphs" / "gbk16.bin", buildGlyphSet(sources, &report));
  const double glyphSeconds = secondsSince(start);

  const int overridden = applyOverrides(overrides, out);
  std::printf(
      "tolvaro_assetgen: %zu bitmaps, %zu picture files, %d overrides -> %s\n"
      "  glyphs: full-width %d from bitmap song, %d from Micro Hei, %d blank; half-width %d from "
      "bitmap song, %d from Micro Hei\n"
      "  time: painting %.2f s, pictures %.2f s, sounds %.2f s, glyphs %.2f s, total %.2f s\n",
      book.resources().size(), book.files().size(), overridden, out.string().c_str(),
      report.fullWidthFromBitmap, report.fullWidthFromOutline, report.fullWidthMissing,
      report.halfWidthFromBitmap, report.halfWidthFromOutline, paintSeconds, pictureSeconds,
      soundSeconds - pictureSeconds, glyphSeconds - soundSeconds, secondsSince(start));
  return problems == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tolvaro::assetgen

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [OVERRIDES_DIR]\n", argv[0]);
    return 2;
  }
  try {
    return tolvaro::assetgen::run(argv[1], argc == 3 ? argv[2] : "");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tolvaro_assetgen: %s\n", error.what());
    return 1;
  }
}
