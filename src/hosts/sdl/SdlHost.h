// The desktop host on SDL2 and SDL2_mixer: one borderless window at the display's top-left
// corner showing the 1024 x 768 picture (scaled up with its aspect kept on larger displays),
// input turned into the game's events, sounds from the embedded resources, the animated
// cursor, and the modal name-entry dialog.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Text.h"
#include "hosts/sdl/AnimatedCursor.h"
#include "hosts/sdl/NameDialog.h"
#include "hosts/sdl/ResourcePack.h"
#include "hosts/shared/FramePacer.h"
#include "hosts/shared/Letterbox.h"
#include "hosts/shared/PolledHost.h"
#include "hosts/shared/SoundLengths.h"
#include "platform/Platform.h"

namespace tolvaro::sdl {

class X11Presenter;

struct HostOptions {
  // The frame log (FramePacer); empty for none.
  std::filesystem::path frameLog;
  // For tests: the window's size instead of the display's.
  std::optional<hosts::Point> windowSizeOverride;
};

class SdlHost : public hosts::PolledHost, private NameDialogHost {
 public:
  SdlHost(ResourcePack resources, HostOptions options = {});
  ~SdlHost() override;
  SdlHost(const SdlHost&) = delete;
  SdlHost& operator=(const SdlHost&) = delete;

  bool registerWindowClass(const std::string& cursorFile, int iconId) override;
  bool createMainWindow(const std::string& title, int width, int height) override;
  bool nextEvent(Event& event) override;
  void present(PixelView backBuffer) override;
  void presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) override;
  std::vector<std::uint8_t> loadResource(ResourceType type, int id) override;
  void playSound(int waveId, SoundMode mode) override;
  void sleep(int milliseconds) override;
  std::intptr_t runModalDialog(int templateId, int faceBitmapId,
                               DialogProcedure procedure) override;

  // What tests look at.
  bool audioOpen() const { return audioOpen_; }
  bool animatedCursorLoaded() const { return !cursorFrames_.empty(); }
  SDL_Window* window() const override { return window_; }
  SDL_Renderer* renderer() const { return renderer_; }
  const hosts::Letterbox& letterbox() const override { return letterbox_; }

 private:
  bool pollEvent(Event& event) override;
  double nowMs() override { return static_cast<double>(SDL_GetTicks64()); }
  // One SDL event to at most one game event; false when the game has no use for it.
  bool translate(const SDL_Event& in, Event& out);
  void openAudio();
  void closeAudio();
  Mix_Chunk* chunkFor(int waveId);
  // Shows a picture of the game's size in the window, scaled to it; where the window is sent
  // only changes, `changed` covers every pixel that differs from the picture shown before.
  void show(PixelView picture, std::span<const PixelRect> changed);
  void showWhole(PixelView picture);

  // NameDialogHost.
  void windowResized(int width, int height) override;
  const GlyphSet& nameBoxGlyphs() const override { return glyphs_; }
  void showWithDialog(PixelView dialog, hosts::Rect at) override;
  void updateCursor() override;
  void closeAfterDialog() override;

  ResourcePack resources_;
  HostOptions options_;
  // The name box's glyphs; the game loads a set of its own for everything else.
  GlyphSet glyphs_;
  int iconId_ = 0;
  bool videoReady_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* picture_ = nullptr;
  // Where the window is an X11 window the pictures go through this, and there is no renderer.
  std::unique_ptr<X11Presenter> presenter_;
  PixelView lastPresented_;
  // The window shows something other than the game's last picture (the dialog, or nothing yet).
  bool showWholeNext_ = true;
  std::vector<std::uint32_t> composite_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  hosts::Letterbox letterbox_{1, 1, 1, 1};
  bool closeRequested_ = false;

  bool audioOpen_ = false;
  std::map<int, Mix_Chunk*> chunks_;
  hosts::SoundLengths soundLengths_;

  std::optional<AnimatedCursor> cursorAnimation_;
  std::vector<SDL_Cursor*> cursorFrames_;
  int shownCursorStep_ = -1;
  std::uint64_t cursorStartMs_ = 0;

  hosts::FramePacer pacer_;
};

}  // namespace tolvaro::sdl
