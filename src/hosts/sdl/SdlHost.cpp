#include "hosts/sdl/SdlHost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "base/Bmp.h"
#include "base/Files.h"
#include "hosts/sdl/IconFile.h"
#include "hosts/sdl/KeyMap.h"
#include "hosts/sdl/X11Presenter.h"

namespace tolvaro::sdl {
namespace {

// The one line a start that cannot show the game leaves, on standard error.
void reportNoWindow(const char* reason) {
  std::fprintf(stderr, "tolvaro: cannot open a window: %s\n", reason);
}

// No cursor of ours comes near this; a larger file is not one.
constexpr std::uintmax_t kLargestCursorFile = 64u << 20;
constexpr int kMixFrequency = 44100;
constexpr int kMixChunkSamples = 1024;

SDL_Surface* surfaceOf(const IconImage& image) {
  return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(image.rgba.data()),
                                            image.width, image.height, 32, image.width * 4,
                                            SDL_PIXELFORMAT_RGBA32);
}

std::uint32_t buttonFlags(std::uint32_t sdlState) {
  std::uint32_t flags = 0;
  if (sdlState & SDL_BUTTON_LMASK) flags |= kLeftButtonFlag;
  if (sdlState & SDL_BUTTON_RMASK) flags |= kRightButtonFlag;
  return flags;
}

}  // namespace

SdlHost::SdlHost(ResourcePack resources, HostOptions options)
    : resources_(std::move(resources)), options_(std::move(options)), pacer_(options_.frameLog) {
  // The game paces itself with a 10 ms sleep after each present; vsync would add to it.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
  X11Presenter::prepareThreads();
  glyphs_.load(resources_.find(ResourceType::Glyphs, kPackGlyphSet));
}

SdlHost::~SdlHost() {
  closeAudio();
  if (!cursorFrames_.empty()) {
    SDL_SetCursor(SDL_GetDefaultCursor());
    for (SDL_Cursor* cursor : cursorFrames_) SDL_FreeCursor(cursor);
  }
  presenter_.reset();
  if (picture_) SDL_DestroyTexture(picture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  // Subsystems are counted, so a second host (in tests) keeps what the first still uses.
  if (videoReady_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool SdlHost::registerWindowClass(const std::string& cursorFile, int iconId) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    reportNoWindow(SDL_GetError());
    return false;
  }
  videoReady_ = true;
  // With no display SDL falls back on a driver that shows nothing; only a run that names such
  // a driver (the tests) wants one.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible =
      driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (invisible && (!named || !*named)) {
    reportNoWindow("no display (DISPLAY and WAYLAND_DISPLAY are not set)");
    return false;
  }
  iconId_ = iconId;
  // A missing or unreadable cursor file leaves the system's cursor.
  cursorAnimation_ = parseAnimatedCursor(readFile(cursorFile, kLargestCursorFile));
  if (!cursorAnimation_) return true;
  for (const IconImage& frame : cursorAnimation_->frames) {
    SDL_Surface* surface = surfaceOf(frame);
    SDL_Cursor* cursor =
        surface ? SDL_CreateColorCursor(surface, frame.hotspotX, frame.hotspotY) : nullptr;
    if (surface) SDL_FreeSurface(surface);
    if (!cursor) {
      for (SDL_Cursor* made : cursorFrames_) SDL_FreeCursor(made);
      cursorFrames_.clear();
      cursorAnimation_.reset();
      return true;
    }
    cursorFrames_.push_back(cursor);
  }
  return true;
}

bool SdlHost::createMainWindow(const std::string& title, int width, int height) {
  // On a display of another size the window covers the display and the picture is fitted.
  SDL_Rect display{0, 0, width, height};
  if (SDL_GetDisplayBounds(0, &display) != 0 || display.w <= 0 || display.h <= 0) {
    display = {0, 0, width, height};
  }
  if (options_.windowSizeOverride) {
    display.w = options_.windowSizeOverride->x;
    display.h = options_.windowSizeOverride->y;
  }
  window_ = SDL_CreateWindow(title.c_str(), display.x, display.y, display.w, display.h,
                             SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
  if (!window_) {
    reportNoWindow(SDL_GetError());
    return false;
  }
  // SDL starts text input with its video; while it is on, an input method in Chinese mode takes
  // the letters for itself. Typing is only for the name box, which turns it on while it is open.
  SDL_StopTextInput();
  // While the window has the focus, Super and the desktop's other shortcuts stay with the game.
  SDL_SetWindowKeyboardGrab(window_, SDL_TRUE);
  presenter_ = X11Presenter::open(window_, width, height);
  if (!presenter_) {
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_) {
      picture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888,
                                   SDL_TEXTUREACCESS_STREAMING, width, height);
    }
  }
  if (!presenter_ && !picture_) {
    reportNoWindow(SDL_GetError());
    return false;
  }
  pictureWidth_ = width;
  pictureHeight_ = height;
  int windowW = 0, windowH = 0;
  SDL_GetWindowSize(window_, &windowW, &windowH);
  letterbox_ = hosts::Letterbox(width, height, windowW, windowH);

  const std::vector<std::uint8_t> icon = loadResource(ResourceType::Icon, iconId_);
  if (std::optional<IconImage> image = decodeIconFile(icon)) {
    if (SDL_Surface* surface = surfaceOf(*image)) {
      SDL_SetWindowIcon(window_, surface);
      SDL_FreeSurface(surface);
    }
  }
  if (!cursorFrames_.empty()) {
    cursorStartMs_ = SDL_GetTicks64();
    shownCursorStep_ = -1;
    updateCursor();
  }
  SDL_RaiseWindow(window_);
  // Black until the first present, as the class's black brush erases it; the dialog's picture
  // is put together here.
  composite_.assign(static_cast<std::size_t>(width) * height, 0);
  showWhole({composite_.data(), width, height});
  openAudio();
  return true;
}

