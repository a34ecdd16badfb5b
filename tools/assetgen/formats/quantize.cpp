#include "formats/quantize.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tolvaro::assetgen {
namespace {

constexpr int kHistogramBits = 5;
constexpr int kHistogramSide = 1 << kHistogramBits;

int histogramIndex(int r, int g, int b) {
  return ((r >> 3) << (2 * kHistogramBits)) | ((g >> 3) << kHistogramBits) | (b >> 3);
}

struct Bin {
  uint64_t count = 0;
  uint64_t sumR = 0;
  uint64_t sumG = 0;
  uint64_t sumB = 0;
};

struct Box {
  std::array<int, 3> lo{};
  std::array<int, 3> hi{};  // inclusive, histogram units
  uint64_t count = 0;
};

void shrinkToContents(Box& box, const std::vector<Bin>& bins) {
  std::array<int, 3> lo{kHistogramSide, kHistogramSide, kHistogramSide};
  std::array<int, 3> hi{-1, -1, -1};
  uint64_t count = 0;
  for (int r = box.lo[0]; r <= box.hi[0]; ++r) {
    for (int g = box.lo[1]; g <= box.hi[1]; ++g) {
      for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
        const Bin& bin = bins[(r << 10) | (g << 5) | b];
        if (bin.count == 0) continue;
        count += bin.count;
        const std::array<int, 3> c{r, g, b};
        for (int axis = 0; axis < 3; ++axis) {
          lo[axis] = std::min(lo[axis], c[axis]);
          hi[axis] = std::max(hi[axis], c[axis]);
        }
      }
    }
  }
  box.count = count;
  if (count > 0) {
    box.lo = lo;
    box.hi = hi;
  }
}

// Splits at the weighted median of the longest axis; perceptual weights favour green.
bool splitBox(const Box& box, const std::vector<Bin>& bins, Box& first, Box& second) {
  static constexpr std::array<double, 3> kAxisWeight{1.0, 1.2, 0.8};
  int axis = 0;
  double best = -1;
  for (int a = 0; a < 3; ++a) {
    const double extent = (box.hi[a] - box.lo[a]) * kAxisWeight[a];
    if (extent > best) {
      best = extent;
      axis = a;
    }
  }
  if (box.hi[axis] == box.lo[axis]) return false;
  std::vector<uint64_t> slab(kHistogramSide, 0);
  for (int r = box.lo[0]; r <= box.hi[0]; ++r) {
    for (int g = box.lo[1]; g <= box.hi[1]; ++g) {
      for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
        const std::array<int, 3> c{r, g, b};
        slab[c[axis]] += bins[(r << 10) | (g << 5) | b].count;
      }
    }
  }
  uint64_t running = 0;
  int cut = box.lo[axis];
  for (int v = box.lo[axis]; v < box.hi[axis]; ++v) {
    running += slab[v];
    cut = v;
    if (running * 2 >= box.count) break;
  }
  first = box;
  second = box;
  first.hi[axis] = cut;
  second.lo[axis] = cut + 1;
  shrinkToContents(first, bins);
  shrinkToContents(second, bins);
  return first.count > 0 && second.count > 0;
}

Rgb boxMean(const Box& box, const std::vector<Bin>& bins) {
  uint64_t n = 0, r = 0, g = 0, b = 0;
  for (int ri = box.lo[0]; ri <= box.hi[0]; ++ri) {
    for (int gi = box.lo[1]; gi <= box.hi[1]; ++gi) {
      for (int bi = box.lo[2]; bi <= box.hi[2]; ++bi) {
        const Bin& bin = bins[(ri << 10) | (gi << 5) | bi];
        n += bin.count;
        r += bin.sumR;
        g += bin.sumG;
        b += bin.sumB;
      }
    }
  }
  if (n == 0) return kBlack;
  return Rgb{static_cast<uint8_t>((r + n / 2) / n), static_cast<uint8_t>((g + n / 2) / n),
             static_cast<uint8_t>((b + n / 2) / n)};
}

