#include "game_screens.h"

#include "app/Program.h"
#include "frame/WorkingFiles.h"
#include "hosts/headless/HeadlessHost.h"
#include "state/GameState.h"
#include "state/RecordEntry.h"
#include "state/Session.h"

namespace fs = std::filesystem;

namespace tolvaro::assetcheck {
namespace {

// The slide-in frame and the slide-out frame that are kept: button 2 on its way in, button 1
// on its way out.
constexpr int kSlideInFrame = 14;
constexpr int kSlideOutFrame = 44;

void passes(int n) {
  for (int i = 0; i < n; ++i) runPass(nullptr);
}

// Runs passes until the state is reached (at most `guard` of them).
void passUntil(std::uint32_t state, int guard = 200) {
  for (int i = 0; i < guard && g_gameState != state; ++i) runPass(nullptr);
}

void fillRecords() {
  const char* names[kRecordRows] = {"Lily",    "\xD0\xA1\xC3\xF7", "someone",
                                    "ABCDEFG", "\xFD\x88\xBB\xA2", "Tom"};
  for (int row = 0; row < kRecordRows; ++row) {
    setName(g_records[row], names[row]);
    g_records[row].useTime = 100 + row * 37;
    g_records[row].score = 1100 - row * 150;
  }
}

}  // namespace

std::vector<GameScreen> composeGameScreens(const fs::path& generated, const fs::path& workDir) {
  std::error_code error;
  fs::remove_all(workDir, error);
  fs::create_directories(workDir);
  for (const char* name : {"03_16", "charImg", "mouse6.ani"})
    fs::create_symlink(fs::absolute(generated / name), workDir / name, error);
  g_workingDirectory = workDir;

  std::vector<GameScreen> screens;
  HeadlessHost host(fs::absolute(generated));
  if (!startUp(host)) return screens;
  auto keep = [&](int theme, const std::string& what) {
    const PixelView& view = host.lastPresented;
    GameScreen screen{"theme" + std::to_string(theme) + " " + what, view.width, view.height, {}};
    screen.pixels.assign(view.pixels,
                         view.pixels + static_cast<std::size_t>(view.width) * view.height);
    screens.push_back(std::move(screen));
  };
  auto press = [&](int x, int y) {
    host.pushMove(x, y);
    runPass(nullptr);
    host.pushLeftDown();
    runPass(nullptr);
  };

  passes(48);       // the main menu at rest
  press(800, 225);  // Start Game: this pass draws the first slide-in frame
  int slideInDrawn = 1;
  for (int theme = 0; theme < 3; ++theme) {
    passes(kSlideInFrame - slideInDrawn);
    keep(theme, "lobby slide-in");
    host.pushMove(800, 260);  // over button 3, lit in the idle lobby
    passUntil(STATE_PLAY);
    runPass(nullptr);
    keep(theme, "lobby idle");
    // The way a new record goes: the slide-out, then the records screen.
    fillRecords();
    g_newRecordSlot = 2;
    g_newRecordPending = 1;
    g_gameState = STATE_LOBBY_LEAVE;
    passes(kSlideOutFrame);
    keep(theme, "lobby slide-out");
    for (int i = 0; i < 50 && g_phase != PHASE_RECORDS; ++i) runPass(nullptr);
    runPass(nullptr);
    keep(theme, "records");
    press(420, 560);  // confirm: back into the lobby
    passUntil(STATE_PLAY);
    runPass(nullptr);
    press(800, 400);  // the other button: the next theme
    passUntil(STATE_LOBBY);
    slideInDrawn = 0;
  }
  g_workingDirectory.clear();
  fs::remove_all(workDir, error);
  return screens;
}

}  // namespace tolvaro::assetcheck
