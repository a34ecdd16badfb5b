#include "hosts/sdl/NameDialog.h"

#include <algorithm>

#include "base/Bmp.h"
#include "hosts/sdl/GbkText.h"

namespace tolvaro::sdl {

using hosts::Point;
using hosts::Rect;

namespace {

// The frame around the face is painted in the face's own pinks: a deep rim, a pale band and the
// face's border colour inside, instead of the grey raised edge of an old-style dialog.
constexpr std::uint32_t kFrameRim = rgb(196, 72, 132);
constexpr std::uint32_t kFrameBand = rgb(255, 214, 232);
constexpr std::uint32_t kFrameLight = rgb(255, 244, 249);
constexpr std::uint32_t kFrameInner = rgb(236, 120, 170);
constexpr std::uint32_t kFaceFill = rgb(255, 240, 246);
constexpr int kWaitSliceMs = 20;

bool inside(Rect r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

// One ring of a 3D edge: `topLeft` on the top and left, `bottomRight` on the others.
void ring(Picture& p, int inset, std::uint32_t topLeft, std::uint32_t bottomRight) {
  const int l = inset, t = inset, r = p.width - 1 - inset, b = p.height - 1 - inset;
  fillRect(p, l, t, r + 1, t + 1, topLeft);
  fillRect(p, l, t, l + 1, b + 1, topLeft);
  fillRect(p, l, b, r + 1, b + 1, bottomRight);
  fillRect(p, r, t, r + 1, b + 1, bottomRight);
}

}  // namespace

NameDialog::NameDialog(NameDialogHost& host, Picture face) : host_(host) {
  if (face.empty()) face = Picture(kClientWidth, kClientHeight, kWhite);
  // The face is drawn at its own size; the template's 160 x 80 units are 320 x 160 pixels.
  Picture client(kClientWidth, kClientHeight, kFaceFill);
  copyOpaque(client, face, 0, 0);
  originalFace_ = client;
  face_ = std::move(client);
}

Rect NameDialog::windowRect() const {
  const int w = kClientWidth + 2 * kFrame;
  const int h = kClientHeight + 2 * kFrame;
  const Point picture = host_.letterbox().pictureSize();
  return {(picture.x - w) / 2, (picture.y - h) / 2, w, h};
}

Rect NameDialog::clientRect() const {
  const Rect window = windowRect();
  return {window.x + kFrame, window.y + kFrame, kClientWidth, kClientHeight};
}

std::string NameDialog::itemText(int controlId) {
  return controlId == kNameEditControl ? box_.text() : std::string();
}

void NameDialog::setItemText(int controlId, std::string_view gbk) {
  if (controlId != kNameEditControl) return;
  box_.setText(gbk);
  dirty_ = true;
}

void NameDialog::drawPicture(PixelView picture, int x, int y) {
  if (!picture.pixels || picture.width <= 0 || picture.height <= 0) return;
  Picture source(picture.width, picture.height);
  source.pixels.assign(picture.pixels,
                       picture.pixels + static_cast<std::size_t>(picture.width) * picture.height);
  copyOpaque(face_, source, x, y);
  dirty_ = true;
}

void NameDialog::end(std::intptr_t result) {
  ended_ = true;
  result_ = result;
}

std::optional<Point> NameDialog::overFace(int windowX, int windowY) const {
  const std::optional<Point> at = host_.letterbox().toPicture(windowX, windowY);
  const Rect client = clientRect();
  if (!at || !inside(client, at->x, at->y)) return std::nullopt;
  const Point local{at->x - client.x, at->y - client.y};
  // The name box is a window of its own: the pointer over it is the box's, not the dialog's.
  if (inside(kNameBox, local.x, local.y)) return std::nullopt;
  return local;
}

std::optional<Point> NameDialog::overNameBox(int windowX, int windowY) const {
  const std::optional<Point> at = host_.letterbox().toPicture(windowX, windowY);
  const Rect client = clientRect();
  if (!at) return std::nullopt;
  const Point local{at->x - client.x - kNameBox.x, at->y - client.y - kNameBox.y};
  if (local.x < 0 || local.y < 0 || local.x >= kNameBox.w || local.y >= kNameBox.h) {
    return std::nullopt;
  }
  return local;
}

void NameDialog::showCaret() {
  caretOn_ = true;
  caretToggleMs_ = SDL_GetTicks64() + kCaretBlinkMs;
  dirty_ = true;
}

void NameDialog::placeTextInput() {
  const Rect client = clientRect();
  const Rect box = host_.letterbox().toWindow(
      {client.x + kNameBox.x, client.y + kNameBox.y, kNameBox.w, kNameBox.h});
  SDL_Rect rect{box.x, box.y, box.w, box.h};
  SDL_SetTextInputRect(&rect);
}

void NameDialog::paintFrame(Picture& window) const {
  fillRect(window, 0, 0, window.width, window.height, kFrameBand);
  ring(window, 0, kFrameRim, kFrameRim);
  ring(window, 1, kFrameLight, kFrameBand);
  ring(window, 4, kFrameInner, kFrameInner);
}

void NameDialog::redraw() {
  const Rect rect = windowRect();
  Picture window(rect.w, rect.h);
  paintFrame(window);
  copyOpaque(window, face_, kFrame, kFrame);
  box_.draw(window, host_.nameBoxGlyphs(), kFrame + kNameBox.x, kFrame + kNameBox.y, caretOn_);
  host_.showWithDialog(window.view(), rect);
  dirty_ = false;
}

std::intptr_t NameDialog::run(DialogProcedure procedure) {
  placeTextInput();
  SDL_StartTextInput();
  showCaret();
  procedure(*this, {DialogMessageType::Init, 0, 0});
  // A window that appears under a resting pointer gets a mouse move, as on Windows.
  int mouseX = 0, mouseY = 0;
  if (!ended_ && SDL_GetMouseFocus() == host_.window()) {
    SDL_GetMouseState(&mouseX, &mouseY);
    if (const std::optional<Point> at = overFace(mouseX, mouseY)) {
      procedure(*this, {DialogMessageType::MouseMove, 0, packPosition(at->x, at->y)});
    }
  }
  while (!ended_) {
    if (dirty_) redraw();
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, kWaitSliceMs)) handle(event, procedure);
    if (SDL_GetTicks64() >= caretToggleMs_) {
      caretOn_ = !caretOn_;
      caretToggleMs_ = SDL_GetTicks64() + kCaretBlinkMs;
      dirty_ = true;
    }
    host_.updateCursor();
  }
  SDL_StopTextInput();
  if (closeAfter_) host_.closeAfterDialog();
  return result_;
}

