#include "hosts/sdl/X11Presenter.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>
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

namespace {

// The window's pixels, in a shared memory segment the X server reads itself where it offers
// MIT-SHM on this machine, else in plain memory sent over the connection.
class WindowImage {
 public:
  WindowImage(Display* display, Visual* visual, int depth)
      : display_(display), visual_(visual), depth_(depth) {
    segment_.shmid = -1;
  }
  ~WindowImage() { release(); }
  WindowImage(const WindowImage&) = delete;
  WindowImage& operator=(const WindowImage&) = delete;

  // False when no image could be made.
  bool resize(int width, int height) {
    release();
    width_ = width;
    height_ = height;
    if (!makeShared()) makePlain();
    return image_ != nullptr;
  }
  std::uint32_t* pixels() { return reinterpret_cast<std::uint32_t*>(image_->data); }
  bool shared() const { return shared_; }
  void put(::Window window, GC gc, hosts::Rect rect) {
    if (rect.w <= 0 || rect.h <= 0) return;
    if (shared_) {
      XShmPutImage(display_, window, gc, image_, rect.x, rect.y, rect.x, rect.y,
                   static_cast<unsigned>(rect.w), static_cast<unsigned>(rect.h), False);
    } else {
      XPutImage(display_, window, gc, image_, rect.x, rect.y, rect.x, rect.y,
                static_cast<unsigned>(rect.w), static_cast<unsigned>(rect.h));
    }
  }

 private:
  static int ignoreError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
  }
  static inline bool attachFailed = false;

  bool makeShared() {
    // A server on another machine cannot see this one's memory.
    const char* name = DisplayString(display_);
    if (!name || !(name[0] == ':' || std::strncmp(name, "unix:", 5) == 0)) return false;
    if (!XShmQueryExtension(display_)) return false;
    image_ = XShmCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr,
                             &segment_, static_cast<unsigned>(width_), static_cast<unsigned>(height_));
    if (!image_) return false;
    if (image_->bytes_per_line != width_ * 4 || image_->bits_per_pixel != 32) return dropShared();
    segment_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height_,
                            IPC_CREAT | 0600);
    if (segment_.shmid < 0) return dropShared();
    segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
    if (segment_.shmaddr == reinterpret_cast<char*>(-1)) {
      segment_.shmaddr = nullptr;
      return dropShared();
    }
    segment_.readOnly = False;
    // The server reports a refused attach as an error event; catch it rather than die of it.
    XSync(display_, False);
    attachFailed = false;
    auto* previous = XSetErrorHandler(ignoreError);
    const bool attached = XShmAttach(display_, &segment_) && (XSync(display_, False), !attachFailed);
    XSetErrorHandler(previous);
    // Freed by the system once both sides let go, also when the program dies.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (!attached) return dropShared();
    shared_ = true;
    return true;
  }
  bool dropShared() {
    if (segment_.shmaddr) shmdt(segment_.shmaddr);
    if (segment_.shmid >= 0) shmctl(segment_.shmid, IPC_RMID, nullptr);
    segment_ = {};
    segment_.shmid = -1;
    if (image_) {
      image_->data = nullptr;
      XDestroyImage(image_);
      image_ = nullptr;
    }
    return false;
  }
  void makePlain() {
    plain_.assign(static_cast<std::size_t>(width_) * height_, 0);
    image_ = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                          reinterpret_cast<char*>(plain_.data()), static_cast<unsigned>(width_),
                          static_cast<unsigned>(height_), 32, width_ * 4);
  }
  void release() {
    if (shared_) {
      XShmDetach(display_, &segment_);
      XSync(display_, False);
      shmdt(segment_.shmaddr);
      image_->data = nullptr;
      XDestroyImage(image_);
      image_ = nullptr;
      shared_ = false;
      segment_ = {};
      segment_.shmid = -1;
    } else if (image_) {
      image_->data = nullptr;  // the pixels are the vector's
      XDestroyImage(image_);
      image_ = nullptr;
    }
  }

  Display* display_;
  Visual* visual_;
  int depth_;
  int width_ = 0, height_ = 0;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  bool shared_ = false;
  std::vector<std::uint32_t> plain_;
};

}  // namespace

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
  const PixelView pictureView{picture.data(), mailbox_.width(), mailbox_.height()};
  PictureChanges changes;
  changes.rects.reserve(kMostChangedRects);
  WindowImage image(display, connection_->visual, connection_->depth);
  int windowWidth = 0, windowHeight = 0;
  bool imageReady = false;
  while (mailbox_.take(picture, changes)) {
    ::Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(display, connection_->window, &root, &x, &y, &width, &height, &border,
                      &depth)) {
      mailbox_.wantWhole();
      continue;
    }
    bool whole = changes.whole;
    if (static_cast<int>(width) != windowWidth || static_cast<int>(height) != windowHeight) {
      windowWidth = static_cast<int>(width);
      windowHeight = static_cast<int>(height);
      imageReady = image.resize(windowWidth, windowHeight);
      sharedMemory_.store(imageReady && image.shared());
      whole = true;
    }
    if (!imageReady) continue;
    const hosts::Rect target =
        hosts::Letterbox(mailbox_.width(), mailbox_.height(), windowWidth, windowHeight).picture();
    if (whole) {
      hosts::scaleInto(pictureView, image.pixels(), windowWidth, windowHeight, target);
      image.put(connection_->window, connection_->gc, {0, 0, windowWidth, windowHeight});
    } else {
      for (const hosts::Rect& rect : changes.rects) {
        image.put(connection_->window, connection_->gc,
                  hosts::scaleChanged(pictureView, image.pixels(), windowWidth, target, rect));
      }
    }
    // Waits until the server has it: the next picture is never sent before this one is shown,
    // and shared pixels are not written while the server reads them.
    XSync(display, False);
    shown_.fetch_add(1);
  }
}

}  // namespace tolvaro::sdl
