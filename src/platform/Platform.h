// The one interface between the game and whatever runs it: a desktop window, Windows, or a
// test harness. The game core calls these and includes no host header.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaro {

// Pixels are 0x00RRGGBB, rows top to bottom, `width` pixels per row with no padding.
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

// A rectangle of pixels: x <= column < x + w, y <= row < y + h.
struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const PixelRect&) const = default;
};

// At most this many rectangles describe the changes of one present.
constexpr int kMostChangedRects = 64;

enum class EventType {
  Quit,            // wParam: exit code; ends the main loop
  KeyDown,         // wParam: virtual-key code (kKeyEnter, kKeyEscape, kKeyA..kKeyZ)
  MouseMove,       // lParam: x in the low 16 bits, y in the high 16 bits
  LeftButtonDown,  // wParam: button flags; lParam as for MouseMove (never used for hit tests)
  LeftButtonDoubleClick,
  RightButtonDown,
  Timer,         // wParam: timer number
  CloseRequest,  // the user closed the window from outside (window manager, Alt+F4)
  Paint,
  Other,
};

struct Event {
  EventType type = EventType::Other;
  std::uint32_t wParam = 0;
  std::uint32_t lParam = 0;
};

// The virtual-key codes of the keys the game knows.
constexpr std::uint32_t kKeyEnter = 13;
constexpr std::uint32_t kKeyEscape = 27;
constexpr std::uint32_t kKeyA = 'A';
constexpr std::uint32_t kKeyZ = 'Z';

// Button flags of a mouse event's wParam: the buttons held down.
constexpr std::uint32_t kLeftButtonFlag = 0x0001;
constexpr std::uint32_t kRightButtonFlag = 0x0002;

// A mouse position as a mouse event's lParam carries it.
constexpr std::uint32_t packPosition(int x, int y) {
  return (static_cast<std::uint32_t>(y) & 0xFFFFu) << 16 |
         (static_cast<std::uint32_t>(x) & 0xFFFFu);
}
constexpr std::int32_t positionX(std::uint32_t lParam) {
  return static_cast<std::int32_t>(lParam & 0xFFFFu);
}
constexpr std::int32_t positionY(std::uint32_t lParam) {
  return static_cast<std::int32_t>(lParam >> 16);
}

enum class SoundMode {
  Loop,      // starts at once and repeats until another sound replaces it
  OneShot,   // plays once in the background
  Blocking,  // plays once; the call returns when the sound has ended
  Stop,      // stops whatever plays (the identifier is ignored)
};

enum class ResourceType { Bitmap, Wave, Icon, Glyphs };

// Messages of the modal name-entry dialog, as its procedure sees them.
enum class DialogMessageType { Init, Command, MouseMove, LeftButtonDown, RightButtonDown, Other };

struct DialogMessage {
  DialogMessageType type = DialogMessageType::Other;
  std::uint32_t wParam = 0;
  std::uint32_t lParam = 0;
};

constexpr std::uint32_t kDialogOk = 1;
constexpr std::uint32_t kDialogCancel = 2;
constexpr int kNameEditControl = 1001;
constexpr int kNameDialogTemplate = 241;

// What the dialog procedure may do with the open dialog.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;
  // The whole text of a control, GBK bytes.
  virtual std::string itemText(int controlId) = 0;
  virtual void setItemText(int controlId, std::string_view gbk) = 0;
  // Opaque copy into the dialog's client area, (x, y) in dialog client pixels.
  virtual void drawPicture(PixelView picture, int x, int y) = 0;
  virtual void end(std::intptr_t result) = 0;
};

// Returns true only for Init, as a Windows dialog procedure does.
using DialogProcedure = bool (*)(DialogWindow&, const DialogMessage&);

class Platform {
 public:
  virtual ~Platform() = default;

  // Window class (the animated cursor file of the working directory, the program's icon
  // resource) and window. Either failing ends the program with exit code 0.
  virtual bool registerWindowClass(const std::string& cursorFile, int iconId) = 0;
  virtual bool createMainWindow(const std::string& title, int width, int height) = 0;

  // Takes at most one event off the queue; false when the queue is empty.
  virtual bool nextEvent(Event& event) = 0;
  // The quit event is delivered by a following nextEvent.
  virtual void postQuit(int exitCode) = 0;

  virtual void present(PixelView backBuffer) = 0;
  // As present, told where the picture differs from the one given to the previous call: every
  // changed pixel lies in `changed` (the first call covers the whole picture). A host that
  // sends only these must send the whole picture whenever its window's content is in doubt
  // (a resize, an expose, anything else it showed in between). This one sends it all.
  virtual void presentChanges(PixelView backBuffer, std::span<const PixelRect> changed) {
    (void)changed;
    present(backBuffer);
  }

  // The program's own resources; an empty vector when there is none.
  // Bitmaps come as a BMP file or as a bare DIB (info header first).
  virtual std::vector<std::uint8_t> loadResource(ResourceType type, int id) = 0;

  virtual void playSound(int waveId, SoundMode mode) = 0;

  virtual void setTimer(int timerId, int milliseconds) = 0;
  virtual void killTimer(int timerId) = 0;
  virtual void sleep(int milliseconds) = 0;
  // Seconds since the epoch; seeds the random generator once at start-up.
  virtual std::int64_t currentTime() = 0;

  // Runs the modal dialog of the template, whose face is the bitmap resource, until the
  // procedure ends it; no frame is drawn meanwhile.
  virtual std::intptr_t runModalDialog(int templateId, int faceBitmapId,
                                       DialogProcedure procedure) = 0;
};

}  // namespace tolvaro
