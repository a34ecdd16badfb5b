// Pictures written as PNG files, for screenshots, test pictures and the desktop icon.
#pragma once

#include <filesystem>

#include "platform/Platform.h"

namespace tolvaro {

// Writes a picture as an RGB PNG; false when the file cannot be written.
bool savePng(PixelView picture, const std::filesystem::path& path);

}  // namespace tolvaro
