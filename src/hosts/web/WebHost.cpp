#include "hosts/web/WebHost.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/PlayStatus.h"
#include "app/Program.h"
#include "base/Bmp.h"
#include "base/Files.h"

// The page's side (page.js). Pointers are into the module's memory; lengths in bytes.
EM_JS(void, tw_set_cursor, (const char* path), { TolvaroWeb.setCursor(UTF8ToString(path)); });
EM_JS(void, tw_set_icon, (const std::uint8_t* bytes, int length),
      { TolvaroWeb.setIcon(HEAPU8.slice(bytes, bytes + length)); });
EM_JS(void, tw_open_canvas, (int width, int height), { TolvaroWeb.openCanvas(width, height); });
// Only the rectangle x, y, w, h of the picture changed.
EM_JS(void, tw_present, (const std::uint32_t* rgba, int width, int height, int x, int y, int w,
                         int h),
      { TolvaroWeb.present(rgba, width, height, x, y, w, h); });
EM_JS(int, tw_next_event, (std::uint32_t* out), { return TolvaroWeb.nextEvent(out); });
EM_JS(void, tw_play_sound, (int id, int loop, const std::uint8_t* bytes, int length),
      { TolvaroWeb.playSound(id, loop, bytes, length); });
EM_JS(void, tw_stop_sound, (), { TolvaroWeb.stopSound(); });
EM_JS(int, tw_sound_pending, (int id), { return TolvaroWeb.soundPending(id) ? 1 : 0; });
EM_JS(void, tw_sleep_until, (double untilMs),
      { Asyncify.handleSleep(function(wakeUp) { TolvaroWeb.wakeAt(untilMs, wakeUp); }); });
EM_JS(void, tw_dialog_open, (const std::uint32_t* rgba, int width, int height),
      { TolvaroWeb.openDialog(rgba, width, height); });
EM_JS(void, tw_dialog_draw, (const std::uint32_t* rgba, int width, int height, int x, int y),
      { TolvaroWeb.drawOnDialog(rgba, width, height, x, y); });
// The name box's text as GBK bytes, in memory from malloc (the caller frees it).
EM_JS(std::uint8_t*, tw_dialog_text, (int* length), { return TolvaroWeb.dialogText(length); });
EM_JS(void, tw_dialog_set_text, (const char* gbk, int length),
      { TolvaroWeb.setDialogText(HEAPU8.slice(gbk, gbk + length)); });
EM_JS(void, tw_dialog_close, (), { TolvaroWeb.closeDialog(); });
EM_JS(void, tw_game_takes_letters, (int on, int x, int y, int width, int height),
      { TolvaroWeb.gameTakesLetters(on, x, y, width, height); });
EM_JS(void, tw_program_ended, (int code), { TolvaroWeb.programEnded(code); });

