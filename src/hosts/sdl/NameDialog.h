// The modal name-entry dialog: a 320 x 160 face picture in a thin dialog frame, centred
// over the frozen last frame, with the name box of the template at dialog units (42, 36),
// 74 x 12, two pixels per unit. The game's dialog procedure sees Init, Enter and Esc as
// IDOK and IDCANCEL, and the mouse over the face in client pixels.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "base/Picture.h"
#include "base/Text.h"
#include "hosts/sdl/NameBox.h"
#include "hosts/shared/Letterbox.h"
#include "platform/Platform.h"

namespace tolvaro::sdl {

// What the dialog needs of the window it opens over.
class NameDialogHost {
 public:
  virtual SDL_Window* window() const = 0;
  // Where the game's picture sits in the window.
  virtual const hosts::Letterbox& letterbox() const = 0;
  virtual void windowResized(int width, int height) = 0;
  virtual const GlyphSet& nameBoxGlyphs() const = 0;
  // Shows the last presented picture with the dialog's window over it at `at` (picture
  // coordinates).
  virtual void showWithDialog(PixelView dialog, hosts::Rect at) = 0;
  virtual void updateCursor() = 0;
  // The close that ended the dialog still closes the program.
  virtual void closeAfterDialog() = 0;

 protected:
  ~NameDialogHost() = default;
};

class NameDialog : public DialogWindow {
 public:
  static constexpr int kClientWidth = 320;
  static constexpr int kClientHeight = 160;
  static constexpr int kFrame = 5;  // modal frame and client edge
  static constexpr hosts::Rect kNameBox{84, 72, NameBox::kWidth, NameBox::kHeight};
  static constexpr int kCaretBlinkMs = 530;

  NameDialog(NameDialogHost& host, Picture face);
  NameDialog(const NameDialog&) = delete;
  NameDialog& operator=(const NameDialog&) = delete;

  // Runs the modal loop until the procedure ends the dialog.
  std::intptr_t run(DialogProcedure procedure);

  // The dialog's whole window (frame included) in picture coordinates.
  hosts::Rect windowRect() const;
  hosts::Rect clientRect() const;

  std::string itemText(int controlId) override;
  void setItemText(int controlId, std::string_view gbk) override;
  void drawPicture(PixelView picture, int x, int y) override;
  void end(std::intptr_t result) override;

 private:
  void handle(const SDL_Event& event, DialogProcedure procedure);
  // Client coordinates of a window position over the face (not over the name box).
  std::optional<hosts::Point> overFace(int windowX, int windowY) const;
  std::optional<hosts::Point> overNameBox(int windowX, int windowY) const;
  void paintFrame(Picture& window) const;
  void redraw();
  void placeTextInput();
  void showCaret();

  NameDialogHost& host_;
  Picture originalFace_;
  Picture face_;
  NameBox box_;
  bool ended_ = false;
  std::intptr_t result_ = 0;
  bool dirty_ = true;
  bool caretOn_ = true;
  std::uint64_t caretToggleMs_ = 0;
  bool closeAfter_ = false;
};

}  // namespace tolvaro::sdl
