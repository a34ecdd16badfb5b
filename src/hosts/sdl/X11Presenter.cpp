#include "hosts/sdl/X11Presenter.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

#include "hosts/shared/Scaler.h"

namespace tolvaro::sdl {

struct X11Presenter::Connection {
  Display* display = nullptr;
  ::Window window = 0;
  Visual* visual = nullptr;
  int depth = 0;
  GC gc = nullptr;

  ~Connection() {
    if (gc) XFreeGC(display, gc);
    if (display) XCloseDisplay(display);
  }
};

void X11Presenter::prepareThreads() {
  static const bool once = XInitThreads() != 0;
  (void)once;
}

std::unique_ptr<X11Presenter> X11Presenter::open(SDL_Window* window, int pictureWidth,
                                                 int pictureHeight) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  auto connection = std::make_unique<Connection>();
  connection->display = XOpenDisplay(DisplayString(info.info.x11.display));
  if (!connection->display) return nullptr;
  connection->window = info.info.x11.window;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(connection->display, connection->window, &attributes)) return nullptr;
  // The game's 0x00RRGGBB pixels are this visual's pixels as they stand.
  const Visual* visual = attributes.visual;
  if (attributes.depth != 24 || visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 ||
      visual->blue_mask != 0xFF) {
    return nullptr;
  }
  connection->visual = attributes.visual;
  connection->depth = attributes.depth;
  connection->gc = XCreateGC(connection->display, connection->window, 0, nullptr);
  if (!connection->gc) return nullptr;
  return std::unique_ptr<X11Presenter>(
      new X11Presenter(std::move(connection), pictureWidth, pictureHeight));
}

X11Presenter::X11Presenter(std::unique_ptr<Connection> connection, int pictureWidth,
                           int pictureHeight)
    : connection_(std::move(connection)), mailbox_(pictureWidth, pictureHeight) {
  thread_ = std::thread([this] { run(); });
}

X11Presenter::~X11Presenter() {
  mailbox_.close();
  if (thread_.joinable()) thread_.join();
}

void X11Presenter::run() {
  Display* display = connection_->display;
  std::vector<std::uint32_t> picture(static_cast<std::size_t>(mailbox_.width()) *
                                     mailbox_.height());
  std::vector<std::uint32_t> windowPixels;
  int windowWidth = 0, windowHeight = 0;
  XImage* image = nullptr;
  while (mailbox_.take(picture)) {
    ::Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(display, connection_->window, &root, &x, &y, &width, &height, &border,
                      &depth)) {
      continue;
    }
    if (static_cast<int>(width) != windowWidth || static_cast<int>(height) != windowHeight) {
      if (image) {
        image->data = nullptr;  // the pixels are the vector's
        XDestroyImage(image);
      }
      windowWidth = static_cast<int>(width);
      windowHeight = static_cast<int>(height);
      windowPixels.assign(static_cast<std::size_t>(windowWidth) * windowHeight, 0);
      image = XCreateImage(display, connection_->visual, static_cast<unsigned>(connection_->depth),
                           ZPixmap, 0, reinterpret_cast<char*>(windowPixels.data()), width,
                           height, 32, windowWidth * 4);
    }
    if (!image) continue;
    const hosts::Letterbox box(mailbox_.width(), mailbox_.height(), windowWidth, windowHeight);
    hosts::scaleInto({picture.data(), mailbox_.width(), mailbox_.height()}, windowPixels.data(),
                     windowWidth, windowHeight, box.picture());
    XPutImage(display, connection_->window, connection_->gc, image, 0, 0, 0, 0, width, height);
    // Waits until the server has it: the next picture is never sent before this one is shown.
    XSync(display, False);
    shown_.fetch_add(1);
  }
  if (image) {
    image->data = nullptr;
    XDestroyImage(image);
  }
}

}  // namespace tolvaro::sdl