int distance(const Rgb& a, int r, int g, int b) {
  const int dr = a.r - r, dg = a.g - g, db = a.b - b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

IndexedImage quantize(const RgbImage& image, std::optional<Rgb> key) {
  const int width = image.width();
  const int height = image.height();
  std::vector<bool> isKey(static_cast<size_t>(width) * height, false);
  std::vector<Bin> bins(kHistogramSide * kHistogramSide * kHistogramSide);
  for (size_t i = 0; i < image.pixels().size(); ++i) {
    const Rgb& p = image.pixels()[i];
    if (key && p == *key) {
      isKey[i] = true;
      continue;
    }
    Bin& bin = bins[histogramIndex(p.r, p.g, p.b)];
    ++bin.count;
    bin.sumR += p.r;
    bin.sumG += p.g;
    bin.sumB += p.b;
  }

  const int firstFree = key ? 1 : 0;
  const int colourBudget = 256 - firstFree;
  std::vector<Box> boxes;
  Box all;
  all.hi = {kHistogramSide - 1, kHistogramSide - 1, kHistogramSide - 1};
  shrinkToContents(all, bins);
  if (all.count > 0) boxes.push_back(all);
  while (static_cast<int>(boxes.size()) < colourBudget) {
    // Split the box that carries the most pixels times its spread; ties go to the earlier box.
    int chosen = -1;
    double bestScore = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const Box& b = boxes[i];
      const int spread = std::max({b.hi[0] - b.lo[0], b.hi[1] - b.lo[1], b.hi[2] - b.lo[2]});
      if (spread == 0) continue;
      const double score = std::sqrt(static_cast<double>(b.count)) * spread;
      if (score > bestScore) {
        bestScore = score;
        chosen = static_cast<int>(i);
      }
    }
    if (chosen < 0) break;
    Box first, second;
    if (!splitBox(boxes[chosen], bins, first, second)) break;
    boxes[chosen] = first;
    boxes.push_back(second);
  }

  IndexedImage result;
  result.width = width;
  result.height = height;
  result.palette.assign(256, kBlack);
  if (key) result.palette[0] = *key;
  std::vector<Rgb> usable;
  for (const Box& box : boxes) {
    Rgb mean = boxMean(box, bins);
    if (key && mean == *key) mean.r = static_cast<uint8_t>(mean.r < 128 ? mean.r + 1 : mean.r - 1);
    usable.push_back(mean);
  }
  for (size_t i = 0; i < usable.size(); ++i) result.palette[firstFree + i] = usable[i];
  // Unused slots repeat the last colour so that no stray palette entry equals the key.
  const Rgb filler = usable.empty() ? Rgb{1, 1, 1} : usable.back();
  for (size_t i = firstFree + usable.size(); i < 256; ++i) result.palette[i] = filler;

  // Nearest-colour lookups, cached per 6-bit-per-channel cell.
  std::vector<int16_t> cache(1 << 18, -1);
  auto nearest = [&](int r, int g, int b) -> uint8_t {
    const int cell = ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
    if (cache[cell] >= 0) return static_cast<uint8_t>(cache[cell]);
    const int cr = (r & ~3) | 2, cg = (g & ~3) | 2, cb = (b & ~3) | 2;
    int bestIndex = firstFree;
    int bestDistance = INT32_MAX;
    for (size_t i = 0; i < usable.size(); ++i) {
      const int d = distance(usable[i], cr, cg, cb);
      if (d < bestDistance) {
        bestDistance = d;
        bestIndex = static_cast<int>(firstFree + i);
      }
    }
    cache[cell] = static_cast<int16_t>(bestIndex);
    return static_cast<uint8_t>(bestIndex);
  };

  // Floyd-Steinberg at reduced strength: smooth gradients without speckling flat areas.
  constexpr double kDitherStrength = 0.75;
  result.indices.assign(static_cast<size_t>(width) * height, 0);
  std::vector<std::array<double, 3>> errorRow(width + 2), nextErrorRow(width + 2);
  for (int y = 0; y < height; ++y) {
    std::fill(nextErrorRow.begin(), nextErrorRow.end(), std::array<double, 3>{0, 0, 0});
    for (int x = 0; x < width; ++x) {
      const size_t at = static_cast<size_t>(y) * width + x;
      if (isKey[at]) {
        result.indices[at] = 0;
        continue;
      }
      const Rgb& p = image.pixels()[at];
      const std::array<double, 3> wanted{p.r + errorRow[x + 1][0], p.g + errorRow[x + 1][1],
                                         p.b + errorRow[x + 1][2]};
      const int r = std::clamp(static_cast<int>(std::lround(wanted[0])), 0, 255);
      const int g = std::clamp(static_cast<int>(std::lround(wanted[1])), 0, 255);
      const int b = std::clamp(static_cast<int>(std::lround(wanted[2])), 0, 255);
      const uint8_t index = usable.empty() ? 0 : nearest(r, g, b);
      result.indices[at] = index;
      const Rgb& got = result.palette[index];
      const std::array<double, 3> error{(wanted[0] - got.r) * kDitherStrength,
                                        (wanted[1] - got.g) * kDitherStrength,
                                        (wanted[2] - got.b) * kDitherStrength};
      for (int c = 0; c < 3; ++c) {
        errorRow[x + 2][c] += error[c] * 7 / 16;
        nextErrorRow[x][c] += error[c] * 3 / 16;
        nextErrorRow[x + 1][c] += error[c] * 5 / 16;
        nextErrorRow[x + 2][c] += error[c] * 1 / 16;
      }
    }
    std::swap(errorRow, nextErrorRow);
  }
  return result;
}

}  // namespace tolvaro::assetgen
