#include "hosts/headless/HeadlessHost.h"

#include <algorithm>

#include "base/Bmp.h"
#include "base/Files.h"

namespace tolvaro {
namespace {

constexpr int kDialogWidth = 320;
constexpr int kDialogHeight = 160;

class ScriptedDialog : public DialogWindow {
 public:
  explicit ScriptedDialog(Picture face) : face_(std::move(face)) {}

  std::string itemText(int controlId) override {
    return controlId == kNameEditControl ? text_ : std::string();
  }
  void setItemText(int controlId, std::string_view gbk) override {
    if (controlId == kNameEditControl) text_ = gbk;
  }
  // Row by row from the caller's pixels: the dialog redraws its buttons on every hover, and
  // that must not allocate.
  void drawPicture(PixelView picture, int x, int y) override {
    const int left = std::max(x, 0);
    const int right = std::min(x + picture.width, face_.width);
    if (left >= right) return;
    for (int row = std::max(y, 0); row < std::min(y + picture.height, face_.height); ++row) {
      const std::uint32_t* from =
          picture.pixels + static_cast<std::size_t>(row - y) * picture.width + (left - x);
      std::copy(from, from + (right - left),
                face_.pixels.begin() + static_cast<std::ptrdiff_t>(row) * face_.width + left);
    }
  }
  void end(std::intptr_t result) override {
    ended_ = true;
    result_ = result;
  }

  void type(const std::string& gbk) { text_ = gbk; }
  bool ended() const { return ended_; }
  std::intptr_t result() const { return result_; }
  const std::string& text() const { return text_; }
  Picture& face() { return face_; }

 private:
  Picture face_;
  std::string text_;
  bool ended_ = false;
  std::intptr_t result_ = 0;
};

}  // namespace

HeadlessHost::HeadlessHost(std::filesystem::path resourceDir)
    : resourceDir_(std::move(resourceDir)) {}

bool HeadlessHost::registerWindowClass(const std::string& file, int icon) {
  cursorFile = file;
  iconId = icon;
  return !failRegisterClass;
}

bool HeadlessHost::createMainWindow(const std::string& title, int width, int height) {
  if (failCreateWindow) return false;
  windowTitle = title;
  windowWidth = width;
  windowHeight = height;
  windowCreated = true;
  shownChanges_ = Picture(width, height);
  lastChanges.reserve(kMostChangedRects);
  return true;
}

bool HeadlessHost::nextEvent(Event& event) {
  if (quitCode_) {
    event = {EventType::Quit, static_cast<std::uint32_t>(*quitCode_), 0};
    quitCode_.reset();
    ++eventsTaken;
    return true;
  }
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  ++eventsTaken;
  return true;
}

void HeadlessHost::presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) {
  // Made as a window that is sent only the changes would be: the old picture, the rectangles
  // copied over it.
  if (shownChanges_.width != backBuffer.width || shownChanges_.height != backBuffer.height) {
    shownChanges_ = Picture(backBuffer.width, backBuffer.height);
  }
  lastChanges.clear();
  for (const PixelRect& rect : changed) {
    lastChanges.push_back(rect);
    const int left = std::max(rect.x, 0), right = std::min(rect.x + rect.w, backBuffer.width);
    for (int y = std::max(rect.y, 0); y < std::min(rect.y + rect.h, backBuffer.height); ++y) {
      if (left >= right) break;
      const std::uint32_t* from = backBuffer.pixels + static_cast<std::size_t>(y) * backBuffer.width;
      std::copy(from + left, from + right, shownChanges_.ptr(left, y));
    }
  }
  present(backBuffer);
}

void HeadlessHost::present(PixelView backBuffer) {
  ++presents;
  lastPresented = backBuffer;
  if (onPresent) onPresent(backBuffer);
}

std::filesystem::path HeadlessHost::resourcePath(ResourceType type, int id) const {
  const std::string number = std::to_string(id);
  switch (type) {
    case ResourceType::Bitmap:
      return resourceDir_ / "bitmap" / (number + ".bmp");
    case ResourceType::Wave:
      return resourceDir_ / "wave" / (number + ".wav");
    case ResourceType::Icon:
      return resourceDir_ / "icon" / (number + ".ico");
    case ResourceType::Glyphs:
      return resourceDir_ / "glyphs" / "gbk16.bin";
  }
  return {};
}

std::vector<std::uint8_t> HeadlessHost::loadResource(ResourceType type, int id) {
  resourceRequests.push_back({type, id});
  return readFile(resourcePath(type, id));
}

void HeadlessHost::playSound(int waveId, SoundMode mode) {
  sounds.push_back({waveId, mode});
  if (mode != SoundMode::Blocking) return;
  virtualMs += soundLengths_.lengthMs(
      waveId, [this](int id) { return readFile(resourcePath(ResourceType::Wave, id)); });
}

void HeadlessHost::setTimer(int timerId, int milliseconds) {
  timerCalls.push_back({true, timerId, milliseconds});
  timers_.set(timerId, milliseconds, static_cast<double>(virtualMs));
}

void HeadlessHost::killTimer(int timerId) {
  timerCalls.push_back({false, timerId, 0});
  timers_.kill(timerId);
}

void HeadlessHost::sleep(int milliseconds) {
  ++sleeps;
  virtualMs += milliseconds;
}

std::intptr_t HeadlessHost::runModalDialog(int templateId, int faceBitmapId,
                                           DialogProcedure procedure) {
  Picture face = decodeBitmap(readFile(resourcePath(ResourceType::Bitmap, faceBitmapId)));
  if (face.empty()) face = Picture(kDialogWidth, kDialogHeight, kWhite);
  ScriptedDialog dialog(std::move(face));
  std::vector<DialogStep> steps;
  if (!dialogScripts_.empty()) {
    steps = std::move(dialogScripts_.front());
    dialogScripts_.pop_front();
  }
  procedure(dialog, {DialogMessageType::Init, 0, 0});
  for (const DialogStep& step : steps) {
    if (dialog.ended()) break;
    if (step.typedText) dialog.type(*step.typedText);
    if (step.message) procedure(dialog, *step.message);
    if (step.whileOpen) step.whileOpen();
  }
  DialogRun run;
  run.templateId = templateId;
  run.faceBitmapId = faceBitmapId;
  run.endedByScript = dialog.ended();
  if (!dialog.ended()) {
    // A script that leaves the dialog open would hang a real player too; close it with Esc.
    procedure(dialog, {DialogMessageType::Command, kDialogCancel, 0});
  }
  run.finalText = dialog.text();
  run.result = dialog.result();
  run.face = std::move(dialog.face());
  dialogs.push_back(std::move(run));
  return dialogs.back().result;
}

}  // namespace tolvaro
