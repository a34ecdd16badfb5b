// The about slideshow: six cards behind a withdrawing and returning curtain.
#pragma once

#include <cstdint>

#include "base/Picture.h"

namespace tolvaro {

// One card of the slideshow. The block is one pixel wider and taller than the card's picture.
struct AboutCard {
  std::int32_t width;
  std::int32_t height;
  std::int32_t x;
  std::int32_t y;
  std::int32_t revealing;  // 1 while the curtain withdraws, 0 while it comes back
};

constexpr int kAboutCardCount = 6;

// A solid brush: made once before the window exists, deleted by the shutdown. A deleted brush
// fills nothing.
struct SolidBrush {
  std::uint32_t colour = kBlack;
  bool live = false;
};

// The slideshow's state; resetAboutState() gives the start values.
inline AboutCard g_aboutCards[kAboutCardCount] = {};
inline std::int32_t g_aboutStep = 0;     // card being shown, 0..5
inline std::int32_t g_aboutCurtain = 0;  // x of the curtain's right edge
inline SolidBrush g_blackBrush;

void aboutFrame();
void aboutEscape();
void resetAboutState();
void deleteBlackBrush();

}  // namespace tolvaro