void SdlHost::openAudio() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  if (Mix_OpenAudio(kMixFrequency, MIX_DEFAULT_FORMAT, 2, kMixChunkSamples) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;  // no device: the game runs silent, its timing unchanged
  }
  Mix_AllocateChannels(1);  // one sound at a time
  audioOpen_ = true;
}

void SdlHost::closeAudio() {
  if (!audioOpen_) return;
  Mix_HaltChannel(-1);
  for (auto& [id, chunk] : chunks_) {
    if (chunk) Mix_FreeChunk(chunk);
  }
  chunks_.clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  audioOpen_ = false;
}

bool SdlHost::nextEvent(Event& event) {
  updateCursor();
  return PolledHost::nextEvent(event);
}

bool SdlHost::pollEvent(Event& event) {
  SDL_Event in;
  while (SDL_PollEvent(&in)) {
    if (translate(in, event)) return true;
  }
  return false;
}

bool SdlHost::translate(const SDL_Event& in, Event& out) {
  switch (in.type) {
    case SDL_QUIT:
      if (closeRequested_) return false;
      closeRequested_ = true;
      out = {EventType::CloseRequest, 0, 0};
      return true;
    case SDL_WINDOWEVENT:
      if (in.window.event == SDL_WINDOWEVENT_CLOSE && !closeRequested_) {
        closeRequested_ = true;
        out = {EventType::CloseRequest, 0, 0};
        return true;
      }
      if (in.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        windowResized(in.window.data1, in.window.data2);
      }
      if (in.window.event == SDL_WINDOWEVENT_EXPOSED) {
        if (presenter_) presenter_->showWholeNext();
        out = {EventType::Paint, 0, 0};
        return true;
      }
      return false;
    case SDL_AUDIODEVICEREMOVED:
      // A headset pulled out: carry on with whatever device is left, or silent. The blocking
      // sounds wait their length either way, so the game keeps its pace.
      if (!in.adevice.iscapture && audioOpen_) {
        closeAudio();
        openAudio();
      }
      return false;
    case SDL_KEYDOWN: {
      const std::optional<std::uint32_t> key =
          virtualKeyOf(in.key.keysym.sym, in.key.keysym.scancode);
      if (!key) return false;
      out = {EventType::KeyDown, *key, 0};
      return true;
    }
    case SDL_MOUSEMOTION: {
      // Off the picture (on the black bars) the pointer is outside the game's window.
      const std::optional<hosts::Point> at = letterbox_.toPicture(in.motion.x, in.motion.y);
      if (!at) return false;
      out = {EventType::MouseMove, buttonFlags(in.motion.state), packPosition(at->x, at->y)};
      return true;
    }
    case SDL_MOUSEBUTTONDOWN: {
      // A press on the bars is outside the game's window too: no edge button may take it.
      const std::optional<hosts::Point> onPicture = letterbox_.toPicture(in.button.x, in.button.y);
      if (!onPicture) return false;
      const hosts::Point at = *onPicture;
      if (in.button.button == SDL_BUTTON_LEFT) {
        // Windows reports every second press of a double click as a double click.
        const bool second = in.button.clicks >= 2 && in.button.clicks % 2 == 0;
        out = {second ? EventType::LeftButtonDoubleClick : EventType::LeftButtonDown,
               kLeftButtonFlag, packPosition(at.x, at.y)};
        return true;
      }
      if (in.button.button == SDL_BUTTON_RIGHT) {
        out = {EventType::RightButtonDown, kRightButtonFlag, packPosition(at.x, at.y)};
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

void SdlHost::windowResized(int width, int height) {
  letterbox_ = hosts::Letterbox(pictureWidth_, pictureHeight_, width, height);
}

void SdlHost::sleep(int milliseconds) {
  const auto now = hosts::FramePacer::Clock::now();
  std::this_thread::sleep_until(pacer_.sleepEnd(milliseconds, now));
}

void SdlHost::updateCursor() {
  if (!cursorAnimation_ || cursorFrames_.empty() || !window_) return;
  const int step =
      cursorAnimation_->stepAt(static_cast<std::int64_t>(SDL_GetTicks64() - cursorStartMs_));
  if (step == shownCursorStep_) return;
  shownCursorStep_ = step;
  SDL_SetCursor(cursorFrames_[static_cast<std::size_t>(cursorAnimation_->steps[step].frame)]);
}

void SdlHost::present(PixelView backBuffer) {
  const PixelRect whole{0, 0, backBuffer.width, backBuffer.height};
  presentChanges(backBuffer, {&whole, 1});
}

void SdlHost::presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) {
  pacer_.presentBegins(hosts::FramePacer::Clock::now());
  if (backBuffer.width != pictureWidth_ || backBuffer.height != pictureHeight_) return;
  lastPresented_ = backBuffer;
  if (showWholeNext_) {
    showWhole(backBuffer);
    showWholeNext_ = false;
  } else {
    show(backBuffer, changed);
  }
  pacer_.presentEnds(hosts::FramePacer::Clock::now());
}

void SdlHost::showWhole(PixelView picture) {
  const PixelRect whole{0, 0, picture.width, picture.height};
  show(picture, {&whole, 1});
}

void SdlHost::show(PixelView picture, std::span<const PixelRect> changed) {
  if (presenter_) {
    presenter_->show(picture, changed);
    return;
  }
  if (!picture_) return;
  SDL_UpdateTexture(picture_, nullptr, picture.pixels, picture.width * 4);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const hosts::Rect place = letterbox_.picture();
  const SDL_Rect target{place.x, place.y, place.w, place.h};
  SDL_RenderCopy(renderer_, picture_, nullptr, &target);
  SDL_RenderPresent(renderer_);
}

void SdlHost::showWithDialog(PixelView dialog, hosts::Rect at) {
  if (lastPresented_.pixels) {
    std::copy(lastPresented_.pixels, lastPresented_.pixels + composite_.size(), composite_.begin());
  } else {
    std::fill(composite_.begin(), composite_.end(), 0u);
  }
  for (int row = std::max(0, -at.y); row < dialog.height && at.y + row < pictureHeight_; ++row) {
    const int left = std::max(0, -at.x);
    const int right = std::min(dialog.width, pictureWidth_ - at.x);
    if (left >= right) break;
    const std::uint32_t* from = dialog.pixels + static_cast<std::size_t>(row) * dialog.width;
    std::copy(from + left, from + right,
              composite_.begin() + static_cast<std::ptrdiff_t>(at.y + row) * pictureWidth_ + at.x +
                  left);
  }
  showWhole({composite_.data(), pictureWidth_, pictureHeight_});
  showWholeNext_ = true;
}

std::vector<std::uint8_t> SdlHost::loadResource(ResourceType type, int id) {
  const std::span<const std::uint8_t> bytes = resources_.find(type, id);
  return {bytes.begin(), bytes.end()};
}

Mix_Chunk* SdlHost::chunkFor(int waveId) {
  auto known = chunks_.find(waveId);
  if (known != chunks_.end()) return known->second;
  Mix_Chunk* chunk = nullptr;
  const std::span<const std::uint8_t> bytes = resources_.find(ResourceType::Wave, waveId);
  if (!bytes.empty()) {
    if (SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()))) {
      chunk = Mix_LoadWAV_RW(stream, 1);
    }
  }
  chunks_.emplace(waveId, chunk);
  return chunk;
}

void SdlHost::playSound(int waveId, SoundMode mode) {
  if (mode == SoundMode::Stop) {
    if (audioOpen_) Mix_HaltChannel(-1);
    return;
  }
  if (audioOpen_) {
    // A new sound ends the one playing, music included, even when it cannot play itself.
    Mix_HaltChannel(-1);
    if (Mix_Chunk* chunk = chunkFor(waveId)) {
      Mix_PlayChannel(0, chunk, mode == SoundMode::Loop ? -1 : 0);
    }
  }
  if (mode != SoundMode::Blocking) return;
  // The whole program waits the sound's length, with or without a device; input stays queued.
  const std::int64_t lengthMs = soundLengths_.lengthMs(
      waveId, [this](int id) { return resources_.find(ResourceType::Wave, id); });
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(lengthMs);
  for (auto now = std::chrono::steady_clock::now(); now < until;
       now = std::chrono::steady_clock::now()) {
    updateCursor();
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
    SDL_Delay(static_cast<Uint32>(std::min<std::int64_t>(left, 10)));
  }
}

void SdlHost::closeAfterDialog() {
  closeRequested_ = false;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

std::intptr_t SdlHost::runModalDialog(int /*templateId*/, int faceBitmapId,
                                      DialogProcedure procedure) {
  if (!presenter_ && !renderer_) return 0;
  NameDialog dialog(*this, decodeBitmap(loadResource(ResourceType::Bitmap, faceBitmapId)));
  return dialog.run(procedure);
}

}  // namespace tolvaro::sdl
