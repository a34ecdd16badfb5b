#include "hosts/shared/FramePacer.h"

#include <cstdlib>
#include <fstream>

namespace tolvaro::hosts {
namespace {

// Over an hour of frames at the game's pace; a run that goes on longer logs no more.
constexpr std::size_t kFrameLogCapacity = 1 << 20;

std::uint32_t microseconds(FramePacer::Clock::duration d) {
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(d).count());
}

}  // namespace

std::filesystem::path frameLogFromEnvironment() {
  const char* path = std::getenv("TOLVARO_FRAME_LOG");
  return path ? std::filesystem::path(path) : std::filesystem::path();
}

FramePacer::FramePacer(std::filesystem::path frameLog) : frameLog_(std::move(frameLog)) {
  if (!frameLog_.empty()) frameLogLines_.reserve(2 * 4096);
}

FramePacer::~FramePacer() {
  if (frameLog_.empty()) return;
  std::ofstream out(frameLog_);
  for (std::size_t i = 0; i + 1 < frameLogLines_.size(); i += 2) {
    out << frameLogLines_[i] << ' ' << frameLogLines_[i + 1] << '\n';
  }
}

void FramePacer::presentBegins(Clock::time_point start) {
  sincePreviousPresent_ = presentedOnce_ ? start - lastPresentStart_ : Clock::duration::zero();
  lastPresentStart_ = start;
  presentedOnce_ = true;
  sleepFollowsPresent_ = true;
}

void FramePacer::presentEnds(Clock::time_point end) {
  if (frameLog_.empty() || frameLogLines_.size() + 2 > kFrameLogCapacity) return;
  frameLogLines_.push_back(microseconds(sincePreviousPresent_));
  frameLogLines_.push_back(microseconds(end - lastPresentStart_));
}

FramePacer::Clock::time_point FramePacer::sleepEnd(int milliseconds, Clock::time_point now) {
  if (milliseconds <= 0) return now;
  const Clock::time_point from = sleepFollowsPresent_ ? lastPresentStart_ : now;
  sleepFollowsPresent_ = false;
  return from + std::chrono::milliseconds(milliseconds);
}

}  // namespace tolvaro::hosts
