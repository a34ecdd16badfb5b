// The host of the web page. The picture goes to a canvas, input and sound come from the page's
// script (page.js), which this host calls through a handful of small JavaScript functions.
// The game's blocking loop runs as it is: every sleep hands the browser its turn (Asyncify).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hosts/shared/PolledHost.h"
#include "hosts/shared/SoundLengths.h"
#include "platform/Platform.h"

namespace tolvaro::web {

class WebHost : public hosts::PolledHost, private DialogWindow {
 public:
  WebHost();

  bool registerWindowClass(const std::string& cursorFile, int iconId) override;
  bool createMainWindow(const std::string& title, int width, int height) override;
  void present(PixelView backBuffer) override;
  void presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) override;
  std::vector<std::uint8_t> loadResource(ResourceType type, int id) override;
  void playSound(int waveId, SoundMode mode) override;
  void sleep(int milliseconds) override;
  std::intptr_t runModalDialog(int templateId, int faceBitmapId,
                               DialogProcedure procedure) override;

  // The page is going away: the open dialog is closed as Esc closes it, then the game is told
  // the window was closed, which saves the record files. Runs while the game sleeps.
  void closeNow();

 private:
  bool pollEvent(Event& event) override;
  double nowMs() override;

  // DialogWindow, for the game's dialog procedure.
  std::string itemText(int controlId) override;
  void setItemText(int controlId, std::string_view gbk) override;
  void drawPicture(PixelView picture, int x, int y) override;
  void end(std::intptr_t result) override;

  // Sleeps until the clock reads `untilMs`, giving the browser its turn at least once.
  void sleepUntil(double untilMs);
  std::vector<std::uint8_t>& wave(int waveId);

  std::vector<std::uint32_t> rgba_;  // the picture as the canvas takes it
  std::map<int, std::vector<std::uint8_t>> waves_;
  hosts::SoundLengths soundLengths_;
  // The 10 ms pass: each sleep ends 10 ms after the previous one ended, when drawing allows.
  double wakeMs_ = 0;
  bool closed_ = false;
  bool lettersShown_ = false;  // what the page was last told of gameTakesLetters()

  DialogProcedure dialogProcedure_ = nullptr;
  bool dialogEnded_ = false;
  std::intptr_t dialogResult_ = 0;
};

}  // namespace tolvaro::web
