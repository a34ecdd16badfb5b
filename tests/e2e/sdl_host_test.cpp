// The SDL host in-process on SDL's dummy video and audio drivers (set by CTest): events as the
// game sees them, the timer, presenting and scaling, sound timing with and without a device,
// and the name-entry dialog's window, box and messages.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "hosts/sdl/NameDialog.h"
#include "hosts/sdl/ResourcePack.h"
#include "hosts/sdl/SdlHost.h"
#include "platform/Platform.h"
#include "support/Bytes.h"

using namespace tolvaro;
using namespace tolvaro::sdl;
using namespace tolvaro::hosts;
using namespace tolvaro::testing;

namespace {

constexpr std::uint32_t kFaceColour = 0x00336699;
constexpr int kIcon = 141;  // not in the pack: the window has no icon
constexpr int kFaceBitmap = 242;
constexpr int kClickWave = 199;
constexpr int kMusicWave = 201;

const Bytes& testPack() {
  static const Bytes pack =
      encodePack({{ResourceType::Bitmap, kFaceBitmap,
                   makeBmp(320, std::vector(160, std::vector<std::uint32_t>(320, kFaceColour)))},
                  {ResourceType::Wave, kClickWave, makeWave(1, 22050, 8, 22050 * 3 / 10, false)},
                  {ResourceType::Wave, kMusicWave, makeWave(1, 22050, 8, 22050 * 2, false)}});
  return pack;
}

// No display is needed: SDL's dummy drivers unless the run names others (CTest runs the
// suite once more on the offscreen video driver).
const bool kDriversChosen =
    setenv("SDL_VIDEODRIVER", "dummy", 0) == 0 && setenv("SDL_AUDIODRIVER", "dummy", 0) == 0;

class SdlHostTest : public ::testing::Test {
 protected:
  std::unique_ptr<SdlHost> open(std::optional<Point> windowSize = Point{1024, 768}) {
    HostOptions options;
    options.windowSizeOverride = windowSize;
    auto host = std::make_unique<SdlHost>(ResourcePack(testPack()), options);
    EXPECT_TRUE(host->registerWindowClass("no-such-cursor.ani", kIcon));
    EXPECT_TRUE(host->createMainWindow("Tolvaro", 1024, 768));
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // the window's own start-up events
    return host;
  }

  static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
  static SDL_Event key(SDL_Keycode sym, SDL_Scancode scancode, bool repeat = false) {
    SDL_Event e{.type = SDL_KEYDOWN};
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = scancode;
    e.key.repeat = repeat;
    return e;
  }
  static SDL_Event motion(int x, int y) {
    SDL_Event e{.type = SDL_MOUSEMOTION};
    e.motion.x = x;
    e.motion.y = y;
    return e;
  }
  static SDL_Event press(Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event e{.type = SDL_MOUSEBUTTONDOWN};
    e.button.button = button;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
  }
  static SDL_Event text(const char* utf8) {
    SDL_Event e{.type = SDL_TEXTINPUT};
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    return e;
  }
  // All events the game receives, one per nextEvent call, until the queue is empty.
  static std::vector<Event> drain(SdlHost& host) {
    std::vector<Event> events;
    Event event;
    while (host.nextEvent(event)) events.push_back(event);
    return events;
  }

  // The 300 ms click played blocking holds the game that long, and no longer than a busy
  // machine makes it.
  static void expectTheClickHoldsItsLength(SdlHost& host) {
    const auto start = std::chrono::steady_clock::now();
    host.playSound(kClickWave, SoundMode::Blocking);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(5));
  }

  static std::uint32_t windowPixel(SdlHost& host, int x, int y) {
    std::uint32_t pixel = 0;
    SDL_Rect one{x, y, 1, 1};
    EXPECT_EQ(SDL_RenderReadPixels(host.renderer(), &one, SDL_PIXELFORMAT_RGB888, &pixel, 4), 0);
    return pixel & 0xFFFFFF;
  }
};