namespace tolvaro::web {
namespace {

// The page's event codes (page.js, `EventCode`).
enum PageEvent : std::uint32_t {
  kPageKey = 1,
  kPageMove = 2,
  kPageLeftDown = 3,
  kPageLeftDouble = 4,
  kPageRightDown = 5,
  kPagePaint = 6,
  kDialogCommand = 11,
  kDialogMove = 12,
  kDialogLeftDown = 13,
  kDialogRightDown = 14,
};

constexpr int kPassMs = 10;
constexpr double kDialogSliceMs = 15;
constexpr double kSoundWaitSliceMs = 5;
constexpr const char* kResourceRoot = "/res/";

// 0x00RRGGBB to the canvas's byte order R, G, B, A.
// Converts the pixels of `part` only.
void toCanvasPixels(PixelView from, std::vector<std::uint32_t>& to, PixelRect part) {
  to.resize(static_cast<std::size_t>(from.width) * static_cast<std::size_t>(from.height));
  for (int y = part.y; y < part.y + part.h; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(from.width);
    for (std::size_t i = row + part.x; i < row + part.x + part.w; ++i) {
      const std::uint32_t p = from.pixels[i];
      to[i] = 0xFF000000u | (p & 0x0000FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);
    }
  }
}

void toCanvasPixels(PixelView from, std::vector<std::uint32_t>& to) {
  toCanvasPixels(from, to, {0, 0, from.width, from.height});
}

// The one rectangle around all of them, clipped to the picture; empty when nothing changed.
PixelRect around(std::span<const PixelRect> rects, int width, int height) {
  int left = width, top = height, right = 0, bottom = 0;
  for (const PixelRect& r : rects) {
    if (r.w <= 0 || r.h <= 0) continue;
    left = std::min(left, std::max(r.x, 0));
    top = std::min(top, std::max(r.y, 0));
    right = std::max(right, std::min(r.x + r.w, width));
    bottom = std::max(bottom, std::min(r.y + r.h, height));
  }
  if (left >= right || top >= bottom) return {0, 0, 0, 0};
  return {left, top, right - left, bottom - top};
}

WebHost* g_host = nullptr;

}  // namespace

WebHost::WebHost() {
  g_host = this;
}

bool WebHost::registerWindowClass(const std::string& cursorFile, int /*iconId*/) {
  tw_set_cursor(cursorFile.c_str());
  return true;
}

bool WebHost::createMainWindow(const std::string& /*title*/, int width, int height) {
  tw_open_canvas(width, height);
  const std::vector<std::uint8_t> icon = loadResource(ResourceType::Icon, 141);
  if (!icon.empty()) tw_set_icon(icon.data(), static_cast<int>(icon.size()));
  wakeMs_ = emscripten_get_now();
  return true;
}

bool WebHost::pollEvent(Event& event) {
  std::uint32_t in[3];
  while (tw_next_event(in)) {
    switch (in[0]) {
      case kPageKey:
        event = {EventType::KeyDown, in[1], 0};
        return true;
      case kPageMove:
        event = {EventType::MouseMove, in[1], in[2]};
        return true;
      case kPageLeftDown:
        event = {EventType::LeftButtonDown, in[1], in[2]};
        return true;
      case kPageLeftDouble:
        event = {EventType::LeftButtonDoubleClick, in[1], in[2]};
        return true;
      case kPageRightDown:
        event = {EventType::RightButtonDown, in[1], in[2]};
        return true;
      case kPagePaint:
        event = {EventType::Paint, 0, 0};
        return true;
      default:
        break;  // a dialog's event after the dialog closed
    }
  }
  return false;
}

double WebHost::nowMs() {
  return emscripten_get_now();
}

void WebHost::present(PixelView backBuffer) {
  const PixelRect whole{0, 0, backBuffer.width, backBuffer.height};
  presentChanges(backBuffer, {&whole, 1});
}

void WebHost::presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) {
  if (!backBuffer.pixels || backBuffer.width <= 0 || backBuffer.height <= 0) return;
  // The canvas keeps what it was given; it is sent only the rectangle around the changes.
  const PixelRect part = around(changed, backBuffer.width, backBuffer.height);
  toCanvasPixels(backBuffer, rgba_, part);
  tw_present(rgba_.data(), backBuffer.width, backBuffer.height, part.x, part.y, part.w, part.h);
  const bool letters = gameTakesLetters();
  if (letters != lettersShown_) {
    lettersShown_ = letters;
    const ScreenArea& free = kAreaBelowInfoBoxes;
    tw_game_takes_letters(letters ? 1 : 0, free.x, free.y, free.width, free.height);
  }
}

void WebHost::sleepUntil(double untilMs) {
  tw_sleep_until(untilMs);
}

void WebHost::sleep(int milliseconds) {
  // Each pass lasts `milliseconds` from the end of the previous sleep, its drawing included;
  // a pass that took longer (or a wait in between) starts the count afresh.
  const double now = emscripten_get_now();
  double until = wakeMs_ + std::max(milliseconds, 0);
  if (until < now || milliseconds != kPassMs) until = now + std::max(milliseconds, 0);
  sleepUntil(until);
  wakeMs_ = std::max(until, emscripten_get_now() - 1.0);
}

std::vector<std::uint8_t> WebHost::loadResource(ResourceType type, int id) {
  const std::string number = std::to_string(id);
  std::string path = kResourceRoot;
  switch (type) {
    case ResourceType::Bitmap:
      path += "bitmap/" + number + ".bmp";
      break;
    case ResourceType::Wave:
      path += "wave/" + number + ".wav";
      break;
    case ResourceType::Icon:
      path += "icon/" + number + ".ico";
      break;
    case ResourceType::Glyphs:
      path += "glyphs/gbk16.bin";
      break;
  }
  return readFile(path);
}

std::vector<std::uint8_t>& WebHost::wave(int waveId) {
  auto known = waves_.find(waveId);
  if (known == waves_.end()) {
    // A long sound may still be on its way from the page's decoder: the game waits for the
    // whole file (the page goes on meanwhile).
    while (tw_sound_pending(waveId)) sleepUntil(emscripten_get_now() + kSoundWaitSliceMs);
    known = waves_.emplace(waveId, loadResource(ResourceType::Wave, waveId)).first;
  }
  return known->second;
}

