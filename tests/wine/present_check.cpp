// Test helper for the Wine checks: drives the Windows host's presenting in-process on a screen
// larger than the picture and reads the window back. A changed patch shows, scaled, where it
// belongs; what another hand painted over the window is drawn again after a paint message;
// after a resize the picture is scaled anew for the new size. Prints one line per check; exits
// with the number of failed checks.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hosts/shared/Letterbox.h"
#include "hosts/win32/Win32Host.h"

using namespace tolvaro;

namespace {

int g_failures = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++g_failures;
}

constexpr std::uint32_t kBlue = 0x00336699, kRed = 0x00CC2211;
constexpr PixelRect kPatch{500, 400, 12, 10};

COLORREF asShown(std::uint32_t pixel) {
  return RGB((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255);
}

// The window pixel in the middle of picture pixel (x, y), for the window's size now.
COLORREF shownAt(int x, int y) {
  RECT client;
  GetClientRect(g_mainWindow, &client);
  const hosts::Rect place = hosts::Letterbox(1024, 768, client.right, client.bottom).picture();
  HDC dc = GetDC(g_mainWindow);
  const COLORREF colour = GetPixel(dc, place.x + (2 * x + 1) * place.w / 2048,
                                   place.y + (2 * y + 1) * place.h / 1536);
  ReleaseDC(g_mainWindow, dc);
  return colour;
}

// Handles the window's messages until the patch and a pixel beside it show as they should;
// the presenter draws from a thread of its own, so this waits, up to a generous deadline.
bool patchShows(Win32Host& host) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(10)) {
    Event event;
    while (host.nextEvent(event)) {
    }
    if (shownAt(kPatch.x + 5, kPatch.y + 5) == asShown(kRed) &&
        shownAt(kPatch.x - 20, kPatch.y + 5) == asShown(kBlue)) {
      return true;
    }
  }
  return false;
}

}  // namespace

int main() {
  Win32Host host(GetModuleHandleW(nullptr));
  check(host.registerWindowClass("mouse6.ani", 141) && host.createMainWindow("Tolvaro", 1024, 768),
        "the main window is made");
  std::vector<std::uint32_t> frame(1024 * 768, kBlue);
  const PixelView view{frame.data(), 1024, 768};
  host.present(view);
  for (int y = kPatch.y; y < kPatch.y + kPatch.h; ++y) {
    std::fill_n(frame.begin() + y * 1024 + kPatch.x, kPatch.w, kRed);
  }
  host.presentChanges(view, {&kPatch, 1});
  check(patchShows(host), "a changed patch shows, scaled, where it belongs");

  // Painted over until the white stays a while: the presenter may still be drawing a paint
  // message handled above. No message is handled meanwhile, so nothing else wakes it.
  const auto white = [] { return shownAt(kPatch.x + 5, kPatch.y + 5) == RGB(255, 255, 255); };
  int stayed = 0;
  for (const DWORD start = GetTickCount(); stayed < 20 && GetTickCount() - start < 30000;
       Sleep(10)) {
    if (stayed == 0) {
      HDC dc = GetDC(g_mainWindow);
      const RECT middle{300, 200, 1600, 900};
      FillRect(dc, &middle, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      ReleaseDC(g_mainWindow, dc);
    }
    stayed = white() ? stayed + 1 : 0;
  }
  check(stayed == 20, "the window is painted over");
  InvalidateRect(g_mainWindow, nullptr, FALSE);
  check(patchShows(host), "after a paint message the whole picture is drawn again");

  SetWindowPos(g_mainWindow, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  check(patchShows(host), "after a resize the picture is scaled for the new size");
  host.releaseWindow();
  DestroyWindow(g_mainWindow);
  return g_failures;
}
