// The name box of the name-entry dialog: a one-line edit control holding GBK text, with a
// caret, horizontal scrolling, and the input method's composition shown at the caret.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Picture.h"
#include "base/Text.h"

namespace tolvaro::sdl {

class NameBox {
 public:
  static constexpr int kWidth = 148;
  static constexpr int kHeight = 24;
  // As a Windows edit control's default limit; the dialog keeps the whole text, the game
  // stores only its first 7 bytes.
  static constexpr std::size_t kMaxBytes = 32767;

  const std::string& text() const { return text_; }
  std::size_t caret() const { return caret_; }
  const std::string& composition() const { return composition_; }

  // Replaces the text; the caret goes to the start, as with SetWindowText on an edit control.
  void setText(std::string_view gbk);
  // Inserts whole GBK characters at the caret, as many as fit under kMaxBytes.
  void insert(std::string_view gbk);
  void backspace();
  void deleteForward();
  void moveLeft();
  void moveRight();
  void moveHome() { caret_ = 0; }
  void moveEnd() { caret_ = text_.size(); }
  // Puts the caret at the character boundary nearest to x (box pixels).
  void placeCaret(int x);
  void setComposition(std::string_view gbk) { composition_ = gbk; }

  // Draws the control (border, white field, text, composition, caret) with its top-left
  // at (x, y) of target, the text in the given glyphs.
  void draw(Picture& target, const GlyphSet& glyphs, int x, int y, bool caretShown) const;

 private:
  // Pixel offset of the caret from the start of the text, composition included.
  int caretPixels() const;
  void scrollToCaret() const;

  std::string text_;
  std::size_t caret_ = 0;
  std::string composition_;
  mutable int scroll_ = 0;
};

}  // namespace tolvaro::sdl
