// A host that polls its own events and keeps the game's timers itself (the SDL and web hosts):
// a posted quit comes first, then the host's own events, then a due timer. The clock is the
// system's calendar clock.
#pragma once

#include <cstdint>
#include <optional>

#include "hosts/shared/TimerTable.h"
#include "platform/Platform.h"

namespace tolvaro::hosts {

class PolledHost : public Platform {
 public:
  bool nextEvent(Event& event) override;
  void postQuit(int exitCode) override { quitCode_ = exitCode; }
  void setTimer(int timerId, int milliseconds) override;
  void killTimer(int timerId) override { timers_.kill(timerId); }
  std::int64_t currentTime() override;

 protected:
  // The host's next event the game has a use for; false when there is none now.
  virtual bool pollEvent(Event& event) = 0;
  // The timers' clock: milliseconds that only go forward.
  virtual double nowMs() = 0;

 private:
  std::optional<int> quitCode_;
  TimerTable timers_;
};

}  // namespace tolvaro::hosts
