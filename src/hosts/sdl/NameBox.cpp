#include "hosts/sdl/NameBox.h"

#include <algorithm>

namespace tolvaro::sdl {
namespace {

constexpr std::uint32_t kFrameColour = kBlack;
constexpr std::uint32_t kFieldColour = kWhite;
constexpr std::uint32_t kTextColourInBox = kBlack;
constexpr std::uint32_t kCompositionColour = rgb(0, 0, 160);
// Field inside the one-pixel border, and where the text starts in it.
constexpr int kFieldWidth = NameBox::kWidth - 2;
constexpr int kFieldHeight = NameBox::kHeight - 2;
constexpr int kTextLeft = 2;
constexpr int kTextTop = (kFieldHeight - GlyphSet::kCellHeight) / 2;

}  // namespace

void NameBox::setText(std::string_view gbk) {
  text_.clear();
  caret_ = 0;
  insert(gbk);
  caret_ = 0;
  scroll_ = 0;
}

void NameBox::insert(std::string_view gbk) {
  std::size_t take = 0;
  while (take < gbk.size()) {
    const std::size_t length = gbkCharLength(gbk, take);
    if (text_.size() + take + length > kMaxBytes) break;
    take += length;
  }
  text_.insert(caret_, gbk.substr(0, take));
  caret_ += take;
}

void NameBox::backspace() {
  if (caret_ == 0) return;
  const std::size_t start = gbkPreviousChar(text_, caret_);
  text_.erase(start, caret_ - start);
  caret_ = start;
}

void NameBox::deleteForward() {
  text_.erase(caret_, gbkCharLength(text_, caret_));
}

void NameBox::moveLeft() {
  caret_ = gbkPreviousChar(text_, caret_);
}

void NameBox::moveRight() {
  caret_ += gbkCharLength(text_, caret_);
}

void NameBox::placeCaret(int x) {
  const int target = x - 1 - kTextLeft + scroll_;
  std::size_t at = 0;
  int left = 0;
  while (at < text_.size()) {
    const std::size_t length = gbkCharLength(text_, at);
    const int width = GlyphSet::measure(std::string_view(text_).substr(at, length));
    if (target < left + width / 2) break;
    left += width;
    at += length;
  }
  caret_ = at;
}

int NameBox::caretPixels() const {
  return GlyphSet::measure(std::string_view(text_).substr(0, caret_)) +
         GlyphSet::measure(composition_);
}

void NameBox::scrollToCaret() const {
  const int visible = kFieldWidth - kTextLeft - 1;
  const int caretX = caretPixels();
  if (caretX < scroll_) scroll_ = caretX;
  if (caretX > scroll_ + visible) scroll_ = caretX - visible;
  scroll_ = std::max(scroll_, 0);
}

void NameBox::draw(Picture& target, const GlyphSet& glyphs, int x, int y, bool caretShown) const {
  scrollToCaret();
  fillRect(target, x, y, x + kWidth, y + kHeight, kFrameColour);
  Picture field(kFieldWidth, kFieldHeight, kFieldColour);
  const std::string_view before = std::string_view(text_).substr(0, caret_);
  const std::string_view after = std::string_view(text_).substr(caret_);
  int pen = kTextLeft - scroll_;
  pen += glyphs.draw(field, pen, kTextTop, before, kTextColourInBox);
  if (!composition_.empty()) {
    const int width = glyphs.draw(field, pen, kTextTop, composition_, kCompositionColour);
    const int underline = kTextTop + GlyphSet::kCellHeight;
    fillRect(field, pen, underline - 1, pen + width, underline, kCompositionColour);
    pen += width;
  }
  if (caretShown) fillRect(field, pen, kTextTop, pen + 1, kTextTop + GlyphSet::kCellHeight, kBlack);
  glyphs.draw(field, pen, kTextTop, after, kTextColourInBox);
  copyOpaque(target, field, x + 1, y + 1);
}

}  // namespace tolvaro::sdl
