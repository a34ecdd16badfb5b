// Fits the game's picture into a window's pixels: bilinear where it is scaled, a plain copy
// where it is not, black around it.
#pragma once

#include <cstdint>

#include "hosts/shared/Letterbox.h"
#include "platform/Platform.h"

namespace tolvaro::hosts {

// `window` holds windowWidth x windowHeight pixels, rows top to bottom without padding; the
// picture fills `target` (within the window), everything else is black.
void scaleInto(PixelView picture, std::uint32_t* window, int windowWidth, int windowHeight,
               Rect target);

// After the picture changed within `changed` (picture coordinates), makes the window pixels
// that depend on it, as scaleInto would make them, and returns that part of the window.
Rect scaleChanged(PixelView picture, std::uint32_t* window, int windowWidth, Rect target,
                  Rect changed);

}  // namespace tolvaro::hosts
