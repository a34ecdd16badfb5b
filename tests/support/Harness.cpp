#include "support/Harness.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace tolvaro::testing {

fs::path generatedDir() {
  return TOLVARO_GENERATED_DIR;
}

namespace {

fs::path freshWorkDir() {
  static int counter = 0;
  const fs::path dir = fs::temp_directory_path() / ("tolvaro-test-" + std::to_string(::getpid()) +
                                                    "-" + std::to_string(++counter));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* name : {"03_16", "charImg", "mouse6.ani"}) {
    std::error_code error;
    fs::create_symlink(fs::absolute(generatedDir() / name), dir / name, error);
  }
  return dir;
}

}  // namespace

Harness::Harness() : host(generatedDir()), workDir(freshWorkDir()) {
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

void Harness::key(int code) {
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

fs::path Harness::screenshot(const std::string& name) const {
  const fs::path dir = TOLVARO_SCREENSHOT_DIR;
  fs::create_directories(dir);
  const fs::path file = dir / (name + ".png");
  savePng(g_backDC.view(), file);
  return file;
}

std::string Harness::readWorkFile(const std::string& name) const {
  std::ifstream in(workDir / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Harness::writeWorkFile(const std::string& name, const std::string& bytes) const {
  std::ofstream out(workDir / name, std::ios::binary);
  out << bytes;
}

}  // namespace tolvaro::testing
