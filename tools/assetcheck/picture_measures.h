// Measures of pictures for the asset tests: colours, regions grown over neighbouring pixels, how
// a picture joins the one beside it, and how legible a letter tile is. Pixels are 0x00RRGGBB, as
// the game decodes them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <queue>
#include <utility>
#include <vector>

#include "base/Picture.h"

namespace tolvaro::assetcheck {

inline int red(std::uint32_t p) {
  return p >> 16 & 0xFF;
}
inline int green(std::uint32_t p) {
  return p >> 8 & 0xFF;
}
inline int blue(std::uint32_t p) {
  return p & 0xFF;
}
inline int luminance(std::uint32_t p) {
  return (red(p) * 299 + green(p) * 587 + blue(p) * 114) / 1000;
}
inline int channelGap(std::uint32_t a, std::uint32_t b) {
  return std::max(
      {std::abs(red(a) - red(b)), std::abs(green(a) - green(b)), std::abs(blue(a) - blue(b))});
}

// WCAG relative luminance.
inline double relativeLuminance(std::uint32_t p) {
  const auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(red(p)) + 0.7152 * linear(green(p)) + 0.0722 * linear(blue(p));
}

inline int countColour(const Picture& p, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) count += p.at(x, y) == colour;
  }
  return count;
}

inline double meanLuminance(const Picture& p, int x0, int y0, int w, int h, int* darkest) {
  long sum = 0;
  *darkest = 255;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      sum += luminance(p.at(x, y));
      *darkest = std::min(*darkest, luminance(p.at(x, y)));
    }
  }
  return static_cast<double>(sum) / (w * h);
}

// Grows a region from (x, y) over the neighbours (diagonal ones too, if asked) for which
// `joins(x, y)` holds, marking them in `seen`; returns its size.
template <typename Joins>
inline int grow(const Picture& p, int x, int y, std::vector<bool>& seen, bool diagonal,
                Joins joins) {
  std::queue<std::pair<int, int>> open;
  int size = 0;
  const auto visit = [&](int vx, int vy) {
    if (vx < 0 || vy < 0 || vx >= p.width || vy >= p.height) return;
    const auto i = static_cast<std::size_t>(vy) * p.width + vx;
    if (seen[i] || !joins(vx, vy)) return;
    seen[i] = true;
    open.push({vx, vy});
  };
  visit(x, y);
  while (!open.empty()) {
    const auto [cx, cy] = open.front();
    open.pop();
    ++size;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if ((dx == 0) != (dy == 0) || (diagonal && (dx != 0 || dy != 0))) visit(cx + dx, cy + dy);
      }
    }
  }
  return size;
}

// Key pixels not joined to the border through other key pixels: holes a colour-keyed copy
// would punch into the shape.
inline int keyHoles(const Picture& p, std::uint32_t key) {
  std::vector<bool> seen(p.pixels.size(), false);
  const auto isKey = [&](int x, int y) { return p.at(x, y) == key; };
  for (int x = 0; x < p.width; ++x) {
    grow(p, x, 0, seen, false, isKey);
    grow(p, x, p.height - 1, seen, false, isKey);
  }
  for (int y = 0; y < p.height; ++y) {
    grow(p, 0, y, seen, false, isKey);
    grow(p, p.width - 1, y, seen, false, isKey);
  }
  int holes = 0;
  for (std::size_t i = 0; i < p.pixels.size(); ++i) holes += p.pixels[i] == key && !seen[i];
  return holes;
}

// The largest region of one exact colour, 4-connected, among the pixels not `covered(x, y)`.
template <typename Covered>
inline int largestFlatPatch(const Picture& p, Covered covered) {
  std::vector<bool> seen(p.pixels.size(), false);
  int largest = 0;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (covered(x, y) || seen[static_cast<std::size_t>(y) * p.width + x]) continue;
      const std::uint32_t colour = p.at(x, y);
      largest = std::max(largest, grow(p, x, y, seen, false, [&](int gx, int gy) {
                           return p.at(gx, gy) == colour && !covered(gx, gy);
                         }));
    }
  }
  return largest;
}

