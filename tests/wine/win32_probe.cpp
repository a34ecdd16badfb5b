// Drives the Win32 host without the game, for the Wine tests:
//   tolvaro_win32_probe dialog <out>        opens dialog 241 over a grey window; when the dialog
//                                           ends, <out> gets the name box's text as GBK (cut at
//                                           7 bytes on a whole character), <out>.full all of it
//                                           and <out>.acp the system's ANSI code page
//   tolvaro_win32_probe present <n> <out>   times n presents of a full 1024 x 768 frame, as the
//                                           host does them (one SetDIBitsToDevice) and as a copy
//                                           into a DIB section followed by one BitBlt
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/Picture.h"
#include "app/Text.h"
#include "assets/Bmp.h"
#include "hosts/win32/Win32Host.h"

namespace {

using tolvaro::DialogMessage;
using tolvaro::DialogMessageType;
using tolvaro::DialogWindow;

std::string g_outPath;
int g_mouseX = 0;
int g_mouseY = 0;
tolvaro::Picture g_buttons[4];  // 245 confirm hovered, 246 clear hovered, 247, 248 normal

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void storeAndClose(DialogWindow& dialog, std::uint32_t wParam) {
  const std::string text = dialog.itemText(tolvaro::kNameEditControl);
  writeFile(g_outPath, std::string(tolvaro::gbkPrefix(text, 7)));
  writeFile(g_outPath + ".full", text);
  dialog.end(wParam & 0xFFFF);
}

bool inButtonRow() {
  return g_mouseY >= 116 && g_mouseY <= 138;
}

bool probeProcedure(DialogWindow& dialog, const DialogMessage& message) {
  switch (message.type) {
    case DialogMessageType::Init:
      return true;
    case DialogMessageType::Command:
      if ((message.wParam & 0xFFFF) == tolvaro::kDialogOk ||
          (message.wParam & 0xFFFF) == tolvaro::kDialogCancel) {
        storeAndClose(dialog, message.wParam);
      }
      return false;
    case DialogMessageType::MouseMove:
      g_mouseX = static_cast<int>(message.lParam & 0xFFFF);
      g_mouseY = static_cast<int>(message.lParam >> 16);
      if (inButtonRow() && g_mouseX >= 64 && g_mouseX <= 153) {
        dialog.drawPicture(g_buttons[0].view(), 63, 109);
      } else if (inButtonRow() && g_mouseX >= 165 && g_mouseX <= 253) {
        dialog.drawPicture(g_buttons[1].view(), 164, 109);
      } else {
        dialog.drawPicture(g_buttons[3].view(), 63, 111);
        dialog.drawPicture(g_buttons[2].view(), 164, 111);
      }
      return false;
    case DialogMessageType::LeftButtonDown:
      if (inButtonRow() && g_mouseX >= 64 && g_mouseX <= 153) {
        storeAndClose(dialog, message.wParam);
      } else if (inButtonRow() && g_mouseX >= 165 && g_mouseX <= 253) {
        dialog.setItemText(tolvaro::kNameEditControl, "");
      }
      return false;
    case DialogMessageType::RightButtonDown: {
      char text[64];
      std::snprintf(text, sizeof text, "x: %d , y: %d", g_mouseX, g_mouseY);
      dialog.setItemText(tolvaro::kNameEditControl, text);
      return false;
    }
    default:
      return false;
  }
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> args(__argv + 1, __argv + __argc);
  if (args.empty()) return 2;
  tolvaro::Win32Host host(instance);
  if (!host.registerWindowClass("mouse6.ani")) return 3;
  if (!host.createMainWindow("Tolvaro", 1024, 768)) return 4;
  tolvaro::Picture screen(1024, 768, tolvaro::rgb(96, 96, 96));

  if (args[0] == "dialog" && args.size() == 2) {
    g_outPath = args[1];
    writeFile(g_outPath + ".acp", std::to_string(GetACP()));
    const int ids[4] = {245, 246, 247, 248};
    for (int i = 0; i < 4; ++i) {
      g_buttons[i] =
          tolvaro::decodeBitmap(host.loadResource(tolvaro::ResourceType::Bitmap, ids[i]));
    }
    host.present(screen.view());
    host.runModalDialog(tolvaro::kNameDialogTemplate, probeProcedure);
  } else if (args[0] == "present" && args.size() == 3) {
    const int count = std::max(1, std::atoi(args[1].c_str()));
    std::vector<double> hostTimes, sectionTimes;
    HDC windowDC = GetDC(tolvaro::g_mainWindow);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1024, -768, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memoryDC = CreateCompatibleDC(windowDC);
    HBITMAP section = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memoryDC, section);
    const std::size_t bytes = screen.pixels.size() * sizeof(std::uint32_t);
    for (int i = 0; i < count; ++i) {
      screen.pixels[static_cast<std::size_t>(i) % screen.pixels.size()] ^= 0xFFFFFF;
      auto start = std::chrono::steady_clock::now();
      host.present(screen.view());
      GdiFlush();
      auto middle = std::chrono::steady_clock::now();
      std::memcpy(bits, screen.pixels.data(), bytes);
      BitBlt(windowDC, 0, 0, 1024, 768, memoryDC, 0, 0, SRCCOPY);
      GdiFlush();
      auto end = std::chrono::steady_clock::now();
      hostTimes.push_back(std::chrono::duration<double, std::milli>(middle - start).count());
      sectionTimes.push_back(std::chrono::duration<double, std::milli>(end - middle).count());
    }
    SelectObject(memoryDC, previous);
    DeleteObject(section);
    DeleteDC(memoryDC);
    ReleaseDC(tolvaro::g_mainWindow, windowDC);
    char report[200];
    std::snprintf(report, sizeof report,
                  "presents %d\nSetDIBitsToDevice (host) median_ms %.3f\n"
                  "memcpy into DIB section + BitBlt median_ms %.3f\n",
                  count, median(hostTimes), median(sectionTimes));
    writeFile(args[2], report);
  } else {
    return 2;
  }
  host.releaseWindow();
  return 0;
}
