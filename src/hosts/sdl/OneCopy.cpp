#include "hosts/sdl/OneCopy.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace tolvaro::sdl {
namespace {

// Open for the whole run: closing it would give the folder away.
int g_workingDirectoryLock = -1;

// The process holding the flock on the working directory, from the kernel's lock table; 0 when
// none is found.
long lockHolder() {
  struct stat here {};
  if (stat(".", &here) != 0) return 0;
  std::ifstream table("/proc/locks");
  std::string line;
  while (std::getline(table, line)) {
    // "1: FLOCK  ADVISORY  WRITE 1234 fe:00:11199720 0 EOF"; a waiting lock has "->" before FLOCK.
    std::istringstream fields(line);
    std::string number, kind, advisory, access, device;
    long pid = 0;
    fields >> number >> kind;
    if (kind == "->") fields >> kind;
    if (!(fields >> advisory >> access >> pid >> device) || kind != "FLOCK") continue;
    unsigned major = 0, minor = 0;
    unsigned long long inode = 0;
    if (std::sscanf(device.c_str(), "%x:%x:%llu", &major, &minor, &inode) == 3 &&
        inode == here.st_ino && major == major(here.st_dev) && minor == minor(here.st_dev)) {
      return pid;
    }
  }
  return 0;
}

int ignoreErrors(Display*, XErrorEvent*) {
  return 0;
}

// The items of a window property of 32-bit format, such as a list of windows or a process id.
std::vector<unsigned long> propertyItems(Display* display, ::Window window, const char* name,
                                         Atom type) {
  std::vector<unsigned long> values;
  const Atom property = XInternAtom(display, name, True);
  if (property == None) return values;
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, 1 << 16, False, type, &actualType, &format,
                         &count, &after, &data) == Success &&
      data && actualType == type && format == 32) {
    // Format 32 comes as longs, whatever their width.
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    values.assign(items, items + count);
  }
  if (data) XFree(data);
  return values;
}

// The viewable top-level window of process `pid`: among a window manager's clients, or the
// root's children where no manager runs.
::Window windowOf(Display* display, long pid) {
  const ::Window root = DefaultRootWindow(display);
  std::vector<unsigned long> windows = propertyItems(display, root, "_NET_CLIENT_LIST", XA_WINDOW);
  if (windows.empty()) {
    ::Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) && children) {
      windows.assign(children, children + count);
      XFree(children);
    }
  }
  for (const unsigned long window : windows) {
    const std::vector<unsigned long> owner =
        propertyItems(display, window, "_NET_WM_PID", XA_CARDINAL);
    XWindowAttributes attributes{};
    if (owner.size() == 1 && static_cast<long>(owner[0]) == pid &&
        XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) {
      return window;
    }
  }
  return 0;
}

void bringToFront(Display* display, ::Window window) {
  const ::Window root = DefaultRootWindow(display);
  // Asked of the window manager as a pager asks, which focus-stealing rules let through.
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = window;
  request.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  request.xclient.format = 32;
  request.xclient.data.l[0] = 2;
  request.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
  // With no window manager, nobody answers that: raise and focus it directly.
  if (propertyItems(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty()) {
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
  }
  XSync(display, False);
}

}  // namespace

bool anotherCopyPlaysHere() {
  const int directory = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0) return false;
  if (flock(directory, LOCK_EX | LOCK_NB) == 0) {
    g_workingDirectoryLock = directory;
    return false;
  }
  const bool held = errno == EWOULDBLOCK;
  close(directory);
  return held;
}

void raiseTheCopyPlayingHere() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  XSetErrorHandler(&ignoreErrors);  // the other window may go away while we look at it
  // A double click starts the second copy while the first is still opening its window.
  for (int attempt = 0; attempt < 50; ++attempt) {
    const long holder = lockHolder();
    if (holder == 0) break;
    if (const ::Window window = windowOf(display, holder)) {
      bringToFront(display, window);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  XCloseDisplay(display);
}

}  // namespace tolvaro::sdl
