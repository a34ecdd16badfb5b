#include "hosts/win32/Win32Host.h"

#include <mmsystem.h>

#include <chrono>
#include <ctime>

#include "app/Program.h"
#include "base/Bmp.h"
#include "hosts/shared/Scaler.h"
#include "hosts/win32/Display.h"
#include "hosts/win32/NameEditBox.h"
#include "hosts/win32/WindowPresenter.h"

namespace tolvaro {
namespace {

// Class styles CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC.
constexpr UINT kClassStyle = 0x2B;
constexpr DWORD kWindowStyle = WS_POPUP | WS_VISIBLE;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1

constexpr DWORD kSoundLoop = SND_RESOURCE | SND_ASYNC | SND_LOOP;  // 0x4000D
constexpr DWORD kSoundOneShot = SND_RESOURCE | SND_ASYNC;          // 0x40005
constexpr DWORD kSoundBlocking = SND_RESOURCE | SND_SYNC;          // 0x40004

// The dialog face is 320 x 160 pixels: two pixels per dialog unit.
constexpr int kFaceWidth = 320;
constexpr int kFaceHeight = 160;
constexpr int kPixelsPerDialogUnit = 2;
constexpr RECT kTemplateNameBox{42, 36, 42 + 74, 36 + 12};

Win32Host* g_host = nullptr;

Event makeEvent(EventType type, WPARAM wParam, LPARAM lParam) {
  return {type, static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam)};
}

// The dialog stands on the picture at the picture's scale: its face (the client area) is where
// and as large as it would be over the 1024 x 768 picture, centred on it.
struct DialogSession {
  DialogProcedure procedure;
  hosts::Rect faceOnScreen;
  hosts::Letterbox faceBox;  // the face's pixels in the client area
  HBITMAP scaledFace = nullptr;
};

// The open name-entry dialog, as the game's dialog procedure sees it. The name box is a Unicode
// edit control, so an input method can put any character into it on any Windows; its text
// crosses to the game as GBK.
class Win32Dialog : public DialogWindow {
 public:
  Win32Dialog(HWND dialog, const hosts::Letterbox& faceBox) : dialog_(dialog), faceBox_(faceBox) {}

