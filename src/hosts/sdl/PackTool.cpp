// Build step: packs the generated resources for embedding, and writes the program's icon as a
// PNG for the desktop entry. Usage: tolvaro_pack <generated-dir> <pack-out> [<icon-png-out>]
// A file is only rewritten when its bytes change, so an unchanged pack relinks nothing.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/Files.h"
#include "base/Picture.h"
#include "base/Png.h"
#include "hosts/sdl/IconFile.h"
#include "hosts/sdl/ResourcePack.h"

namespace fs = std::filesystem;
using namespace tolvaro;

namespace {

bool writeIfChanged(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::error_code error;
  if (fs::exists(path, error) && readFile(path) == bytes) return true;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The program has one icon, whatever its number; with none or several there is no PNG.
const sdl::PackEntry* onlyIcon(const std::vector<sdl::PackEntry>& entries) {
  const sdl::PackEntry* found = nullptr;
  for (const sdl::PackEntry& entry : entries) {
    if (entry.type != ResourceType::Icon) continue;
    if (found) return nullptr;
    found = &entry;
  }
  return found;
}

// The icon over white, as the desktop shows it at its own size.
bool writeIconPng(const std::vector<sdl::PackEntry>& entries, const fs::path& out) {
  const sdl::PackEntry* entry = onlyIcon(entries);
  if (!entry) return false;
  const std::optional<sdl::IconImage> icon = sdl::decodeIconFile(entry->bytes);
  if (!icon) return false;
  Picture picture(icon->width, icon->height, kWhite);
  for (int i = 0; i < icon->width * icon->height; ++i) {
    const std::uint8_t* p = &icon->rgba[static_cast<std::size_t>(i) * 4];
    const int a = p[3];
    auto mix = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
    picture.pixels[static_cast<std::size_t>(i)] = rgb(mix(p[0]), mix(p[1]), mix(p[2]));
  }
  return savePng(picture.view(), out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tolvaro_pack <generated-dir> <pack-out> [<icon-png-out>]\n");
    return 2;
  }
  const std::vector<sdl::PackEntry> entries = sdl::collectGeneratedResources(argv[1]);
  if (!writeIfChanged(argv[2], sdl::encodePack(entries))) {
    std::fprintf(stderr, "tolvaro_pack: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc > 3 && !writeIconPng(entries, argv[3])) {
    // No icon yet (the generated tree is incomplete): the desktop entry falls back to none.
    std::error_code error;
    fs::remove(argv[3], error);
  }
  return 0;
}