TEST_F(SdlHostTest, KeysReachTheGameOneEventAtATime) {
  auto host = open();
  push(key(SDLK_a, SDL_SCANCODE_A));
  push(key(SDLK_a, SDL_SCANCODE_A, true));  // auto-repeat is a press of its own
  push(key(SDLK_1, SDL_SCANCODE_1));        // not a key of the game
  push(key(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER));
  push(key(SDLK_RETURN, SDL_SCANCODE_RETURN));
  push(key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE));
  std::vector<std::uint32_t> keys;
  for (const Event& event : drain(*host)) {
    EXPECT_EQ(event.type, EventType::KeyDown);
    keys.push_back(static_cast<std::uint32_t>(event.wParam));
  }
  EXPECT_EQ(keys, (std::vector<std::uint32_t>{65, 65, 13, 13, 27}));
}

TEST_F(SdlHostTest, MouseInPictureCoordinatesOnAScaledWindow) {
  auto host = open(Point{1920, 1080});  // the picture at (240, 0), 1440 x 1080
  EXPECT_EQ(host->letterbox().picture(), (Rect{240, 0, 1440, 1080}));
  push(motion(240 + 1125, 300));  // window x 1365 = picture 825, y 300 = picture 213
  push(motion(100, 300));         // on the black bar: outside the game's window
  push(press(SDL_BUTTON_LEFT, 1365, 300, 1));
  push(press(SDL_BUTTON_LEFT, 1365, 300, 2));  // second press of a double click
  push(press(SDL_BUTTON_LEFT, 1365, 300, 3));
  push(press(SDL_BUTTON_RIGHT, 1365, 300, 1));
  // Presses on either bar, beside the picture's edge buttons, reach nothing.
  for (const int barX : {239, 1680}) {
    push(press(SDL_BUTTON_LEFT, barX, 300, 1));
    push(press(SDL_BUTTON_RIGHT, barX, 300, 1));
  }
  const std::vector<Event> events = drain(*host);
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].type, EventType::MouseMove);
  EXPECT_EQ(events[0].lParam, packPosition(800, 213));
  EXPECT_EQ(events[1].type, EventType::LeftButtonDown);
  EXPECT_EQ(events[2].type, EventType::LeftButtonDoubleClick);
  EXPECT_EQ(events[3].type, EventType::LeftButtonDown);
  EXPECT_EQ(events[4].type, EventType::RightButtonDown);
}

TEST_F(SdlHostTest, CloseRequestOnceThenQuitWithItsCode) {
  auto host = open();
  push({.type = SDL_QUIT});
  SDL_Event close{.type = SDL_WINDOWEVENT};
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = SDL_GetWindowID(host->window());
  push(close);
  std::vector<Event> events = drain(*host);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].type, EventType::CloseRequest);
  host->postQuit(0);
  push(key(SDLK_a, SDL_SCANCODE_A));
  Event event;
  ASSERT_TRUE(host->nextEvent(event));
  EXPECT_EQ(event.type, EventType::Quit);  // ahead of anything queued
  EXPECT_EQ(event.wParam, 0u);
}

TEST_F(SdlHostTest, TimerTicksAsEventsWithoutPilingUp) {
  auto host = open();
  host->setTimer(0, 100);
  Event event;
  EXPECT_FALSE(host->nextEvent(event));
  host->sleep(110);
  ASSERT_TRUE(host->nextEvent(event));
  EXPECT_EQ(event.type, EventType::Timer);
  EXPECT_EQ(event.wParam, 0u);
  EXPECT_FALSE(host->nextEvent(event));
  host->sleep(350);  // three ticks missed while busy: one event
  EXPECT_EQ(drain(*host).size(), 1u);
  host->killTimer(0);
  host->sleep(120);
  EXPECT_FALSE(host->nextEvent(event));
}

