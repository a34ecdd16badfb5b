#include "hosts/shared/TimerTable.h"

#include <algorithm>

namespace tolvaro::hosts {

void TimerTable::set(int id, int intervalMs, double nowMs) {
  const int interval = std::max(intervalMs, 1);
  timers_[id] = {interval, nowMs + interval};
}

std::optional<int> TimerTable::takeDue(double nowMs) {
  for (auto& [id, timer] : timers_) {
    if (timer.dueMs > nowMs) continue;
    while (timer.dueMs <= nowMs) timer.dueMs += timer.intervalMs;
    return id;
  }
  return std::nullopt;
}

}  // namespace tolvaro::hosts