  std::string itemText(int controlId) override {
    HWND item = GetDlgItem(dialog_, controlId);
    if (!item) return {};
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(item, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return gbkFromWide(text);
  }

  void setItemText(int controlId, std::string_view gbk) override {
    SetDlgItemTextW(dialog_, controlId, wideFromGbk(gbk).c_str());
  }

  void drawPicture(PixelView picture, int x, int y) override {
    if (!picture.pixels || picture.width <= 0 || picture.height <= 0) return;
    const hosts::Rect at = faceBox_.toWindow({x, y, picture.width, picture.height});
    if (at.w <= 0 || at.h <= 0) return;
    std::vector<std::uint32_t> scaled;
    if (at.w != picture.width || at.h != picture.height) {
      scaled.resize(static_cast<std::size_t>(at.w) * at.h);
      hosts::scaleInto(picture, scaled.data(), at.w, at.h, {0, 0, at.w, at.h});
      picture = {scaled.data(), at.w, at.h};
    }
    HDC dc = GetDC(dialog_);
    const BITMAPINFO info = topDownInfo(picture.width, picture.height);
    SetDIBitsToDevice(dc, at.x, at.y, static_cast<DWORD>(picture.width),
                      static_cast<DWORD>(picture.height), 0, 0, 0,
                      static_cast<UINT>(picture.height), picture.pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(dialog_, dc);
  }

  void end(std::intptr_t result) override { EndDialog(dialog_, result); }

 private:
  HWND dialog_;
  const hosts::Letterbox& faceBox_;
};

// The template is in dialog units of the system font, the face and the name box in pixels: the
// dialog is laid out in pixels, at the picture's scale, whatever the font's unit is.
void placeDialogOverPicture(HWND dialog, const DialogSession& session) {
  const hosts::Rect& face = session.faceOnScreen;
  constexpr UINT kMoveOnly = SWP_NOZORDER | SWP_NOACTIVATE;
  if (HWND faceControl = GetWindow(dialog, GW_CHILD)) {
    if (session.scaledFace) {
      const auto old = reinterpret_cast<HGDIOBJ>(SendMessageW(
          faceControl, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(session.scaledFace)));
      if (old && old != session.scaledFace) DeleteObject(old);
    }
    SetWindowPos(faceControl, nullptr, 0, 0, face.w, face.h, kMoveOnly);
  }
  if (HWND nameBox = GetDlgItem(dialog, kNameEditControl)) {
    const RECT& box = kTemplateNameBox;
    const hosts::Rect at = session.faceBox.toWindow(
        {box.left * kPixelsPerDialogUnit, box.top * kPixelsPerDialogUnit,
         (box.right - box.left) * kPixelsPerDialogUnit,
         (box.bottom - box.top) * kPixelsPerDialogUnit});
    SetWindowPos(nameBox, nullptr, at.x, at.y, at.w, at.h, kMoveOnly);
  }
  RECT frame{face.x, face.y, face.x + face.w, face.y + face.h};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, kMoveOnly);
}

// The face picture drawn at the size it has on the screen; none when that is its own size.
HBITMAP scaledFacePicture(const Picture& face, const hosts::Rect& shown) {
  if (face.empty() || (shown.w == face.width && shown.h == face.height)) return nullptr;
  if (shown.w <= 0 || shown.h <= 0) return nullptr;
  const BITMAPINFO info = topDownInfo(shown.w, shown.h);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return bitmap;
  hosts::scaleInto(face.view(), static_cast<std::uint32_t*>(bits), shown.w, shown.h,
                   {0, 0, shown.w, shown.h});
  return bitmap;
}

// Mouse positions in the client area, given to the game in the face's pixels.
LPARAM toFacePixels(const hosts::Letterbox& faceBox, LPARAM lParam) {
  const hosts::Point at = faceBox.toPictureClamped(static_cast<short>(LOWORD(lParam)),
                                                   static_cast<short>(HIWORD(lParam)));
  return MAKELPARAM(at.x, at.y);
}

DialogMessage translateDialogMessage(const hosts::Letterbox& faceBox, UINT message,
                                     WPARAM wParam, LPARAM lParam) {
  DialogMessageType type = DialogMessageType::Other;
  switch (message) {
    case WM_INITDIALOG:
      type = DialogMessageType::Init;
      break;
    case WM_COMMAND:
      type = DialogMessageType::Command;
      break;
    case WM_MOUSEMOVE:
      type = DialogMessageType::MouseMove;
      lParam = toFacePixels(faceBox, lParam);
      break;
    case WM_LBUTTONDOWN:
      type = DialogMessageType::LeftButtonDown;
      lParam = toFacePixels(faceBox, lParam);
      break;
    case WM_RBUTTONDOWN:
      type = DialogMessageType::RightButtonDown;
      lParam = toFacePixels(faceBox, lParam);
      break;
    default:
      break;
  }
  return {type, static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam)};
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const auto& opening = *reinterpret_cast<const DialogSession*>(lParam);
    placeDialogOverPicture(dialog, opening);
    if (HWND nameBox = GetDlgItem(dialog, kNameEditControl)) {
      attachNameEditBox(nameBox, programGlyphs(), opening.faceOnScreen.w,
                        opening.faceBox.pictureSize().x);
    }
  }
  const auto* session =
      reinterpret_cast<const DialogSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!session) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT)
  Win32Dialog window(dialog, session->faceBox);
  const DialogMessage translated = translateDialogMessage(session->faceBox, message, wParam, lParam);
  return session->procedure(window, translated) ? TRUE : FALSE;
}

constexpr UINT kGbkCodePage = 936;

}  // namespace

