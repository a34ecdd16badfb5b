// Feeds arbitrary bytes to the bitmap decoder, as the program meets bitmap files and resource
// bitmaps: any bytes give a picture or none, never a read outside them. A decoded picture has
// the size its header gives.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const tolvaro::Picture picture = tolvaro::decodeBitmap(bytes);
  const auto info = tolvaro::readBitmapInfo(bytes);
  if (!picture.empty()) {
    if (!info || info->width != picture.width || info->height != picture.height ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
      std::abort();
    }
  }
  return 0;
}
