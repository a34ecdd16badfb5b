// The game's pace on the desktop: the sleep that follows a present counts from the present's
// start, so the time the picture takes to reach the screen does not slow the game down (up to
// the sleep's length). With a frame log (TOLVARO_FRAME_LOG, for the pacing tests) each present
// adds a line of two numbers in microseconds: the interval since the previous present began (0
// for the first) and what the present itself took. The file is written when the pacer goes.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace tolvaro::hosts {

// The frame log the environment asks for (TOLVARO_FRAME_LOG); empty for none.
std::filesystem::path frameLogFromEnvironment();

class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit FramePacer(std::filesystem::path frameLog = {});
  ~FramePacer();
  FramePacer(const FramePacer&) = delete;
  FramePacer& operator=(const FramePacer&) = delete;

  void presentBegins(Clock::time_point start);
  // Logs the present that began last.
  void presentEnds(Clock::time_point end);
  // When a sleep of `milliseconds` asked for at `now` ends: from the start of the present just
  // before it, or else from `now`.
  Clock::time_point sleepEnd(int milliseconds, Clock::time_point now);

 private:
  std::filesystem::path frameLog_;
  std::vector<std::uint32_t> frameLogLines_;  // pairs: interval, present cost
  Clock::time_point lastPresentStart_;
  Clock::duration sincePreviousPresent_{};
  bool presentedOnce_ = false;
  bool sleepFollowsPresent_ = false;
};

}  // namespace tolvaro::hosts