BITMAPINFO topDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top to bottom, as the game keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB is BGRX in memory
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::wstring wideFromGbk(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int size = static_cast<int>(gbk.size());
  const int length = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), size, wide.data(), length);
  return wide;
}

std::string gbkFromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(kGbkCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbkCodePage, 0, wide.data(), size, gbk.data(), length, nullptr, nullptr);
  return gbk;
}

Win32Host::Win32Host(HINSTANCE instance) {
  g_appInstance = instance;
  g_host = this;
  declareDpiAwareness();
  // Sleep(10) lasts 10 ms only at 1 ms timer resolution; the default is about 15.6 ms.
  timeBeginPeriod(1);
}

Win32Host::~Win32Host() {
  releaseWindow();
  timeEndPeriod(1);
  if (g_host == this) g_host = nullptr;
}

bool Win32Host::registerWindowClass(const std::string& cursorFile, int iconId) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = kClassStyle;
  windowClass.lpfnWndProc = &Win32Host::windowProcedure;
  windowClass.hInstance = g_appInstance;
  windowClass.hIcon = LoadIconA(g_appInstance, MAKEINTRESOURCEA(iconId));
  windowClass.hIconSm = LoadIconA(g_appInstance, MAKEINTRESOURCEA(iconId));
  windowClass.hCursor = LoadCursorFromFileA(cursorFile.c_str());
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kWindowClassName;
  return RegisterClassExA(&windowClass) != 0;
}

// The window covers the whole monitor it opens on; the picture of width x height sits in it.
bool Win32Host::createMainWindow(const std::string& title, int width, int height) {
  pictureWidth_ = width;
  pictureHeight_ = height;
  const RECT monitor = monitorUnderPointer();
  HWND window = CreateWindowExA(0, kWindowClassName, title.c_str(), kWindowStyle, monitor.left,
                                monitor.top, monitor.right - monitor.left,
                                monitor.bottom - monitor.top, nullptr, nullptr, g_appInstance,
                                nullptr);
  if (!window) return false;
  detachInputContext(window);
  g_mainWindow = window;
  RECT client;
  GetClientRect(window, &client);
  letterbox_ = hosts::Letterbox(width, height, client.right, client.bottom);
  windowDC_ = GetDC(window);
  presenter_ = std::make_unique<WindowPresenter>(window, width, height);
  return true;
}