void WebHost::playSound(int waveId, SoundMode mode) {
  if (mode == SoundMode::Stop) {
    tw_stop_sound();
    return;
  }
  // A long sound still on its way from the page's decoder is waited for only when the game waits
  // for its length; otherwise the page starts it when it comes, if it is still the one asked for.
  if (mode != SoundMode::Blocking && waves_.count(waveId) == 0 && tw_sound_pending(waveId)) {
    tw_play_sound(waveId, mode == SoundMode::Loop ? 1 : 0, nullptr, 0);
    return;
  }
  // A new sound ends the one playing, music included, even when it cannot play itself.
  const std::vector<std::uint8_t>& bytes = wave(waveId);
  tw_play_sound(waveId, mode == SoundMode::Loop ? 1 : 0, bytes.data(),
                static_cast<int>(bytes.size()));
  if (mode != SoundMode::Blocking) return;
  // The whole game waits the sound's length, heard or not; input stays queued.
  const std::int64_t lengthMs = soundLengths_.lengthMs(
      waveId, [this](int id) -> const auto& { return wave(id); });
  sleepUntil(emscripten_get_now() + static_cast<double>(lengthMs));
  wakeMs_ = emscripten_get_now();
}

std::intptr_t WebHost::runModalDialog(int /*templateId*/, int faceBitmapId,
                                      DialogProcedure procedure) {
  if (closed_) return 0;
  const Picture face = decodeBitmap(loadResource(ResourceType::Bitmap, faceBitmapId));
  std::vector<std::uint32_t> pixels;
  if (!face.empty()) toCanvasPixels(face.view(), pixels);
  tw_dialog_open(pixels.data(), face.empty() ? 0 : face.width, face.empty() ? 0 : face.height);
  dialogProcedure_ = procedure;
  dialogEnded_ = false;
  dialogResult_ = 0;
  procedure(*this, {DialogMessageType::Init, 0, 0});
  while (!dialogEnded_) {
    std::uint32_t in[3];
    while (!dialogEnded_ && tw_next_event(in)) {
      DialogMessage message;
      switch (in[0]) {
        case kDialogCommand:
          message = {DialogMessageType::Command, in[1], 0};
          break;
        case kDialogMove:
          message = {DialogMessageType::MouseMove, in[1], in[2]};
          break;
        case kDialogLeftDown:
          message = {DialogMessageType::LeftButtonDown, in[1], in[2]};
          break;
        case kDialogRightDown:
          message = {DialogMessageType::RightButtonDown, in[1], in[2]};
          break;
        default:
          continue;  // the main window takes no input while the dialog is up
      }
      procedure(*this, message);
    }
    if (!dialogEnded_) sleepUntil(emscripten_get_now() + kDialogSliceMs);
  }
  dialogProcedure_ = nullptr;
  tw_dialog_close();
  wakeMs_ = emscripten_get_now();
  return dialogResult_;
}

std::string WebHost::itemText(int controlId) {
  if (controlId != kNameEditControl) return {};
  int length = 0;
  std::uint8_t* bytes = tw_dialog_text(&length);
  std::string text(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
  std::free(bytes);
  return text;
}

void WebHost::setItemText(int controlId, std::string_view gbk) {
  if (controlId == kNameEditControl) tw_dialog_set_text(gbk.data(), static_cast<int>(gbk.size()));
}

void WebHost::drawPicture(PixelView picture, int x, int y) {
  if (!picture.pixels || picture.width <= 0 || picture.height <= 0) return;
  std::vector<std::uint32_t> pixels;
  toCanvasPixels(picture, pixels);
  tw_dialog_draw(pixels.data(), picture.width, picture.height, x, y);
}

void WebHost::end(std::intptr_t result) {
  dialogEnded_ = true;
  dialogResult_ = result;
}

void WebHost::closeNow() {
  if (closed_) return;
  closed_ = true;
  // As on the desktop: a close while the dialog is open closes the dialog first, storing the
  // name as Esc does, and the window's close then saves.
  if (dialogProcedure_ && !dialogEnded_) {
    dialogProcedure_(*this, {DialogMessageType::Command, kDialogCancel, 0});
  }
  windowProc({EventType::CloseRequest, 0, 0});
}

}  // namespace tolvaro::web

extern "C" EMSCRIPTEN_KEEPALIVE void tolvaro_web_close() {
  if (tolvaro::web::g_host) tolvaro::web::g_host->closeNow();
}

extern "C" void tolvaro_web_ended(int code) {
  tw_program_ended(code);
}
