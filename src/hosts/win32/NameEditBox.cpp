#include "hosts/win32/NameEditBox.h"

#include <imm.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Picture.h"
#include "hosts/shared/Scaler.h"
#include "hosts/win32/Win32Host.h"

namespace tolvaro {
namespace {

constexpr wchar_t kBoxProperty[] = L"TolvaroNameEditBox";
constexpr std::uint32_t kFrameColour = kBlack;
constexpr std::uint32_t kFieldColour = kWhite;
constexpr std::uint32_t kTextColour = kBlack;
constexpr int kTextLeft = 2;  // pixels between the field's left edge and the text
constexpr int kCaretWidth = 1;

std::uint32_t fromColorRef(COLORREF colour) {
  return rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// What the box shows: drawn again whenever any of it changes.
struct Shown {
  std::wstring text;
  std::size_t anchor = 0;
  std::size_t caret = 0;
  bool focused = false;
  int scroll = 0;
  bool operator==(const Shown&) const = default;
};

class NameEditBox {
 public:
  NameEditBox(HWND edit, const GlyphSet& glyphs, WNDPROC original, int scale, int per)
      : edit_(edit), glyphs_(glyphs), original_(original), scale_(scale), per_(per) {}

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT forward(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(original_, edit_, message, wParam, lParam);
  }
  // Reads the edit control's text and selection into state_.
  void readControl();
  // Left edge of every character of the text and its end, in pixels from the text's start.
  std::vector<int> offsets() const;
  // The character boundary nearest to x (client pixels).
  std::size_t indexAt(int x) const;
  void select(std::size_t anchor, std::size_t caret);
  void scrollToCaret(const std::vector<int>& offsets, int fieldWidth);
  int textTop() const;
  // After the control has handled a message: follow its text and selection, redraw if they
  // changed, and put the caret and the input method's windows where the glyphs put it.
  void follow();
  void placeCaret(const std::vector<int>& offsets);
  void placeInputMethodWindows(POINT caret);
  void paint(HDC dc);
  void paintFrame();
  // Between the glyphs' pixels and the window's.
  int shown(int drawn) const { return drawn * scale_ / per_; }
  int drawn(int shown) const { return shown * per_ / scale_; }
  // The client area in the glyphs' pixels.
  SIZE field() const;

  HWND edit_;
  const GlyphSet& glyphs_;
  WNDPROC original_;
  const int scale_;
  const int per_;
  std::vector<std::uint32_t> scaled_;
  Shown state_;
  Shown painted_;
  bool everPainted_ = false;
  int depth_ = 0;
};

void NameEditBox::readControl() {
  const auto length = static_cast<std::size_t>(forward(WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto copied = static_cast<std::size_t>(
      forward(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(copied, length));
  DWORD start = 0;
  DWORD end = 0;
  forward(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
  end = std::min<DWORD>(end, static_cast<DWORD>(text.size()));
  // The control reports its selection in order; the caret is at the end that moved.
  if (start == end) {
    state_.anchor = state_.caret = start;
  } else if (start == state_.anchor) {
    state_.caret = end;
  } else if (end == state_.anchor) {
    state_.caret = start;
  } else {
    state_.anchor = start;
    state_.caret = end;
  }
  state_.text = std::move(text);
  state_.focused = GetFocus() == edit_;
}

std::vector<int> NameEditBox::offsets() const {
  std::vector<int> result(state_.text.size() + 1, 0);
  for (std::size_t i = 0; i < state_.text.size(); ++i) {
    result[i + 1] =
        result[i] + GlyphSet::measure(gbkFromWide(std::wstring_view(state_.text).substr(i, 1)));
  }
  return result;
}

std::size_t NameEditBox::indexAt(int x) const {
  const std::vector<int> left = offsets();
  const int target = drawn(x) - kTextLeft + state_.scroll;
  std::size_t at = 0;
  while (at < state_.text.size() && target >= left[at] + (left[at + 1] - left[at]) / 2) ++at;
  return at;
}

void NameEditBox::select(std::size_t anchor, std::size_t caret) {
  // EM_SETSEL keeps the order given: the caret goes to the second position.
  forward(EM_SETSEL, anchor, static_cast<LPARAM>(caret));
  state_.anchor = anchor;
  state_.caret = caret;
}

SIZE NameEditBox::field() const {
  RECT client;
  GetClientRect(edit_, &client);
  return {drawn(client.right - client.left), drawn(client.bottom - client.top)};
}

int NameEditBox::textTop() const {
  return (field().cy - GlyphSet::kCellHeight) / 2;
}

void NameEditBox::scrollToCaret(const std::vector<int>& offsets, int fieldWidth) {
  const int visible = fieldWidth - kTextLeft - 1;
  const int caretX = offsets[state_.caret];
  if (caretX < state_.scroll) state_.scroll = caretX;
  if (caretX > state_.scroll + visible) state_.scroll = caretX - visible;
  state_.scroll = std::max(state_.scroll, 0);
}

void NameEditBox::follow() {
  readControl();
  const std::vector<int> left = offsets();
  scrollToCaret(left, field().cx);
  if (!everPainted_ || !(state_ == painted_)) {
    // The control may have drawn its own text already; the glyphs go over it at once.
    HDC dc = GetDC(edit_);
    if (state_.focused) HideCaret(edit_);
    paint(dc);
    if (state_.focused) ShowCaret(edit_);
    ReleaseDC(edit_, dc);
  }
  if (state_.focused) placeCaret(left);
}

void NameEditBox::placeCaret(const std::vector<int>& offsets) {
  const POINT caret{shown(kTextLeft - state_.scroll + offsets[state_.caret]), shown(textTop())};
  POINT now;
  if (!GetCaretPos(&now) || now.x != caret.x || now.y != caret.y) SetCaretPos(caret.x, caret.y);
  placeInputMethodWindows(caret);
}

void NameEditBox::placeInputMethodWindows(POINT caret) {
  HIMC context = ImmGetContext(edit_);
  if (!context) return;
  COMPOSITIONFORM composition{};
  if (!ImmGetCompositionWindow(context, &composition) || composition.dwStyle != CFS_POINT ||
      composition.ptCurrentPos.x != caret.x || composition.ptCurrentPos.y != caret.y) {
    composition = COMPOSITIONFORM{};
    composition.dwStyle = CFS_POINT;
    composition.ptCurrentPos = caret;
    ImmSetCompositionWindow(context, &composition);
  }
  // The candidate list opens just below the caret's line.
  const POINT below{caret.x, caret.y + shown(GlyphSet::kCellHeight)};
  CANDIDATEFORM candidates{};
  if (!ImmGetCandidateWindow(context, 0, &candidates) || candidates.dwStyle != CFS_CANDIDATEPOS ||
      candidates.ptCurrentPos.x != below.x || candidates.ptCurrentPos.y != below.y) {
    candidates = CANDIDATEFORM{};
    candidates.dwIndex = 0;
    candidates.dwStyle = CFS_CANDIDATEPOS;
    candidates.ptCurrentPos = below;
    ImmSetCandidateWindow(context, &candidates);
  }
  ImmReleaseContext(edit_, context);
}

void NameEditBox::paint(HDC dc) {
  RECT client;
  GetClientRect(edit_, &client);
  const int width = drawn(client.right - client.left);
  const int height = drawn(client.bottom - client.top);
  if (width <= 0 || height <= 0) return;
  Picture field(width, height, kFieldColour);
  const std::vector<int> left = offsets();
  const int top = textTop();
  const int origin = kTextLeft - state_.scroll;
  // An edit control shows its selection only while it has the focus.
  std::size_t from = std::min(state_.anchor, state_.caret);
  std::size_t to = std::max(state_.anchor, state_.caret);
  if (!state_.focused) from = to = state_.caret;
  const std::wstring_view text(state_.text);
  glyphs_.draw(field, origin, top, gbkFromWide(text.substr(0, from)), kTextColour);
  if (to > from) {
    fillRect(field, origin + left[from], top, origin + left[to], top + GlyphSet::kCellHeight,
             fromColorRef(GetSysColor(COLOR_HIGHLIGHT)));
    glyphs_.draw(field, origin + left[from], top, gbkFromWide(text.substr(from, to - from)),
                 fromColorRef(GetSysColor(COLOR_HIGHLIGHTTEXT)));
  }
  glyphs_.draw(field, origin + left[to], top, gbkFromWide(text.substr(to)), kTextColour);
  PixelView shownField = field.view();
  if (scale_ != per_) {
    const int shownWidth = client.right - client.left;
    const int shownHeight = client.bottom - client.top;
    scaled_.resize(static_cast<std::size_t>(shownWidth) * shownHeight);
    hosts::scaleInto(field.view(), scaled_.data(), shownWidth, shownHeight,
                     {0, 0, shownWidth, shownHeight});
    shownField = {scaled_.data(), shownWidth, shownHeight};
  }
  const BITMAPINFO info = topDownInfo(shownField.width, shownField.height);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(shownField.width),
                    static_cast<DWORD>(shownField.height), 0, 0, 0,
                    static_cast<UINT>(shownField.height), shownField.pixels, &info,
                    DIB_RGB_COLORS);
  painted_ = state_;
  everPainted_ = true;
}

// The frame is everything of the window outside its client area.
void NameEditBox::paintFrame() {
  RECT window;
  GetWindowRect(edit_, &window);
  POINT clientOrigin{0, 0};
  ClientToScreen(edit_, &clientOrigin);
  RECT client;
  GetClientRect(edit_, &client);
  OffsetRect(&client, clientOrigin.x - window.left, clientOrigin.y - window.top);
  OffsetRect(&window, -window.left, -window.top);
  HDC dc = GetWindowDC(edit_);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  HBRUSH frame = CreateSolidBrush(
      RGB((kFrameColour >> 16) & 0xFF, (kFrameColour >> 8) & 0xFF, kFrameColour & 0xFF));
  FillRect(dc, &window, frame);
  DeleteObject(frame);
  ReleaseDC(edit_, dc);
}

LRESULT NameEditBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // Messages the control sends itself while handling one are its own business.
  if (depth_ > 0) return forward(message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole field
    case WM_NCPAINT:
      paintFrame();
      return 0;
    case WM_PAINT: {
      ++depth_;
      readControl();
      --depth_;
      PAINTSTRUCT paintInfo;
      HDC dc = BeginPaint(edit_, &paintInfo);
      paint(dc);
      EndPaint(edit_, &paintInfo);
      return 0;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case EM_GETSEL:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETDLGCODE:
    case WM_DESTROY:
      return forward(message, wParam, lParam);
    default:
      break;
  }

  ++depth_;
  if (message == WM_LBUTTONDBLCLK) {
    // The control picks the word under the position in its own font: give it the position of
    // the character under the glyphs.
    readControl();
    if (!state_.text.empty()) {
      const std::size_t at =
          std::min(indexAt(static_cast<short>(LOWORD(lParam))), state_.text.size() - 1);
      const LRESULT position = forward(EM_POSFROMCHAR, at, 0);
      if (position != -1) lParam = MAKELPARAM(LOWORD(position), HIWORD(lParam));
    }
  }
  const LRESULT result = forward(message, wParam, lParam);
  if (message == WM_SETFOCUS) {
    // The control made a caret of its font's height; the glyphs' caret replaces it.
    CreateCaret(edit_, nullptr, std::max(shown(kCaretWidth), 1), shown(GlyphSet::kCellHeight));
    ShowCaret(edit_);
  } else if (message == WM_LBUTTONDOWN) {
    // Where the press lands is a matter of the glyphs' widths, not the control's font.
    readControl();
    const std::size_t at = indexAt(static_cast<short>(LOWORD(lParam)));
    select((wParam & MK_SHIFT) ? state_.anchor : at, at);
  } else if (message == WM_MOUSEMOVE && (wParam & MK_LBUTTON) && GetCapture() == edit_) {
    readControl();
    select(state_.anchor, indexAt(static_cast<short>(LOWORD(lParam))));
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(edit_, kBoxProperty);
    SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    delete this;
    return result;
  }
  follow();
  --depth_;
  return result;
}

LRESULT CALLBACK boxProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = static_cast<NameEditBox*>(GetPropW(edit, kBoxProperty));
  if (!box) return DefWindowProcW(edit, message, wParam, lParam);
  return box->handle(message, wParam, lParam);
}

}  // namespace

void attachNameEditBox(HWND edit, const GlyphSet& glyphs, int scale, int per) {
  if (!edit || GetPropW(edit, kBoxProperty) || scale <= 0 || per <= 0) return;
  // A one-pixel frame of the box's own, whatever border the dialog gave the control.
  SetWindowLongPtrW(edit, GWL_EXSTYLE, GetWindowLongPtrW(edit, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) | WS_BORDER);
  const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
  auto* box = new NameEditBox(edit, glyphs, original, scale, per);
  SetPropW(edit, kBoxProperty, box);
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&boxProcedure));
  SetWindowPos(edit, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  InvalidateRect(edit, nullptr, FALSE);
}

}  // namespace tolvaro