void Win32Host::coverMonitor() {
  if (!g_mainWindow) return;
  if (IsIconic(g_mainWindow)) ShowWindow(g_mainWindow, SW_RESTORE);
  const RECT monitor = monitorOf(g_mainWindow);
  RECT now;
  if (GetWindowRect(g_mainWindow, &now) && EqualRect(&now, &monitor)) return;
  SetWindowPos(g_mainWindow, nullptr, monitor.left, monitor.top, monitor.right - monitor.left,
               monitor.bottom - monitor.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Host::deliverMouse(EventType type, WPARAM wParam, LPARAM lParam) {
  const auto x = static_cast<short>(LOWORD(lParam));
  const auto y = static_cast<short>(HIWORD(lParam));
  if (!letterbox_.toPicture(x, y)) return;
  const hosts::Point at = letterbox_.toPictureClamped(x, y);
  deliver(makeEvent(type, wParam, MAKELPARAM(at.x, at.y)));
}

void Win32Host::releaseWindow() {
  presenter_.reset();  // its thread draws into the window
  if (windowDC_ && g_mainWindow) ReleaseDC(g_mainWindow, windowDC_);
  windowDC_ = nullptr;
}

LRESULT CALLBACK Win32Host::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  Win32Host* host = g_host;
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      if (host) host->keyboardGuard_.setActive(false);
      PostQuitMessage(0);
      return 0;
    case WM_ENDSESSION:
      if (host && wParam) host->keyboardGuard_.setActive(false);
      break;
    case WM_PAINT:
      // The presenter's thread draws the window: it draws all of the last frame again (the main
      // loop may be waiting in a dialog or a blocking sound).
      ValidateRect(window, nullptr);
      if (host && host->presenter_) host->presenter_->redrawWhole();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the presenter paints the picture and the bars; erasing would only flash
    case WM_SIZE:
      if (host) {
        host->letterbox_ =
            hosts::Letterbox(host->pictureWidth_, host->pictureHeight_, LOWORD(lParam),
                             HIWORD(lParam));
      }
      break;
    case WM_DISPLAYCHANGE:
    case kDpiChanged:
      if (host) host->coverMonitor();  // the presenter scales anew for a new size
      return 0;
    case WM_ACTIVATEAPP:
      if (host) {
        host->keyboardGuard_.setActive(wParam != FALSE);
        if (wParam) host->coverMonitor();  // back from Alt+Tab: the screen may have changed
      }
      break;
    case WM_CLOSE:
      // The game saves its files and quits; the window is not destroyed here.
      if (host) host->deliver(makeEvent(EventType::CloseRequest, 0, 0));
      return 0;
    case WM_KEYDOWN:
      if (host) {
        host->deliver(makeEvent(EventType::KeyDown, keyOfKeyDown(window, wParam, lParam), lParam));
      }
      break;
    case WM_MOUSEMOVE:
      if (host) host->deliverMouse(EventType::MouseMove, wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
      if (host) host->deliverMouse(EventType::LeftButtonDown, wParam, lParam);
      break;
    case WM_LBUTTONDBLCLK:
      if (host) host->deliverMouse(EventType::LeftButtonDoubleClick, wParam, lParam);
      break;
    case WM_RBUTTONDOWN:
      if (host) host->deliverMouse(EventType::RightButtonDown, wParam, lParam);
      break;
    case WM_TIMER:
      if (host) host->deliver(makeEvent(EventType::Timer, wParam, lParam));
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Win32Host::deliver(const Event& event) {
  if (modalDepth_ > 0) {
    // The dialog's own loop dispatches the main window's messages (the game timer); the game
    // handles them at once, as its window procedure would.
    windowProc(event);
  } else {
    pending_.push_back(event);
  }
}

bool Win32Host::nextEvent(Event& event) {
  // A message dispatched earlier may have brought a game event of its own (WM_CLOSE is sent
  // from inside the handling of Alt+F4); it counts as this pass's message.
  if (pending_.empty()) {
    MSG message;
    const bool taken = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
    if (taken && message.message == WM_QUIT) {
      event = makeEvent(EventType::Quit, message.wParam, 0);
      return true;
    }
    if (taken) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (pending_.empty()) {
      event = Event{};
      return taken;  // a message the game does not handle arrives as Other
    }
  }
  event = pending_.front();
  pending_.pop_front();
  return true;
}

void Win32Host::postQuit(int exitCode) {
  PostQuitMessage(exitCode);
}

void Win32Host::present(PixelView backBuffer) {
  const PixelRect whole{0, 0, backBuffer.width, backBuffer.height};
  presentChanges(backBuffer, {&whole, 1});
}

void Win32Host::presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) {
  pacer_.presentBegins(hosts::FramePacer::Clock::now());
  if (!presenter_ || !backBuffer.pixels) return;
  // Scaling a frame to a large screen takes several milliseconds: the game's thread only hands
  // over what changed.
  lastPresented_ = backBuffer;
  presenter_->post(backBuffer, changed);
  pacer_.presentEnds(hosts::FramePacer::Clock::now());
}

std::vector<std::uint8_t> Win32Host::loadResource(ResourceType type, int id) {
  LPCSTR resourceType = nullptr;
  switch (type) {
    case ResourceType::Bitmap:
      resourceType = MAKEINTRESOURCEA(2);  // RT_BITMAP: a DIB without its file header
      break;
    case ResourceType::Wave:
      resourceType = "WAVE";
      break;
    case ResourceType::Icon:
      resourceType = MAKEINTRESOURCEA(14);  // RT_GROUP_ICON
      break;
    case ResourceType::Glyphs:
      resourceType = MAKEINTRESOURCEA(10);  // RT_RCDATA
      break;
  }
  HRSRC resource = FindResourceA(g_appInstance, MAKEINTRESOURCEA(id), resourceType);
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(g_appInstance, resource);
  const DWORD size = SizeofResource(g_appInstance, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return {bytes, bytes + size};
}

void Win32Host::playSound(int waveId, SoundMode mode) {
  switch (mode) {
    case SoundMode::Loop:
      PlaySoundA(MAKEINTRESOURCEA(waveId), g_appInstance, kSoundLoop);
      break;
    case SoundMode::OneShot:
      PlaySoundA(MAKEINTRESOURCEA(waveId), g_appInstance, kSoundOneShot);
      break;
    case SoundMode::Blocking:
      PlaySoundA(MAKEINTRESOURCEA(waveId), g_appInstance, kSoundBlocking);
      break;
    case SoundMode::Stop:
      PlaySoundA(nullptr, g_appInstance, SND_PURGE);
      break;
  }
}

void Win32Host::setTimer(int timerId, int milliseconds) {
  SetTimer(g_mainWindow, static_cast<UINT_PTR>(timerId), static_cast<UINT>(milliseconds), nullptr);
}

void Win32Host::killTimer(int timerId) {
  KillTimer(g_mainWindow, static_cast<UINT_PTR>(timerId));
}

void Win32Host::sleep(int milliseconds) {
  const auto now = hosts::FramePacer::Clock::now();
  // Whole milliseconds, rounded down: at 1 ms resolution Sleep(n) ends up to a millisecond late.
  const auto left =
      std::chrono::floor<std::chrono::milliseconds>(pacer_.sleepEnd(milliseconds, now) - now);
  if (left.count() > 0) Sleep(static_cast<DWORD>(left.count()));
}

std::int64_t Win32Host::currentTime() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

// The template's picture control names the face bitmap itself; it is replaced by one scaled to
// the picture's scale where that is not 1.
std::intptr_t Win32Host::runModalDialog(int templateId, int faceBitmapId,
                                        DialogProcedure procedure) {
  const Picture face = decodeBitmap(loadResource(ResourceType::Bitmap, faceBitmapId));
  const int faceWidth = face.empty() ? kFaceWidth : face.width;
  const int faceHeight = face.empty() ? kFaceHeight : face.height;
  hosts::Rect onScreen = letterbox_.toWindow({(pictureWidth_ - faceWidth) / 2,
                                              (pictureHeight_ - faceHeight) / 2, faceWidth,
                                              faceHeight});
  POINT origin{0, 0};
  if (g_mainWindow) ClientToScreen(g_mainWindow, &origin);
  onScreen.x += origin.x;
  onScreen.y += origin.y;
  DialogSession session{procedure, onScreen,
                        hosts::Letterbox(faceWidth, faceHeight, onScreen.w, onScreen.h),
                        scaledFacePicture(face, onScreen)};
  ++modalDepth_;
  restoreInputContext(g_mainWindow);
  // The wide form makes the dialog and its name box Unicode windows, so typed Chinese reaches
  // the box whatever the system's ANSI code page is.
  const INT_PTR result = DialogBoxParamW(g_appInstance, MAKEINTRESOURCEW(templateId), g_mainWindow,
                                         dialogProcedure, reinterpret_cast<LPARAM>(&session));
  detachInputContext(g_mainWindow);
  --modalDepth_;
  // The dialog stood on the window: whatever it covered is drawn again.
  if (presenter_) presenter_->redrawWhole();
  if (session.scaledFace) DeleteObject(session.scaledFace);
  return static_cast<std::intptr_t>(result);
}

}  // namespace tolvaro
