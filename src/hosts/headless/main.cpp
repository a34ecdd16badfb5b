// A short scripted run of the game without a window: it walks the main menu and saves what the
// player would see as PNG pictures. Usage: tolvaro_headless_demo [generated-dir] [output-dir]
//
// With --screenshots it plays a short game instead and saves the pictures the software centres
// show: the main menu, a game in play and the records screen with the name just entered.
// Usage: tolvaro_headless_demo --screenshots generated-dir output-dir
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Autoplay.h"
#include "app/Program.h"
#include "hosts/headless/HeadlessHost.h"

#ifndef TOLVARO_GENERATED_DIR
#define TOLVARO_GENERATED_DIR "generated"
#endif

namespace fs = std::filesystem;
using namespace tolvaro;
using autoplay::Screen;

namespace {

void linkWorkingFiles(const fs::path& generated, const fs::path& workDir) {
  for (const char* name : {"03_16", "charImg", "mouse6.ani"}) {
    const fs::path target = workDir / name;
    std::error_code error;
    fs::remove_all(target, error);
    fs::copy(generated / name, target, fs::copy_options::recursive, error);
  }
}

// Presses the letter of a free bug on the board, or lets a frame go by.
void typeALetterOnTheBoard(HeadlessHost& host) {
  if (const auto key = autoplay::keyForAFreeBug()) host.pushKey(*key);
  runPass(nullptr);
}

int takeScreenshots(HeadlessHost& host) {
  auto save = [&](const char* name) {
    const fs::path file = std::string(name) + ".png";
    savePng(host.lastPresented, file);
    std::printf("%s\n", fs::absolute(file).string().c_str());
  };
  auto fail = [](const char* what) {
    std::fprintf(stderr, "the screenshots stopped: %s did not come\n", what);
    return 1;
  };
  if (!autoplay::runUntil(Screen::MainMenu)) return fail("the main menu");
  for (int i = 0; i < 60; ++i) runPass(nullptr);
  host.pushMove(800, 225);  // the pointer on 开始游戏 lights it
  runPass(nullptr);
  save("menu");
  host.pushLeftDown();
  if (!autoplay::runUntil(Screen::Lobby)) return fail("the lobby");
  runPass(nullptr);
  host.pushMove(800, 120);
  host.pushLeftDown();
  if (!autoplay::runUntil(Screen::LevelIntro)) return fail("the announcement");
  runPass(nullptr);
  host.pushKey(kKeyEnter);
  if (!autoplay::runUntil(Screen::Playing)) return fail("play");
  // A few catches and a second on the clock, then a picture with bugs falling and a shot on
  // its way.
  for (int i = 0; i < 420; ++i) {
    if (i % 100 == 99) host.pushTimer(0);
    typeALetterOnTheBoard(host);
  }
  for (int i = 0; i < 30; ++i) runPass(nullptr);
  typeALetterOnTheBoard(host);
  for (int i = 0; i < 4; ++i) runPass(nullptr);
  save("play");
  // Esc leaves the game; its score is a new record, so the name box comes and takes 小明.
  host.queueDialog({DialogStep::type("\xD0\xA1\xC3\xF7"),
                    DialogStep::send(DialogMessageType::Command, 2)});
  host.pushKey(kKeyEscape);
  if (!autoplay::runUntil(Screen::Records)) return fail("the records screen");
  for (int i = 0; i < 3; ++i) runPass(nullptr);
  save("records");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--screenshots") {
    const fs::path generated = fs::absolute(argv[2]);
    const fs::path out = argv[3];
    fs::create_directories(out);
    linkWorkingFiles(generated, out);
    fs::current_path(out);
    // Start from no records, so the game played here makes the first of them.
    for (const char* name : {"mg.tol", "lhb.lhb"}) fs::remove(name);
    HeadlessHost host(generated);
    if (!startUp(host)) return 1;
    return takeScreenshots(host);
  }
  const fs::path generated = argc > 1 ? fs::path(argv[1]) : fs::path(TOLVARO_GENERATED_DIR);
  const fs::path out = argc > 2 ? fs::path(argv[2]) : fs::path("tolvaro-demo");
  fs::create_directories(out);
  linkWorkingFiles(generated, out);
  // The program finds its working files and writes its records in the working directory.
  const fs::path resources = fs::absolute(generated);
  fs::current_path(out);

  HeadlessHost host(resources);
  if (!startUp(host)) {
    std::fprintf(stderr, "the window could not be opened\n");
    return 1;
  }
  int shots = 0;
  auto snapshot = [&](const std::string& name) {
    const fs::path file = std::to_string(++shots) + "-" + name + ".png";
    savePng(host.lastPresented, file);
    std::printf("  %s\n", fs::absolute(file).string().c_str());
  };
  auto passes = [&](int n) {
    for (int i = 0; i < n; ++i) runPass(nullptr);
  };

  std::printf("Tolvaro headless demo: pictures in %s\n", out.string().c_str());
  passes(60);
  snapshot("main-menu");
  host.pushMove(800, 220);
  passes(5);
  snapshot("main-menu-hover");
  host.pushKey(kKeyEscape);
  passes(40);
  snapshot("exit-box");
  host.pushMove(440, 400);
  host.pushLeftDown();
  int exitCode = 0;
  int guard = 0;
  while (runPass(&exitCode) && ++guard < 1000) {
  }
  snapshot("last-frame");
  std::printf("frames presented: %d, virtual time: %lld ms, exit code %d\n", host.presents,
              static_cast<long long>(host.virtualMs), exitCode);
  return 0;
}
