// Every resource bitmap of the program with its size, depth and colour key, in the order
// start-up loads them. The game loads and draws by it and the art generator paints to it, so it
// includes nothing of either.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace tolvaro {

// The colour a picture is copied transparently around, if any.
enum class ColourKey : std::uint8_t { None, White, Black };

struct BitmapEntry {
  int id;
  int width;
  int height;
  int depth;  // 24, or 8 with a 256-entry palette
  ColourKey key = ColourKey::None;
};

struct BitmapSize {
  int width;
  int height;
  friend constexpr bool operator==(const BitmapSize&, const BitmapSize&) = default;
};

inline constexpr auto kBitmapCatalogue = std::to_array<BitmapEntry>({
    // At the window's creation: the load-game list's panel.
    {176, 305, 405, 8, ColourKey::Black},
    // Before the record files: the menu.
    {143, 1024, 768, 24},
    {148, 263, 51, 24},
    {153, 263, 51, 24},
    {147, 263, 51, 24},
    {146, 263, 51, 24},
    {145, 263, 51, 24},
    {144, 263, 51, 24},
    {150, 263, 51, 24},
    {149, 263, 51, 24},
    {152, 263, 51, 24},
    {151, 263, 51, 24},
    {154, 110, 110, 24, ColourKey::White},
    // Theme 0.
    {180, 504, 287, 24},
    {157, 1024, 768, 24},
    {158, 606, 676, 24},
    {159, 75, 36, 24, ColourKey::Black},
    {160, 75, 36, 24, ColourKey::Black},
    {161, 75, 36, 24, ColourKey::Black},
    {164, 75, 36, 24, ColourKey::Black},
    {162, 75, 36, 24, ColourKey::Black},
    {163, 270, 63, 24},
    {166, 75, 36, 24, ColourKey::Black},
    {169, 75, 36, 24, ColourKey::Black},
    {170, 75, 36, 24, ColourKey::Black},
    {155, 240, 50, 24},
    {165, 240, 50, 24},
    // Theme 1.
    {183, 528, 305, 8},
    {194, 1024, 768, 24},
    {182, 606, 676, 8},
    {187, 75, 36, 24, ColourKey::Black},
    {188, 75, 36, 24, ColourKey::Black},
    {190, 75, 36, 24, ColourKey::Black},
    {189, 75, 36, 24, ColourKey::Black},
    {191, 75, 36, 24, ColourKey::Black},
    {181, 240, 50, 8},
    {193, 240, 50, 8},
    {192, 270, 64, 8},
    {184, 75, 36, 24, ColourKey::Black},
    {185, 75, 36, 24, ColourKey::Black},
    {186, 75, 36, 24, ColourKey::Black},
    // Theme 2.
    {208, 528, 305, 8},
    {220, 1024, 768, 8},
    {207, 606, 676, 8},
    {212, 75, 36, 24, ColourKey::Black},
    {213, 75, 36, 24, ColourKey::Black},
    {215, 75, 36, 24, ColourKey::Black},
    {214, 75, 36, 24, ColourKey::Black},
    {216, 75, 36, 24, ColourKey::Black},
    {206, 240, 50, 8},
    {218, 240, 50, 8},
    {217, 270, 64, 8},
    {209, 75, 36, 24, ColourKey::Black},
    {210, 75, 36, 24, ColourKey::Black},
    {211, 75, 36, 24, ColourKey::Black},
    // Letter game: caption, congratulations, the digits of levels 1 to 5.
    {234, 341, 67, 8},
    {235, 400, 200, 8},
    {229, 86, 86, 8},
    {230, 86, 86, 8},
    {232, 86, 86, 8},
    {233, 86, 86, 8},
    {231, 86, 86, 8},
    // Load-game list.
    {177, 241, 28, 8},
    {195, 83, 25, 8},
    // About cards, loaded in this order but shown title card first.
    {171, 800, 600, 8},
    {224, 500, 250, 8},
    {226, 400, 250, 8},
    {225, 400, 250, 8},
    {228, 400, 250, 8},
    {227, 600, 250, 8},
    // Exit box.
    {238, 250, 90, 24, ColourKey::Black},
    {239, 77, 26, 24},
    {240, 77, 26, 24},
    // After the record files: records board, its marker, the name dialog's buttons, the shot.
    {243, 570, 400, 24},
    {244, 22, 22, 24, ColourKey::Black},
    {245, 93, 29, 24},
    {246, 93, 29, 24},
    {248, 93, 29, 24},
    {247, 93, 29, 24},
    {174, 15, 15, 24},
    // In the module but never loaded by the program's own code: the name dialog's face, which
    // the dialog shows itself, and a title picture no theme uses.
    {242, 320, 160, 24},
    {175, 528, 305, 24},
});

// The entries before this index are the ones the program loads.
inline constexpr std::size_t kLoadedBitmapCount = kBitmapCatalogue.size() - 2;

// The entry's index, or the catalogue's size for an id it does not hold.
constexpr std::size_t bitmapIndex(int id) {
  for (std::size_t i = 0; i < kBitmapCatalogue.size(); ++i) {
    if (kBitmapCatalogue[i].id == id) return i;
  }
  return kBitmapCatalogue.size();
}

// An id the catalogue does not hold is out of range: a compile error in a constant expression.
constexpr const BitmapEntry& bitmapEntry(int id) {
  return kBitmapCatalogue.at(bitmapIndex(id));
}

constexpr BitmapSize bitmapSize(int id) {
  const BitmapEntry& entry = bitmapEntry(id);
  return {entry.width, entry.height};
}

// Not constexpr, so that reaching it in a constant expression fails to compile.
inline void bitmapSizesDiffer() {
  std::abort();
}

// The one size of pictures that are drawn through one block.
constexpr BitmapSize commonBitmapSize(std::initializer_list<int> ids) {
  const BitmapSize size = bitmapSize(*ids.begin());
  for (int id : ids) {
    if (bitmapSize(id) != size) bitmapSizesDiffer();
  }
  return size;
}

// Bitmap files of the working directory, stretched to these sizes when loaded.
constexpr int kMenuBugFrameCount = 49;
constexpr int kMenuBugFrameWidth = 204;
constexpr int kMenuBugFrameHeight = 51;
constexpr int kLetterTileSize = 20;

}  // namespace tolvaro
