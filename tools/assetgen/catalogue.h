// Every resource picture the game loads, with the size, depth and colour key it must have.
#pragma once

#include <optional>
#include <vector>

#include "image.h"

namespace tolvaro::assetgen {

struct BitmapEntry {
  int id;
  int width;
  int height;
  int depth;
  std::optional<Rgb> key;
};

const std::vector<BitmapEntry>& bitmapCatalogue();

}  // namespace tolvaro::assetgen
