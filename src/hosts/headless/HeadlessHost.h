// A host without a window for tests and tools: events come from a script, everything the game
// asks of the host is recorded, time is virtual, and the back buffer can be read and saved.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Picture.h"
#include "base/Png.h"
#include "hosts/shared/SoundLengths.h"
#include "hosts/shared/TimerTable.h"
#include "platform/Platform.h"

namespace tolvaro {

struct SoundCall {
  int id;
  SoundMode mode;
  bool operator==(const SoundCall&) const = default;
};

struct TimerCall {
  bool set;  // false: kill
  int id;
  int milliseconds;
  bool operator==(const TimerCall&) const = default;
};

struct ResourceRequest {
  ResourceType type;
  int id;
  bool operator==(const ResourceRequest&) const = default;
};

// One step of a scripted name-entry dialog: a message to the dialog procedure, text typed
// into the name box (which replaces what the box holds), or a look at the world while the
// dialog is open.
struct DialogStep {
  std::optional<DialogMessage> message;
  std::optional<std::string> typedText;
  std::function<void()> whileOpen;

  static DialogStep type(std::string gbk) { return {std::nullopt, std::move(gbk), {}}; }
  static DialogStep send(DialogMessageType t, std::uint32_t w = 0, std::uint32_t l = 0) {
    return {DialogMessage{t, w, l}, std::nullopt, {}};
  }
  static DialogStep look(std::function<void()> look) {
    return {std::nullopt, std::nullopt, std::move(look)};
  }
  static DialogStep moveTo(int x, int y) {
    return send(DialogMessageType::MouseMove, 0, packPosition(x, y));
  }
};

struct DialogRun {
  int templateId = 0;
  int faceBitmapId = 0;
  std::string finalText;  // what the name box held when the dialog ended
  std::intptr_t result = 0;
  bool endedByScript = false;  // false when the script ran out and the host pressed Esc
  Picture face;                // the dialog's client area after the last step
};

class HeadlessHost : public Platform {
 public:
  // `resourceDir` is the generated tree (bitmap/, wave/, icon/, glyphs/).
  explicit HeadlessHost(std::filesystem::path resourceDir);

  // Scripted input.
  void push(Event event) { events_.push_back(event); }
  void pushKey(std::uint32_t code) { push({EventType::KeyDown, code, 0}); }
  void pushMove(int x, int y) { push({EventType::MouseMove, 0, packPosition(x, y)}); }
  void pushLeftDown(int x = 0, int y = 0) {
    push({EventType::LeftButtonDown, kLeftButtonFlag, packPosition(x, y)});
  }
  void pushTimer(int id = 0) { push({EventType::Timer, static_cast<std::uint32_t>(id), 0}); }
  void pushClose() { push({EventType::CloseRequest, 0, 0}); }
  std::size_t pendingEvents() const { return events_.size(); }
  void queueDialog(std::vector<DialogStep> steps) { dialogScripts_.push_back(std::move(steps)); }

  // Failure injection and the clock.
  bool failRegisterClass = false;
  bool failCreateWindow = false;
  std::int64_t clockSeconds = 1'700'000'000;
  // Called after every present, with the presented picture.
  std::function<void(PixelView)> onPresent;

  // What the game did.
  std::vector<SoundCall> sounds;
  std::vector<TimerCall> timerCalls;
  std::vector<ResourceRequest> resourceRequests;
  std::vector<DialogRun> dialogs;
  std::string cursorFile;
  int iconId = 0;
  std::string windowTitle;
  int windowWidth = 0, windowHeight = 0;
  bool windowCreated = false;
  int presents = 0;
  PixelView lastPresented;  // the game's back buffer as it was last presented
  // The changed rectangles of the last present, and the picture built from the changes alone.
  std::vector<PixelRect> lastChanges;
  const Picture& shownChanges() const { return shownChanges_; }
  int sleeps = 0;
  int eventsTaken = 0;
  std::int64_t virtualMs = 0;  // sleeps plus blocking sounds
  bool timerRunning(int id) const { return timers_.running(id); }

  // Platform.
  bool registerWindowClass(const std::string& cursorFile, int iconId) override;
  bool createMainWindow(const std::string& title, int width, int height) override;
  bool nextEvent(Event& event) override;
  void postQuit(int exitCode) override { quitCode_ = exitCode; }
  void present(PixelView backBuffer) override;
  void presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) override;
  std::vector<std::uint8_t> loadResource(ResourceType type, int id) override;
  void playSound(int waveId, SoundMode mode) override;
  void setTimer(int timerId, int milliseconds) override;
  void killTimer(int timerId) override;
  void sleep(int milliseconds) override;
  std::int64_t currentTime() override { return clockSeconds; }
  std::intptr_t runModalDialog(int templateId, int faceBitmapId,
                               DialogProcedure procedure) override;

  std::filesystem::path resourcePath(ResourceType type, int id) const;

 private:
  std::filesystem::path resourceDir_;
  std::deque<Event> events_;
  std::deque<std::vector<DialogStep>> dialogScripts_;
  std::optional<int> quitCode_;
  hosts::TimerTable timers_;
  hosts::SoundLengths soundLengths_;
  Picture shownChanges_;
};

}  // namespace tolvaro
