// The game's timers for a host that has none to lend: each fires every interval and, as
// WM_TIMER, ticks missed while the game was busy do not pile up.
#pragma once

#include <map>
#include <optional>

namespace tolvaro::hosts {

class TimerTable {
 public:
  // Starts or restarts timer `id`, first due an interval after `nowMs`; below 1 ms counts as 1.
  void set(int id, int intervalMs, double nowMs);
  void kill(int id) { timers_.erase(id); }
  bool running(int id) const { return timers_.contains(id); }
  // A timer due at `nowMs`, the lowest id first, with its next tick moved past `nowMs`: one
  // event however many ticks were missed.
  std::optional<int> takeDue(double nowMs);

 private:
  struct Timer {
    int intervalMs;
    double dueMs;
  };
  std::map<int, Timer> timers_;
};

}  // namespace tolvaro::hosts
