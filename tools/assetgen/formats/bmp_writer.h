// Uncompressed bottom-up BMP files, as the game's resources and working-directory pictures are.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/image.h"
#include "formats/byte_writer.h"

namespace tolvaro::assetgen {

// Uncompressed bottom-up 24-bit BMP.
Bytes encodeBmp24(const RgbImage& image);
// Uncompressed bottom-up 8-bit BMP with a full 256-entry palette.
Bytes encodeBmp8(int width, int height, const std::vector<uint8_t>& indices,
                 const std::vector<Rgb>& palette);

}  // namespace tolvaro::assetgen
