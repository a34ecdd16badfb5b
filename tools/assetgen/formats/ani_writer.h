// Animated cursors (ANI): RIFF "ACON" of cursor frames.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/icon_writer.h"

namespace tolvaro::assetgen {

// RIFF "ACON" with anih, LIST/fram of icon chunks, rate and seq.
Bytes encodeAnimatedCursor(const std::vector<CursorFrame>& frames,
                           const std::vector<uint32_t>& rates,
                           const std::vector<uint32_t>& sequence);

}  // namespace tolvaro::assetgen