// How far a title picture's last column and last row step into the frame panel just beyond them
// on the screen, over the step the panel makes there itself: the largest channel gap of each.
// `title` lies at (ox, oy) on `frame`.
inline std::pair<int, int> titleSeam(const Picture& title, const Picture& frame, int ox, int oy) {
  const int w = title.width, h = title.height;
  int right = 0, bottom = 0;
  for (int y = 0; y < h; ++y) {
    const std::uint32_t beyond = frame.at(ox + w, oy + y);
    right = std::max(right, channelGap(title.at(w - 1, y), beyond) -
                                channelGap(frame.at(ox + w - 1, oy + y), beyond));
  }
  for (int x = 0; x < w; ++x) {
    const std::uint32_t beyond = frame.at(ox + x, oy + h);
    bottom = std::max(bottom, channelGap(title.at(x, h - 1), beyond) -
                                  channelGap(frame.at(ox + x, oy + h - 1), beyond));
  }
  return {right, bottom};
}

// The letter on a tile: its ink is the commonest colour among the darker pixels of the tile's
// middle, grown over the touching pixels of that colour; behind it is the median luminance of
// the light pixels around the ink (within 2 pixels of its box, not touching the ink, so that
// neither edge smoothing nor dark outlines count). Contrast is the WCAG ratio of the two.
struct TileLetter {
  int inkPixels = 0, height = 0;
  double contrast = 0;
  std::uint32_t ink = 0;
};

inline TileLetter tileLetter(const Picture& tile) {
  TileLetter letter;
  double middle = 0;
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x) middle += relativeLuminance(tile.at(x, y));
  }
  std::map<std::uint32_t, int> darkCounts;
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x) {
      if (relativeLuminance(tile.at(x, y)) < middle / 64) ++darkCounts[tile.at(x, y)];
    }
  }
  if (darkCounts.empty()) return letter;
  letter.ink = std::max_element(darkCounts.begin(), darkCounts.end(), [](auto& a, auto& b) {
                 return a.second < b.second;
               })->first;
  std::vector<bool> inLetter(tile.pixels.size(), false);
  for (int y = 6; y < 14; ++y) {
    for (int x = 6; x < 14; ++x) {
      letter.inkPixels += grow(tile, x, y, inLetter, true,
                               [&](int gx, int gy) { return tile.at(gx, gy) == letter.ink; });
    }
  }
  int x0 = tile.width, y0 = tile.height, x1 = -1, y1 = -1;
  for (int y = 0; y < tile.height; ++y) {
    for (int x = 0; x < tile.width; ++x) {
      if (inLetter[static_cast<std::size_t>(y) * tile.width + x])
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  letter.height = y1 - y0 + 1;
  const auto touchesInk = [&](int x, int y) {
    for (int ny = std::max(0, y - 1); ny <= std::min(tile.height - 1, y + 1); ++ny) {
      for (int nx = std::max(0, x - 1); nx <= std::min(tile.width - 1, x + 1); ++nx)
        if (inLetter[static_cast<std::size_t>(ny) * tile.width + nx]) return true;
    }
    return false;
  };
  std::vector<double> around;
  for (int y = std::max(0, y0 - 2); y <= std::min(tile.height - 1, y1 + 2); ++y) {
    for (int x = std::max(0, x0 - 2); x <= std::min(tile.width - 1, x1 + 2); ++x)
      if (!touchesInk(x, y)) around.push_back(relativeLuminance(tile.at(x, y)));
  }
  if (around.empty()) return letter;
  const double inkLuminance = relativeLuminance(letter.ink);
  const double lightest = *std::max_element(around.begin(), around.end());
  std::vector<double> behind;
  for (const double l : around)
    if (l > (lightest + inkLuminance) / 2) behind.push_back(l);
  if (behind.empty()) return letter;
  std::nth_element(behind.begin(), behind.begin() + behind.size() / 2, behind.end());
  letter.contrast = (behind[behind.size() / 2] + 0.05) / (inkLuminance + 0.05);
  return letter;
}

}  // namespace tolvaro::assetcheck
