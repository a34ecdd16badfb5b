// Test helper for the Wine checks: moves the game's window off part of the screen, as a display
// change, a new display scale or a trip away from the game can leave it, then sends the window
// the message that tells it so. Prints the window's place before and after.
//   nudge_window.exe displaychange|dpichange|activate
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND window = FindWindowA("WINCLASS1", nullptr);
  if (!window) {
    std::puts("no game window");
    return 1;
  }
  SetWindowPos(window, nullptr, 100, 100, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT moved;
  GetWindowRect(window, &moved);
  const char* what = argv[1];
  if (std::strcmp(what, "displaychange") == 0) {
    SendMessageA(window, WM_DISPLAYCHANGE, 32,
                 MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  } else if (std::strcmp(what, "dpichange") == 0) {
    RECT suggested = moved;
    SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
  } else if (std::strcmp(what, "activate") == 0) {
    SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
  } else {
    return 2;
  }
  RECT after;
  GetWindowRect(window, &after);
  std::printf("moved to %ld,%ld-%ld,%ld; after %s: %ld,%ld-%ld,%ld\n", moved.left, moved.top,
              moved.right, moved.bottom, what, after.left, after.top, after.right, after.bottom);
  return 0;
}