TEST_F(SdlHostTest, PresentShowsThePictureScaledAndCentredOnBlack) {
  auto host = open(Point{1280, 1024});  // 1280 x 960 at y 32
  std::vector<std::uint32_t> pixels(1024 * 768);
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) pixels[y * 1024 + x] = x < 512 ? 0x00FF0000 : 0x000000FF;
  }
  host->present({pixels.data(), 1024, 768});
  EXPECT_EQ(windowPixel(*host, 640, 10), 0u);          // bar above
  EXPECT_EQ(windowPixel(*host, 640, 1015), 0u);        // bar below
  EXPECT_EQ(windowPixel(*host, 100, 500), 0xFF0000u);  // left half
  EXPECT_EQ(windowPixel(*host, 1200, 500), 0x0000FFu);

  auto exact = open();
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  exact->present({pixels.data(), 1024, 768});
  std::vector<std::uint32_t> shown(1024 * 768);
  ASSERT_EQ(SDL_RenderReadPixels(exact->renderer(), nullptr, SDL_PIXELFORMAT_RGB888, shown.data(), 4096), 0);
  for (auto& p : shown) p &= 0xFFFFFF;
  EXPECT_TRUE(shown == pixels) << "a 1024 x 768 window shows the picture pixel for pixel";
}

TEST_F(SdlHostTest, BlockingSoundWaitsItsLengthAndKeepsInputQueued) {
  auto host = open();
  ASSERT_TRUE(host->audioOpen()) << "SDL_AUDIODRIVER=dummy plays";
  host->playSound(kMusicWave, SoundMode::Loop);
  EXPECT_EQ(Mix_Playing(-1), 1);
  push(key(SDLK_b, SDL_SCANCODE_B));
  expectTheClickHoldsItsLength(*host);
  // The click replaced the music; the mixer's last buffer may still be out, then silence.
  SDL_Delay(150);
  EXPECT_EQ(Mix_Playing(-1), 0) << "the music does not come back by itself";
  Event event;
  ASSERT_TRUE(host->nextEvent(event));
  EXPECT_EQ(event.wParam, 66u);
  host->playSound(kMusicWave, SoundMode::OneShot);
  EXPECT_EQ(Mix_Playing(-1), 1);
  host->playSound(0, SoundMode::Stop);
  EXPECT_EQ(Mix_Playing(-1), 0);
}

// No sound device from the start, or the device goes away while music plays: the host takes the
// next device there is, or goes on silent, and a blocking sound still holds the game its length.
TEST_F(SdlHostTest, WithoutAnAudioDeviceTheGameKeepsItsTimings) {
  const std::string saved = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
  enum Device { kNoneAtStart, kRemovedAnotherLeft, kRemovedNoneLeft };
  for (const Device device : {kNoneAtStart, kRemovedAnotherLeft, kRemovedNoneLeft}) {
    SCOPED_TRACE(device);
    if (device == kNoneAtStart) setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    auto host = open();
    EXPECT_EQ(host->audioOpen(), device != kNoneAtStart);
    host->playSound(kMusicWave, SoundMode::Loop);
    if (device != kNoneAtStart) {
      if (device == kRemovedNoneLeft) setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
      SDL_Event removed{.type = SDL_AUDIODEVICEREMOVED};
      removed.adevice.which = 2;
      push(removed);
      push(key(SDLK_c, SDL_SCANCODE_C));
      Event event;
      EXPECT_TRUE(host->nextEvent(event));
      EXPECT_EQ(event.wParam, 67u) << "input goes on after the removal";
      setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
      EXPECT_EQ(host->audioOpen(), device == kRemovedAnotherLeft);
      host->playSound(kMusicWave, SoundMode::Loop);
      if (device == kRemovedAnotherLeft) {
        EXPECT_EQ(Mix_Playing(-1), 1);  // a closed mixer cannot be asked
      }
    }
    expectTheClickHoldsItsLength(*host);
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  }
}

// The dialog procedure of these tests: records what it is sent, shows the hover picture on a
// move, and closes on IDOK / IDCANCEL with the box's text.
struct ProcedureLog {
  std::vector<DialogMessage> messages;
  std::string storedText;
  bool endOnCommand = true;
};
ProcedureLog g_log;

