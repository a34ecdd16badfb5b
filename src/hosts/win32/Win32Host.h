// The game on Windows: one pop-up window covering its monitor, drawn by the presenter's thread
// (the frame scaled to fit, black bars around it), PlaySoundA on the module's WAVE resources and
// the name-entry dialog of template 241 over the picture.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "hosts/shared/FramePacer.h"
#include "hosts/shared/Letterbox.h"
#include "hosts/win32/KeyboardGuard.h"
#include "platform/Platform.h"

namespace tolvaro {

class WindowPresenter;

inline HINSTANCE g_appInstance = nullptr;
inline HWND g_mainWindow = nullptr;

inline constexpr char kWindowClassName[] = "WINCLASS1";

class Win32Host : public Platform {
 public:
  explicit Win32Host(HINSTANCE instance);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  bool registerWindowClass(const std::string& cursorFile, int iconId) override;
  bool createMainWindow(const std::string& title, int width, int height) override;
  bool nextEvent(Event& event) override;
  void postQuit(int exitCode) override;
  void present(PixelView backBuffer) override;
  void presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) override;
  std::vector<std::uint8_t> loadResource(ResourceType type, int id) override;
  void playSound(int waveId, SoundMode mode) override;
  void setTimer(int timerId, int milliseconds) override;
  void killTimer(int timerId) override;
  void sleep(int milliseconds) override;
  std::int64_t currentTime() override;
  std::intptr_t runModalDialog(int templateId, int faceBitmapId,
                               DialogProcedure procedure) override;

  // Releases the window's DC, as the program does after its main loop.
  void releaseWindow();

 private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Hands a message of the main window to the game: queued for nextEvent, or straight to the
  // game's window logic while a modal dialog runs its own loop.
  void deliver(const Event& event);
  // A mouse message in window pixels: moves on the bars are off the picture and clicks there
  // land on no part of the game, as outside a 1024 x 768 window; the rest go on in picture pixels.
  void deliverMouse(EventType type, WPARAM wParam, LPARAM lParam);
  // Puts the window back over the whole of its monitor, wherever a display change, a new scale
  // or a trip away from the game has left it.
  void coverMonitor();

  HDC windowDC_ = nullptr;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  hosts::Letterbox letterbox_{1, 1, 1, 1};
  std::unique_ptr<WindowPresenter> presenter_;
  PixelView lastPresented_{};
  std::deque<Event> pending_;
  int modalDepth_ = 0;
  hosts::FramePacer pacer_{hosts::frameLogFromEnvironment()};
  KeyboardGuard keyboardGuard_;
};

// The header of a top-down 32-bit DIB of the game's 0x00RRGGBB pixels.
BITMAPINFO topDownInfo(int width, int height);

// Converts between the game's GBK text and UTF-16, the text of a Unicode edit box.
std::wstring wideFromGbk(std::string_view gbk);
std::string gbkFromWide(std::wstring_view wide);

}  // namespace tolvaro
