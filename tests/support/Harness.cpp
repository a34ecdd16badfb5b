#include "support/Harness.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "base/Files.h"

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

::testing::AssertionResult reached(std::uint32_t state, const char* screen) {
  if (g_gameState == state) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "state " << g_gameState << " instead of " << screen;
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

int Harness::quitThroughExitBox() {
  passes(3);
  key(kKeyEscape);
  passes(3);
  clickAt(430, 400);
  return runUntilQuit(2000);
}

::testing::AssertionResult Harness::startAtRestingMenu() {
  if (!start()) return ::testing::AssertionFailure() << "start-up ended early";
  passes(48);
  return reached(STATE_MAIN_MENU, "the menu");
}

::testing::AssertionResult Harness::openLobby() {
  clickAt(800, 225);
  return reached(STATE_LOBBY, "the lobby");
}

::testing::AssertionResult Harness::openIdleLobby() {
  if (auto opened = openLobby(); !opened) return opened;
  passes(47);
  if (auto idle = screenIs(STATE_PLAY, PHASE_PANEL); !idle) return idle;
  pass();
  return ::testing::AssertionSuccess();
}

fs::path Harness::screenshot(const std::string& name) const {
  const fs::path dir = TOLVARO_SCREENSHOT_DIR;
  fs::create_directories(dir);
  const fs::path file = dir / (name + ".png");
  savePng(g_backBuffer.view(), file);
  return file;
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
