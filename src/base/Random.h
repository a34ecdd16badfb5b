// The program's own pseudo-random numbers: the linear congruential generator of the C runtime
// the game was first made for, 0 to 32767, so that one seed gives the same board on every host.
#pragma once

#include <cstdint>

namespace tolvaro {

class Random {
 public:
  static constexpr int kMax = 32767;

  explicit constexpr Random(std::uint32_t seed = 1) : state_(seed) {}
  constexpr void seed(std::uint32_t seed) { state_ = seed; }
  // The next number, 0 to kMax: bits 16 to 30 of the advanced state.
  constexpr int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>(state_ >> 16 & 0x7FFFu);
  }

 private:
  std::uint32_t state_;
};

}  // namespace tolvaro
