// Shows the game's pictures in an X11 window from a thread of its own, on a display connection
// of its own, so the game's pass never waits for the picture to be scaled and sent to the X
// server: the game posts each finished picture to a mailbox and goes on.
#pragma once

#include <SDL.h>

#include <atomic>
#include <memory>
#include <thread>

#include "hosts/sdl/FrameMailbox.h"

namespace tolvaro::sdl {

class X11Presenter {
 public:
  // Null where the window is not an X11 window with a 24-bit true-colour visual, or the display
  // cannot be opened a second time; the caller then presents through SDL.
  // Makes Xlib safe for two threads; called before anything opens the display.
  static void prepareThreads();
  static std::unique_ptr<X11Presenter> open(SDL_Window* window, int pictureWidth,
                                            int pictureHeight);
  ~X11Presenter();
  X11Presenter(const X11Presenter&) = delete;
  X11Presenter& operator=(const X11Presenter&) = delete;

  // Returns at once; the picture shows as soon as the thread gets to it. Only `changed` (every
  // pixel that differs from the previous picture shown) is sent to the X server.
  void show(PixelView picture, std::span<const PixelRect> changed) {
    mailbox_.post(picture, changed);
  }
  void show(PixelView picture) { mailbox_.post(picture); }
  // The window lost its pixels (an expose): the next picture goes whole.
  void showWholeNext() { mailbox_.wantWhole(); }
  // Whether pictures travel through shared memory (MIT-SHM) rather than the connection.
  bool sharedMemory() const { return sharedMemory_.load(); }
  // Pictures shown so far (each a whole one, the newest at the time).
  long shown() const { return shown_.load(); }

 private:
  struct Connection;
  X11Presenter(std::unique_ptr<Connection> connection, int pictureWidth, int pictureHeight);
  void run();

  std::unique_ptr<Connection> connection_;
  FrameMailbox mailbox_;
  std::atomic<long> shown_{0};
  std::atomic<bool> sharedMemory_{false};
  std::thread thread_;
};

}  // namespace tolvaro::sdl
