// A short scripted run of the game without a window: it walks the main menu and saves what the
// player would see as PNG pictures. Usage: tolvaro_headless_demo [generated-dir] [output-dir]
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Program.h"
#include "hosts/headless/HeadlessHost.h"

#ifndef TOLVARO_GENERATED_DIR
#define TOLVARO_GENERATED_DIR "generated"
#endif

namespace fs = std::filesystem;
using namespace tolvaro;

namespace {

void linkWorkingFiles(const fs::path& generated, const fs::path& workDir) {
  for (const char* name : {"03_16", "charImg", "mouse6.ani"}) {
    const fs::path target = workDir / name;
    std::error_code error;
    fs::remove_all(target, error);
    fs::copy(generated / name, target, fs::copy_options::recursive, error);
  }
}

}  // namespace

int main(int argc, char** argv) {
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