bool recordingProcedure(DialogWindow& dialog, const DialogMessage& message) {
  g_log.messages.push_back(message);
  if (message.type == DialogMessageType::MouseMove) {
    static const std::vector<std::uint32_t> red(93 * 29, 0x00FF0000);
    dialog.drawPicture({red.data(), 93, 29}, 63, 109);
  }
  if (message.type == DialogMessageType::RightButtonDown)
    dialog.setItemText(kNameEditControl, "x: 1");
  if (message.type == DialogMessageType::Command && g_log.endOnCommand &&
      (message.wParam == kDialogOk || message.wParam == kDialogCancel)) {
    g_log.storedText = dialog.itemText(kNameEditControl);
    dialog.end(static_cast<std::intptr_t>(message.wParam));
  }
  return message.type == DialogMessageType::Init;
}

TEST_F(SdlHostTest, NameDialogTypesChineseAndForwardsTheFaceMouse) {
  auto host = open();
  std::vector<std::uint32_t> frame(1024 * 768, 0x0000FF00);
  host->present({frame.data(), 1024, 768});
  g_log = {};
  // Client origin: (1024 - 330) / 2 + 5 = 352, (768 - 170) / 2 + 5 = 304.
  push(motion(352 + 100, 304 + 120));  // over the face
  push(motion(352 + 90, 304 + 80));    // over the name box: the box's, not the dialog's
  push(press(SDL_BUTTON_LEFT, 352 + 160, 304 + 130, 1));
  push(press(SDL_BUTTON_LEFT, 352 + 160, 304 + 130, 2));  // no double clicks in a dialog
  push(motion(10, 10));                                   // outside the dialog
  push(text("\xE5\xBC\xA0\xE4\xB8\x89"));                 // 张三 from the input method
  push(text("x"));
  push(key(SDLK_RETURN, SDL_SCANCODE_RETURN));
  const std::intptr_t result =
      host->runModalDialog(kNameDialogTemplate, kFaceBitmap, recordingProcedure);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(g_log.storedText, "\xD5\xC5\xC8\xFDx");
  using enum DialogMessageType;
  const std::vector<std::pair<DialogMessageType, std::uint32_t>> expected = {
      {Init, 0}, {MouseMove, packPosition(100, 120)}, {LeftButtonDown, packPosition(160, 130)},
      {LeftButtonDown, packPosition(160, 130)}, {Command, kDialogOk}};
  std::vector<std::pair<DialogMessageType, std::uint32_t>> seen;
  for (const DialogMessage& m : g_log.messages) {
    seen.emplace_back(m.type, m.type == Command ? m.wParam : m.lParam);
  }
  EXPECT_EQ(seen, expected);
  // What was last shown: the frozen frame around, the face, the hover picture, the box.
  EXPECT_EQ(windowPixel(*host, 100, 100), 0x00FF00u);
  EXPECT_EQ(windowPixel(*host, 352 + 10, 304 + 10), kFaceColour);
  EXPECT_EQ(windowPixel(*host, 352 + 63, 304 + 109), 0xFF0000u);
  EXPECT_EQ(windowPixel(*host, 352 + 84, 304 + 72), 0u);  // the box's border
  EXPECT_EQ(windowPixel(*host, 352 + 84 + 140, 304 + 72 + 12), 0xFFFFFFu);
}

TEST_F(SdlHostTest, NameDialogEscRightClickAndClose) {
  auto host = open();
  g_log = {};
  push(press(SDL_BUTTON_RIGHT, 352 + 100, 304 + 120));
  push(key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE));
  EXPECT_EQ(host->runModalDialog(kNameDialogTemplate, kFaceBitmap, recordingProcedure), 2);
  EXPECT_EQ(g_log.storedText, "x: 1");

  // Closing the window while the dialog is open stores the name, then closes the program.
  g_log = {};
  push(text("Amy"));
  push({.type = SDL_QUIT});
  EXPECT_EQ(host->runModalDialog(kNameDialogTemplate, kFaceBitmap, recordingProcedure), 2);
  EXPECT_EQ(g_log.storedText, "Amy");
  // SDL may end one poll early (its poll sentinel); the main loop asks again every pass.
  Event event;
  bool got = false;
  for (int pass = 0; pass < 3 && !got; ++pass) got = host->nextEvent(event);
  ASSERT_TRUE(got);
  EXPECT_EQ(event.type, EventType::CloseRequest);
}

}  // namespace
