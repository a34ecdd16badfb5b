#include "hosts/shared/PolledHost.h"

#include <ctime>

namespace tolvaro::hosts {

bool PolledHost::nextEvent(Event& event) {
  if (quitCode_) {
    event = {EventType::Quit, static_cast<std::uint32_t>(*quitCode_), 0};
    quitCode_.reset();
    return true;
  }
  if (pollEvent(event)) return true;
  const std::optional<int> due = timers_.takeDue(nowMs());
  if (!due) return false;
  event = {EventType::Timer, static_cast<std::uint32_t>(*due), 0};
  return true;
}

void PolledHost::setTimer(int timerId, int milliseconds) {
  timers_.set(timerId, milliseconds, nowMs());
}

std::int64_t PolledHost::currentTime() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace tolvaro::hosts
