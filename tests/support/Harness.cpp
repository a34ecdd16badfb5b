#include "support/Harness.h"

#include <unistd.h>

#include <fstream>

#include "base/Files.h"
#include "frame/WorkingFiles.h"

namespace fs = std::filesystem;

namespace tolvaro::testing {

fs::path generatedDir() {
  return TOLVARO_GENERATED_DIR;
}

namespace {

fs::path linkWorkingFiles(fs::path dir) {
  for (const char* name : {"03_16", "charImg", "mouse6.ani"}) {
    std::error_code error;
    fs::create_symlink(fs::absolute(generatedDir() / name), dir / name, error);
  }
  return dir;
}

fs::path freshWorkDir() {
  static int counter = 0;
  const fs::path dir = fs::temp_directory_path() / ("tolvaro-test-" + std::to_string(::getpid()) +
                                                    "-" + std::to_string(++counter));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return linkWorkingFiles(dir);
}

}  // namespace

Harness::Harness() : host(generatedDir()), workDir(freshWorkDir()) {
  g_workingDirectory = workDir;
}

Harness::Harness(fs::path folder) : host(generatedDir()), workDir(linkWorkingFiles(folder)) {
  g_workingDirectory = workDir;
}

Harness::~Harness() {
  std::error_code error;
  fs::remove_all(workDir, error);
  g_workingDirectory.clear();
  g_platform = nullptr;
}

bool Harness::start() {
  return startUp(host);
}

void Harness::passes(int n) {
  for (int i = 0; i < n; ++i) {
    int code = 0;
    if (!runPass(&code)) {
      ADD_FAILURE() << "the program quit with code " << code << " in pass " << i + 1 << " of " << n;
      return;
    }
  }
}

int Harness::runUntilQuit(int maxPasses) {
  for (int i = 0; i < maxPasses; ++i) {
    int code = 0;
    if (!runPass(&code)) return code;
  }
  return -1;
}

void Harness::key(std::uint32_t code) {
  host.pushKey(code);
  pass();
}

void Harness::move(int x, int y) {
  host.pushMove(x, y);
  pass();
}

void Harness::click() {
  host.pushLeftDown(0, 0);
  pass();
}

void Harness::tick(int timer) {
  host.pushTimer(timer);
  pass();
}

::testing::AssertionResult Harness::startAtRestingMenu() {
  if (!start()) return ::testing::AssertionFailure() << "start-up ended early";
  passes(48);
  return screenIs(Screen::MainMenu);
}

::testing::AssertionResult Harness::openLobby() {
  clickAt(800, 225);
  return screenIs(Screen::LobbyArriving);
}

::testing::AssertionResult Harness::openIdleLobby() {
  if (auto opened = openLobby(); !opened) return opened;
  passes(47);
  if (auto idle = screenIs(Screen::Lobby); !idle) return idle;
  pass();
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Harness::startPlaying() {
  if (auto menu = startAtRestingMenu(); !menu) return menu;
  if (auto lobby = openIdleLobby(); !lobby) return lobby;
  pressStart();
  if (auto intro = screenIs(Screen::LevelIntro); !intro) return intro;
  pass();
  key(kKeyEnter);
  return screenIs(Screen::Playing);
}

void Harness::playPass() {
  if (const auto letter = autoplay::keyForAFreeBug()) {
    key(*letter);
  } else {
    pass();
  }
}

::testing::AssertionResult Harness::playUntil(const std::function<bool()>& reached,
                                              int maxPasses) {
  for (int i = 0; i < maxPasses && !reached(); ++i) {
    if (autoplay::screen() == Screen::LevelIntro) {
      pass();  // the announcement shows before Enter takes it away
      key(kKeyEnter);
    } else if (++playedPasses_ % 100 == 0) {
      tick();
    } else {
      playPass();
    }
  }
  if (reached()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "still " << autoplay::screenName(autoplay::screen())
                                       << " at score " << score() << " after " << maxPasses
                                       << " passes";
}

::testing::AssertionResult Harness::playAndAbandon(const std::string& name,
                                                   std::function<void()> whileOpen) {
  if (auto playing = startPlaying(); !playing) return playing;
  if (auto scored = playUntil([] { return score() > 0; }); !scored) return scored;
  pass();  // the best score follows the score at the start of the next frame
  host.queueDialog({DialogStep::look(std::move(whileOpen)), DialogStep::type(name),
                    DialogStep::send(DialogMessageType::Command, 1)});
  key(kKeyEscape);
  return ::testing::AssertionSuccess();
}

int Harness::quitFromRecordsOrLobby() {
  if (autoplay::runUntil(Screen::Records, 200)) clickAt(420, 560);  // 确定
  if (!autoplay::runUntil(Screen::Lobby)) return -1;
  pass();
  key(kKeyEscape);
  if (!autoplay::runUntil(Screen::MainMenu)) return -1;
  return quitThroughExitBox();
}

int Harness::quitThroughExitBox() {
  passes(3);
  key(kKeyEscape);
  passes(3);
  clickAt(430, 400);
  return runUntilQuit(2000);
}

std::string Harness::readWorkFile(const std::string& name) const {
  const std::vector<std::uint8_t> bytes = readFile(workDir / name);
  return {bytes.begin(), bytes.end()};
}

void Harness::writeWorkFile(const std::string& name, const std::string& bytes) const {
  std::ofstream out(workDir / name, std::ios::binary);
  out << bytes;
}

bool Harness::workFileExists(const std::string& name) const {
  return fs::exists(workDir / name);
}

}  // namespace tolvaro::testing