void NameDialog::handle(const SDL_Event& event, DialogProcedure procedure) {
  switch (event.type) {
    case SDL_QUIT:
      closeAfter_ = true;
      procedure(*this, {DialogMessageType::Command, kDialogCancel, 0});
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        closeAfter_ = true;
        procedure(*this, {DialogMessageType::Command, kDialogCancel, 0});
      } else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        host_.windowResized(event.window.data1, event.window.data2);
        placeTextInput();
        dirty_ = true;
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        // A repaint shows the face as the template has it: the hover pictures are gone.
        face_ = originalFace_;
        dirty_ = true;
      }
      break;
    case SDL_KEYDOWN: {
      if (!box_.composition().empty()) break;  // keys of a composition are the input method's
      const SDL_Keycode key = event.key.keysym.sym;
      const bool control = (event.key.keysym.mod & KMOD_CTRL) != 0;
      if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_RETURN2) {
        procedure(*this, {DialogMessageType::Command, kDialogOk, 0});
      } else if (key == SDLK_ESCAPE) {
        procedure(*this, {DialogMessageType::Command, kDialogCancel, 0});
      } else if (key == SDLK_BACKSPACE) {
        box_.backspace();
      } else if (key == SDLK_DELETE) {
        box_.deleteForward();
      } else if (key == SDLK_LEFT) {
        box_.moveLeft();
      } else if (key == SDLK_RIGHT) {
        box_.moveRight();
      } else if (key == SDLK_HOME) {
        box_.moveHome();
      } else if (key == SDLK_END) {
        box_.moveEnd();
      } else if (control && key == SDLK_v && SDL_HasClipboardText()) {
        if (char* text = SDL_GetClipboardText()) {
          box_.insert(utf8ToGbk(text));
          SDL_free(text);
        }
      } else {
        break;
      }
      showCaret();
      break;
    }
    case SDL_TEXTINPUT:
      box_.setComposition({});
      box_.insert(utf8ToGbk(event.text.text));
      showCaret();
      break;
    case SDL_TEXTEDITING:
      box_.setComposition(utf8ToGbk(event.edit.text));
      showCaret();
      break;
    case SDL_MOUSEMOTION:
      if (const std::optional<Point> at = overFace(event.motion.x, event.motion.y)) {
        std::uint32_t flags = 0;
        if (event.motion.state & SDL_BUTTON_LMASK) flags |= kLeftButtonFlag;
        if (event.motion.state & SDL_BUTTON_RMASK) flags |= kRightButtonFlag;
        procedure(*this, {DialogMessageType::MouseMove, flags, packPosition(at->x, at->y)});
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (const std::optional<Point> inBox = overNameBox(event.button.x, event.button.y)) {
        if (event.button.button == SDL_BUTTON_LEFT) {
          box_.placeCaret(inBox->x);
          showCaret();
        }
      } else if (const std::optional<Point> at = overFace(event.button.x, event.button.y)) {
        // The dialog's window class takes no double clicks: every press is a press.
        if (event.button.button == SDL_BUTTON_LEFT) {
          procedure(*this, {DialogMessageType::LeftButtonDown, kLeftButtonFlag,
                            packPosition(at->x, at->y)});
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
          procedure(*this, {DialogMessageType::RightButtonDown, kRightButtonFlag,
                            packPosition(at->x, at->y)});
        }
      }
      break;
    default:
      break;
  }
}

}  // namespace tolvaro::sdl
