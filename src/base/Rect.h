// An axis-aligned rectangle of screen or dialog pixels, for hot zones and the like.
#pragma once

namespace tolvaro {

// Whether a point lying exactly on an edge counts as inside. The screens were laid out with
// both senses, and a pixel's difference decides whether a click lands, so every rectangle
// states its own.
enum class Edges { Inclusive, Exclusive };

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;   // the edge itself, not one past it
  int bottom = 0;  // likewise
  Edges edges = Edges::Inclusive;

  // Inclusive edges: left <= x <= right. Exclusive edges: left < x < right.
  constexpr bool containsX(int x) const {
    return edges == Edges::Inclusive ? left <= x && x <= right : left < x && x < right;
  }
  constexpr bool containsY(int y) const {
    return edges == Edges::Inclusive ? top <= y && y <= bottom : top < y && y < bottom;
  }
  constexpr bool contains(int x, int y) const { return containsX(x) && containsY(y); }
};

// A rectangle given by its corner and size whose edges, both exclusive, are the block's first
// and one-past-last pixel: left < x < left + width.
constexpr Rect openBlock(int left, int top, int width, int height) {
  return {left, top, left + width, top + height, Edges::Exclusive};
}

}  // namespace tolvaro
